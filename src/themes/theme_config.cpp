#include "themes/theme_config.h"

namespace themes {

namespace {
const QString kLineBreak = QStringLiteral("\r\n");

// Removes every leading and trailing `c`, and nothing else.
QString trimChar(const QString& text, QChar c) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text[first] == c) ++first;
  while (last > first && text[last - 1] == c) --last;
  return text.mid(first, last - first);
}
}  // namespace

QString decodeThemeText(const QByteArray& bytes) {
  const qsizetype zero = bytes.indexOf('\0');
  return QString::fromLatin1(zero < 0 ? bytes : bytes.left(zero));
}

QString readThemeValue(const QString& text, const QString& section, const QString& key) {
  const qsizetype header =
      text.indexOf(QLatin1Char('[') + section + QLatin1Char(']'), 0, Qt::CaseInsensitive);
  if (header < 0) return {};
  qsizetype sectionEnd = text.indexOf(QLatin1Char('['), header + 1);
  if (sectionEnd < 0) sectionEnd = text.size();

  const qsizetype found = text.indexOf(kLineBreak + key, header, Qt::CaseInsensitive);
  if (found <= header || found >= sectionEnd) return {};
  const qsizetype lineStart = found + kLineBreak.size();
  const qsizetype lineEnd = text.indexOf(kLineBreak, lineStart);
  if (lineEnd < 0) return {};
  const QString line = text.mid(lineStart, lineEnd - lineStart);

  const qsizetype firstEquals = line.indexOf(QLatin1Char('='));
  if (firstEquals < 0) return {};
  qsizetype secondEquals = line.indexOf(QLatin1Char('='), firstEquals + 1);
  if (secondEquals < 0) secondEquals = line.size();
  QString value = line.mid(firstEquals + 1, secondEquals - firstEquals - 1);
  for (QChar c : {QChar(' '), QChar('\t'), QChar('\r'), QChar('\n')}) value = trimChar(value, c);
  return value;
}

}  // namespace themes
