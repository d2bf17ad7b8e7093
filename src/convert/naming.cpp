#include "convert/naming.h"

#include "platform/clock.h"

#include <algorithm>

namespace {

QString twoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

// Pads to five characters but never cuts a longer number.
QString fiveDigits(int32_t value) { return QString::number(value).rightJustified(5, QLatin1Char('0')); }

QString titleCase(const QString& text) {
  if (text.isEmpty()) return text;
  return text.left(1).toUpper() + text.mid(1).toLower();
}

// The input file's name without folder and extension.
QString inputName(const QString& path) {
  const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  QString name = path.mid(slash + 1);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0) name.truncate(dot);
  return name;
}

std::tm localTime(const ConversionJob& job) { return job.clock ? job.clock() : platform::localTimeNow(); }

// Value of one token (lower case) for the current file.
QString tokenValue(int index, const ConversionJob& job) {
  switch (index) {
    case 0: return inputName(job.inputPath);
    case 1: return inputName(job.inputPath).toUpper();
    case 2: return inputName(job.inputPath).toLower();
    case 3: return titleCase(inputName(job.inputPath));
    case 4: return job.outputExtension;
    case 5: return job.outputExtension.toUpper();
    case 6: return titleCase(job.outputExtension);
    case 7: return QStringLiteral("%1").arg(localTime(job).tm_year + 1900, 4, 10, QLatin1Char('0'));
    case 8: return twoDigits(localTime(job).tm_mon + 1);
    case 9: return twoDigits(localTime(job).tm_mday);
    case 10: return twoDigits(localTime(job).tm_hour);
    case 11: return twoDigits(localTime(job).tm_min);
    case 12: return twoDigits(localTime(job).tm_sec);
    case 13: return QString::number(job.outputBpp);
    case 14: return QString::number(job.resultWidth);
    case 15: return QString::number(job.resultHeight);
    case 16: return fiveDigits(job.randomValue);
    case 17: return fiveDigits(job.counter);
    default: return {};
  }
}

}  // namespace

const QStringList& maskTokens() {
  static const QStringList tokens{
      QStringLiteral("%filename%"), QStringLiteral("%filename[u]%"), QStringLiteral("%filename[l]%"),
      QStringLiteral("%filename[t]%"), QStringLiteral("%ext%"), QStringLiteral("%ext[u]%"),
      QStringLiteral("%ext[t]%"), QStringLiteral("%yyyy%"), QStringLiteral("%mm%"),
      QStringLiteral("%dd%"), QStringLiteral("%hh%"), QStringLiteral("%ii%"),
      QStringLiteral("%ss%"), QStringLiteral("%bpp%"), QStringLiteral("%width%"),
      QStringLiteral("%height%"), QStringLiteral("%rnd%"), QStringLiteral("%n%"),
  };
  return tokens;
}

QString expandToken(const QString& text, const QString& token, const ConversionJob& job) {
  const qsizetype index = maskTokens().indexOf(token.toLower());
  if (index < 0) return text;
  QString result = text;
  // The value is read once, so every occurrence gets the same date.
  return result.replace(token, tokenValue(static_cast<int>(index), job), Qt::CaseInsensitive);
}

QString expandTokens(const QString& text, const ConversionJob& job) {
  QString result = text;
  for (const QString& token : maskTokens()) {
    if (result.contains(token, Qt::CaseInsensitive)) result = expandToken(result, token, job);
  }
  return result;
}

QString expandMask(const Settings& settings, const ConversionJob& job) {
  QString mask = settings.advanced.filenameMask.toLower();
  if (mask.isEmpty()) mask = QStringLiteral("%filename%.%ext%");
  QString path = job.outputFolder;
  if (settings.advanced.keepSubfolders != 0) path += job.relativeSubfolder;
  return path + expandTokens(mask, job);
}
