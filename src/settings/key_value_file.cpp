#include "settings/key_value_file.h"

#include <QFile>
#include <QSaveFile>

#include <locale.h>
#include <stdlib.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// A line break inside a written name or value would split its line and let the rest be read
// as further lines; each CR and LF becomes a space instead.
QString singleLine(const QString& text) {
  QString line = text;
  for (QChar& c : line) {
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
  }
  return line;
}

QStringView trimLeadingBlanks(QStringView text) {
  qsizetype i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  return text.mid(i);
}

QStringView trimTrailingBlanks(QStringView text) {
  qsizetype n = text.size();
  while (n > 0 && isBlank(text[n - 1])) --n;
  return text.left(n);
}

QString decode(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
  return QString::fromLatin1(bytes);
}

}  // namespace

bool equalsIgnoringAsciiCase(QStringView a, QStringView b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    char16_t x = a[i].unicode(), y = b[i].unicode();
    if (x >= 'A' && x <= 'Z') x = static_cast<char16_t>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char16_t>(y + 32);
    if (x != y) return false;
  }
  return true;
}

int32_t parseDecimalInt(QStringView text) {
  QStringView rest = trimLeadingBlanks(text);
  bool negative = false;
  if (!rest.isEmpty() && (rest[0] == QLatin1Char('+') || rest[0] == QLatin1Char('-'))) {
    negative = rest[0] == QLatin1Char('-');
    rest = rest.mid(1);
  }
  // Like strtol with a 64-bit long: the magnitude clamps at the 64-bit range, then the low
  // 32 bits are kept.
  const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  uint64_t magnitude = 0;
  for (QChar c : rest) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
    const auto digit = static_cast<uint64_t>(c.unicode() - '0');
    magnitude = magnitude > (limit - digit) / 10 ? limit : magnitude * 10 + digit;
  }
  const uint64_t value = negative ? ~magnitude + 1 : magnitude;
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

float parseDecimalFloat(QStringView text) {
  const QStringView rest = trimLeadingBlanks(text);
  if (rest.startsWith(QLatin1String("+Infinity"), Qt::CaseInsensitive))
    return std::numeric_limits<float>::infinity();
  if (rest.startsWith(QLatin1String("-Infinity"), Qt::CaseInsensitive))
    return -std::numeric_limits<float>::infinity();
  if (rest.startsWith(QLatin1String("NaN"), Qt::CaseInsensitive))
    return std::numeric_limits<float>::quiet_NaN();
  // Only ASCII can form a number; anything else ends it. Parsed in the "C" locale so that the
  // user's locale never changes the decimal point.
  std::string ascii;
  for (QChar c : rest) {
    if (c.unicode() == 0 || c.unicode() >= 128) break;
    ascii.push_back(static_cast<char>(c.unicode()));
  }
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
  return strtof_l(ascii.c_str(), nullptr, cLocale);
}

QString formatFloat(float value) {
  if (std::isnan(value)) return QStringLiteral("NaN");
  if (std::isinf(value)) return value > 0 ? QStringLiteral("+Infinity") : QStringLiteral("-Infinity");
  return QString::number(static_cast<double>(value), 'f', 6);
}

bool KeyValueReader::open(const QString& path) {
  QFile file(path);
  if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) return false;
  // Read in small pieces until the end or past the limit: a device without an end (/dev/zero)
  // or a giant file is refused instead of filling the memory; pipes deliver in pieces.
  QByteArray bytes;
  char piece[64 * 1024];
  for (;;) {
    const qint64 got = file.read(piece, sizeof piece);
    if (got < 0) return false;
    if (got == 0) break;
    bytes.append(piece, static_cast<qsizetype>(got));
    if (bytes.size() > kMaxKeyValueFileBytes) return false;
  }
  openBytes(bytes);
  return true;
}

