// Fuzzes the theme.cfg lookup with any text, section and key.
#include "fuzz_support.h"

#include "themes/theme_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // theme.cfg bytes \0 section \0 key (section and key default to names the program uses)
  const QByteArray bytes = fuzz::bytesOf(data, size);
  const QList<QString> fields = fuzz::splitFields(bytes, 3);
  const qsizetype zero = bytes.indexOf('\0');
  const QString text = themes::decodeThemeText(bytes);
  FUZZ_CHECK(text.size() == (zero < 0 ? bytes.size() : zero));

  const QString sections[] = {fields[1], QStringLiteral("Theme"), QStringLiteral("Icons")};
  const QString keys[] = {fields[2], QStringLiteral("Name"), QStringLiteral("New")};
  for (const QString& section : sections) {
    for (const QString& key : keys) {
      const QString value = themes::readThemeValue(text, section, key);
      FUZZ_CHECK(value.size() <= text.size());
      // Line feeds are trimmed last, and a value lies within one CR LF-terminated line.
      FUZZ_CHECK(!value.startsWith(QLatin1Char('\n')) && !value.endsWith(QLatin1Char('\n')));
      FUZZ_CHECK(!value.contains(QStringLiteral("\r\n")));
    }
  }
  return 0;
}
