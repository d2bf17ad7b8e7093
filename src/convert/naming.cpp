#include "convert/naming.h"

#include "platform/clock.h"

#include <algorithm>
#include <iterator>

namespace {

QString twoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

// Pads to five characters but never cuts a longer number.
QString fiveDigits(int32_t value) { return QString::number(value).rightJustified(5, QLatin1Char('0')); }

QString titleCase(const QString& text) { return text.left(1).toUpper() + text.mid(1).toLower(); }

// The input file's name without folder and extension.
QString inputName(const ConversionJob& job) {
  const QString& path = job.inputPath;
  const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  QString name = path.mid(slash + 1);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0) name.truncate(dot);
  return name;
}

std::tm localTime(const ConversionJob& job) { return job.clock ? job.clock() : platform::localTimeNow(); }

struct Token {
  const char* text;
  QString (*value)(const ConversionJob& job);
};

// The tokens in their order of expansion.
const Token kTokens[] = {
    {"%filename%", [](const ConversionJob& job) { return inputName(job); }},
    {"%filename[u]%", [](const ConversionJob& job) { return inputName(job).toUpper(); }},
    {"%filename[l]%", [](const ConversionJob& job) { return inputName(job).toLower(); }},
    {"%filename[t]%", [](const ConversionJob& job) { return titleCase(inputName(job)); }},
    {"%ext%", [](const ConversionJob& job) { return job.outputExtension; }},
    {"%ext[u]%", [](const ConversionJob& job) { return job.outputExtension.toUpper(); }},
    {"%ext[t]%", [](const ConversionJob& job) { return titleCase(job.outputExtension); }},
    {"%yyyy%",
     [](const ConversionJob& job) {
       return QStringLiteral("%1").arg(localTime(job).tm_year + 1900, 4, 10, QLatin1Char('0'));
     }},
    {"%mm%", [](const ConversionJob& job) { return twoDigits(localTime(job).tm_mon + 1); }},
    {"%dd%", [](const ConversionJob& job) { return twoDigits(localTime(job).tm_mday); }},
    {"%hh%", [](const ConversionJob& job) { return twoDigits(localTime(job).tm_hour); }},
    {"%ii%", [](const ConversionJob& job) { return twoDigits(localTime(job).tm_min); }},
    {"%ss%", [](const ConversionJob& job) { return twoDigits(localTime(job).tm_sec); }},
    {"%bpp%", [](const ConversionJob& job) { return QString::number(job.outputBpp); }},
    {"%width%", [](const ConversionJob& job) { return QString::number(job.resultWidth); }},
    {"%height%", [](const ConversionJob& job) { return QString::number(job.resultHeight); }},
    {"%rnd%", [](const ConversionJob& job) { return fiveDigits(job.randomValue); }},
    {"%n%", [](const ConversionJob& job) { return fiveDigits(job.counter); }},
};

}  // namespace

const QStringList& maskTokens() {
  static const QStringList tokens = [] {
    QStringList list;
    for (const Token& token : kTokens) list << QString::fromLatin1(token.text);
    return list;
  }();
  return tokens;
}

QString expandToken(const QString& text, const QString& token, const ConversionJob& job) {
  const qsizetype index = maskTokens().indexOf(token.toLower());
  if (index < 0) return text;
  // The value is read once, so every occurrence gets the same date.
  QString result = text;
  return result.replace(token, kTokens[index].value(job), Qt::CaseInsensitive);
}

QString expandTokens(const QString& text, const ConversionJob& job) {
  QString result = text;
  for (qsizetype index = 0; index < maskTokens().size(); ++index) {
    const QString& token = maskTokens()[index];
    const qsizetype occurrences = result.count(token, Qt::CaseInsensitive);
    if (occurrences == 0) continue;
    // The value is read once, so every occurrence gets the same date.
    const QString value = kTokens[index].value(job);
    // A value may bring in further tokens (an input name made of tokens), so each step can
    // multiply the length; stop before the text outgrows any usable name or watermark.
    const qsizetype growth = value.size() - token.size();
    if (growth > 0 && occurrences > (kMaxExpandedLength - result.size()) / growth) break;
    result.replace(token, value, Qt::CaseInsensitive);
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
