#include "cli/parameters.h"

#include "cli/options.h"
#include "cli/profile.h"

namespace {

QString parameter(const QStringList& parameters, int position) {
  if (position < 0 || position >= parameters.size()) return QString();
  return trimSpaces(parameters[position]);
}

// A value that the shell split at its blanks while keeping its quotes ("\"two", "words\"") is
// joined again with single spaces, up to the parameter that closes the quote.
QString rejoinQuoted(const QStringList& parameters, int& position, QString value) {
  if (!value.startsWith(QLatin1Char('"')) || value.endsWith(QLatin1Char('"'))) return value;
  while (position + 1 < parameters.size()) {
    ++position;
    value += QLatin1Char(' ') + optionValue(parameters, position);
    if (value.endsWith(QLatin1Char('"'))) break;
  }
  return value;
}

// Reads the value of an option at `position`, advancing `position` past what it consumed.
// Empty result and an error in `state` when the value is missing.
bool takeValue(const QStringList& parameters, int& position, const OptionSpec& option, const QString& name,
               QString* value) {
  const bool mainOption = option.role == OptionRole::Input || option.role == OptionRole::Output ||
                          option.role == OptionRole::Conversion;
  if (mainOption && !name.startsWith(QLatin1String("--"))) ++position;
  QString text = optionValue(parameters, position);
  // The three main options refuse any value that looks like an option; the others accept a
  // single "-" so that negative numbers pass.
  const QLatin1String refused(mainOption ? "-" : "--");
  if (text.isEmpty() || text.startsWith(refused)) return false;
  if (option.kind == ValueKind::Text) {
    if (option.rejoinQuotes) text = rejoinQuoted(parameters, position, text);
    text = withoutSurroundingQuotes(text);
  }
  *value = text;
  return true;
}

}  // namespace

QString optionName(const QStringList& parameters, int position) {
  const QString text = parameter(parameters, position);
  if (text.startsWith(QLatin1String("--"))) {
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    return (equals < 0 ? text : text.left(equals)).toUpper();
  }
  if (text.startsWith(QLatin1Char('-'))) return text.toUpper();
  return QString();
}

QString optionValue(const QStringList& parameters, int position) {
  const QString text = parameter(parameters, position);
  if (text.startsWith(QLatin1String("--"))) {
    const qsizetype equals = text.indexOf(QLatin1Char('='), 2);
    if (equals >= 0) return text.mid(equals + 1);
  }
  return text;
}

void scanParameters(const QStringList& parameters, Settings& settings, ConversionJob& job,
                    ConsoleState& state) {
  for (int position = 0; position < parameters.size(); ++position) {
    const QString name = optionName(parameters, position);
    const OptionSpec* option = name.isEmpty() ? nullptr : findOption(name, false);
    if (option == nullptr) continue;

    if (option->role == OptionRole::Input) job.consoleMode = 1;  // before the value is examined

    QString value;
    if (option->kind != ValueKind::None && !takeValue(parameters, position, *option, name, &value)) {
      state.error = ScanError::IncorrectParameterCount;
      return;
    }

    switch (option->role) {
      case OptionRole::Setting:
        applySettingOption(*option, value, settings);
        break;
      case OptionRole::Input:
        state.inputPath = value;
        break;
      case OptionRole::Output:
        job.outputFolder = value;
        break;
      case OptionRole::Conversion:
        job.outputExtension = value;
        break;
      case OptionRole::Profile:
        if (!loadProfile(value, settings)) {
          state.error = ScanError::InvalidProfile;
          return;
        }
        break;
      case OptionRole::Debug:
        job.consoleOutputMode = QStringLiteral("DEBUG");
        break;
      case OptionRole::Quiet:
        state.quiet = true;
        break;
      case OptionRole::Pause:
        state.pause = true;
        break;
      case OptionRole::Help:
      case OptionRole::Version:
      case OptionRole::Uninstall:
      case OptionRole::Screenshot:
        break;
    }
  }
}
