#include "cli/usage.h"

#include "cli/options.h"
#include "i18n/string_table.h"
#include "settings/format_lists.h"

#include <QFileInfo>
#include <QRandomGenerator>

namespace {

constexpr qsizetype kDescriptionColumn = 28;
const QString kBlank = QStringLiteral(" ");

// "  -i FILE, --input=FILE" padded to the description column, then the description.
QString optionLine(const char* name) {
  const OptionSpec* option = findOption(QString::fromLatin1(name), true);
  if (option == nullptr) return QString();
  const QString hint = QString::fromLatin1(option->valueHint);
  QStringList forms;
  for (const char* candidate : option->names) {
    if (candidate == nullptr) continue;
    const QString form = QString::fromLatin1(candidate).toLower();
    if (hint.isEmpty())
      forms.append(form);
    else
      forms.append(form + (form.startsWith(QLatin1String("--")) ? QLatin1Char('=') : QLatin1Char(' ')) +
                   hint);
  }
  const QString left = QStringLiteral("  ") + forms.join(QStringLiteral(", "));
  return left.leftJustified(kDescriptionColumn - 1) + QLatin1Char(' ') +
         QString::fromLatin1(option->description);
}

QString example(const QString& pattern, const QString& programName) {
  const QStringList& formats = inputFormatList();
  const QString format = formats.value(static_cast<qsizetype>(
      QRandomGenerator::global()->bounded(static_cast<quint32>(std::max<qsizetype>(formats.size(), 1)))));
  return fillPlaceholders(pattern, programName, format, QString(), QString());
}

}  // namespace

QStringList usageLines(const QString& programName) {
  QStringList lines;
  lines << kBlank
        << fillPlaceholders(QStringLiteral("Usage: %s1% -i <filename> [options]"), programName, QString(),
                            QString(), QString());
  lines << kBlank;
  lines << example(QStringLiteral("  %s1% -i example.%s2%"), programName);
  lines << example(QStringLiteral("  %s1% -i /tmp/example.%s2%"), programName);
  lines << example(QStringLiteral("  %s1% -i /tmp/example.%s2% -o /tmp/converted"), programName);
  lines << example(QStringLiteral("  %s1% -i /tmp/example.%s2% -o /tmp/converted --jpg-quality=95"),
                   programName);

  lines << kBlank << QStringLiteral("Options:") << kBlank;
  for (const char* name : {"-H", "-I", "-O", "-C"}) lines << optionLine(name);

  lines << kBlank << QStringLiteral("Advanced options:") << kBlank;
  for (const char* name : {"--WIDTH", "--HEIGHT", "--FILENAME-MASK", "--FLIP-HORIZONTAL", "--FLIP-VERTICAL",
                           "--BRIGHTNESS", "--CONTRAST", "--GAMMA", "--INVERT", "--GREYSCALE", "--PROFILE"})
    lines << optionLine(name);
  lines << QStringLiteral("    ...").leftJustified(kDescriptionColumn) +
               QStringLiteral("Refer documentation for all available options");

  lines << kBlank << QStringLiteral("Other options:") << kBlank;
  for (const char* name : {"-Q", "-D", "-P", "-V"}) lines << optionLine(name);
  return lines;
}

QString programNameFrom(const char* argument0) {
  const QString name =
      argument0 == nullptr ? QString() : QFileInfo(QString::fromLocal8Bit(argument0)).fileName();
  return name.isEmpty() ? QStringLiteral("quillet") : name;
}
