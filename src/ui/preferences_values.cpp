#include "ui/preferences_values.h"

#include "i18n/string_table.h"

#include <algorithm>
#include <cmath>

namespace {

struct NamedColour {
  uint32_t rgb;
  const char* key;
};

constexpr NamedColour kNamedColours[] = {
    {0x000000, "Black"},  {0xC0C0C0, "Silver"}, {0x808080, "Gray"},   {0xFFFFFF, "White"},
    {0x800000, "Maroon"}, {0xFF0000, "Red"},    {0x800080, "Purple"}, {0xFF00FF, "Fuchsia"},
    {0x008000, "Green"},  {0x00FF00, "Lime"},   {0x808000, "Olive"},  {0xFFFF00, "Yellow"},
    {0x000080, "Navy"},   {0x0000FF, "Blue"},   {0x008080, "Teal"},   {0x00FFFF, "Aqua"},
    {0xFF8000, "Orange"}, {0x804000, "Brown"},  {0x8000FF, "Violet"},
};

}  // namespace

QString colourHex(Colour colour) {
  const uint32_t rgb = (uint32_t{colour.red} << 16) | (uint32_t{colour.green} << 8) | colour.blue;
  return QStringLiteral("%1").arg(rgb, 6, 16, QLatin1Char('0')).toUpper();
}

bool sameColour(Colour a, Colour b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

QString colourName(Colour colour, const StringTable& strings) {
  const uint32_t rgb = (uint32_t{colour.red} << 16) | (uint32_t{colour.green} << 8) | colour.blue;
  for (const NamedColour& named : kNamedColours) {
    if (named.rgb == rgb) return strings.text(QStringLiteral("Preferences"), QString::fromLatin1(named.key));
  }
  return strings.text(QStringLiteral("Preferences"), QStringLiteral("Color")) + QStringLiteral(" #") +
         colourHex(colour);
}

QStringList listEntries(const QString& list) {
  QStringList entries = list.split(QLatin1Char(','));
  for (QString& entry : entries) {
    // Only blanks count as surrounding spaces here, as in the stored lists.
    qsizetype first = 0;
    qsizetype last = entry.size();
    while (first < last && entry[first] == QLatin1Char(' ')) ++first;
    while (last > first && entry[last - 1] == QLatin1Char(' ')) --last;
    entry = entry.mid(first, last - first);
  }
  return entries;
}

QString cleanFreeText(const QString& text) {
  QString cleaned = text.trimmed();
  cleaned.remove(QLatin1Char('\t'));
  cleaned.remove(QLatin1Char('\r'));
  cleaned.remove(QLatin1Char('\n'));
  return cleaned;
}

int gammaPosition(double gamma) {
  if (std::isnan(gamma)) return 100;
  const double scaled = std::clamp(std::round(gamma * 100.0), 1.0, 999.0);
  return static_cast<int>(scaled);
}

QString gammaText(int position) { return QString::number(position / 100.0, 'f', 2); }