void KeyValueReader::openBytes(const QByteArray& bytes) {
  lines_.clear();
  group_ = -1;
  const QString text = decode(bytes);
  qsizetype start = 0;
  while (start <= text.size()) {
    qsizetype end = start;
    while (end < text.size() && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n')) ++end;
    const QStringView line = trimLeadingBlanks(QStringView(text).mid(start, end - start));
    start = end + 1;
    if (line.isEmpty() || line[0] == QLatin1Char(';')) continue;
    Line parsed;
    if (line[0] == QLatin1Char('[')) {
      const qsizetype close = line.indexOf(QLatin1Char(']'));
      parsed.isGroup = true;
      parsed.name = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).toString();
    } else {
      const qsizetype equals = line.indexOf(QLatin1Char('='));
      parsed.name = trimTrailingBlanks(equals < 0 ? line : line.left(equals)).toString();
      if (equals >= 0) parsed.value = trimLeadingBlanks(line.mid(equals + 1)).toString();
    }
    lines_.append(std::move(parsed));
  }
}

void KeyValueReader::selectGroup(const QString& name) {
  group_ = -1;
  for (qsizetype i = 0; i < lines_.size(); ++i) {
    if (lines_[i].isGroup && equalsIgnoringAsciiCase(lines_[i].name, name)) {
      group_ = i;
      return;
    }
  }
}

const KeyValueReader::Line* KeyValueReader::find(const QString& key) const {
  if (group_ < 0) return nullptr;
  for (qsizetype i = group_ + 1; i < lines_.size() && !lines_[i].isGroup; ++i) {
    if (equalsIgnoringAsciiCase(lines_[i].name, key)) return &lines_[i];
  }
  return nullptr;
}

bool KeyValueReader::has(const QString& key) const { return find(key) != nullptr; }

QString KeyValueReader::readText(const QString& key, const QString& fallback) const {
  const Line* line = find(key);
  return line == nullptr ? fallback : line->value;
}

int32_t KeyValueReader::readInt(const QString& key, int32_t fallback) const {
  const Line* line = find(key);
  return line == nullptr ? fallback : parseDecimalInt(line->value);
}

float KeyValueReader::readFloat(const QString& key, float fallback) const {
  const Line* line = find(key);
  return line == nullptr ? fallback : parseDecimalFloat(line->value);
}

QList<KeyValueReader::Entry> KeyValueReader::entries() const {
  QList<Entry> result;
  if (group_ < 0) return result;
  for (qsizetype i = group_ + 1; i < lines_.size() && !lines_[i].isGroup; ++i)
    result.append({lines_[i].name, lines_[i].value});
  return result;
}

void KeyValueReader::close() {
  lines_.clear();
  group_ = -1;
}

void KeyValueWriter::beginGroup(const QString& name) {
  text_ += QLatin1Char('[') + singleLine(name) + QStringLiteral("]\r\n");
}

void KeyValueWriter::writeText(const QString& key, const QString& value) {
  text_ += singleLine(key) + QStringLiteral(" = ") + singleLine(value) + QStringLiteral("\r\n");
}

void KeyValueWriter::writeInt(const QString& key, int64_t value) { writeText(key, QString::number(value)); }

void KeyValueWriter::writeFloat(const QString& key, float value) { writeText(key, formatFloat(value)); }

void KeyValueWriter::writeComment(const QString& text) {
  text_ += QStringLiteral("; ") + singleLine(text) + QStringLiteral("\r\n");
}

QByteArray KeyValueWriter::bytes() const { return QByteArray("\xEF\xBB\xBF\r\n") + text_.toUtf8(); }

bool KeyValueWriter::save(const QString& path) const {
  if (path.isEmpty()) return false;
  QSaveFile file(path);
  // Unbuffered, so that a short write (a full disk) shows in the count here; a buffered flush
  // would drop the unwritten rest and still commit a truncated file.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
  const QByteArray data = bytes();
  if (file.write(data) != data.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}
