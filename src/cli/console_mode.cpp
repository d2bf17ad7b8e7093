#include "cli/console_mode.h"

#include "cli/options.h"
#include "cli/usage.h"
#include "convert/format_tables.h"
#include "i18n/product.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "settings/defaults.h"

namespace {

ConsoleOutcome finished(int exitStatus) { return {ConsoleOutcomeKind::Finished, exitStatus, QString()}; }

// The console's title would be the title with version; a plain terminal has no title to set.

void pauseIfAsked(const ConsoleState& state) {
  if (!state.pause) return;
  platform::printLine(QStringLiteral("Press any key to exit."));
  platform::waitForKey();
}

QString scanErrorText(ScanError error) {
  switch (error) {
    case ScanError::IncorrectParameterCount:
      return QStringLiteral("Incorrect number of parameters");
    case ScanError::InvalidProfile:
      return QStringLiteral("Invalid profile file");
    case ScanError::None:
      break;
  }
  return QString();
}

ConsoleOutcome refuseSecondInstance(const ConsoleState& state) {
  platform::printLine(QStringLiteral("Error: Another instance is running"));
  pauseIfAsked(state);
  return finished(kExitFailure);
}

}  // namespace

QStringList bannerLines() {
  return {product::fullTitle(), QString::fromLatin1(product::kNotice),
          QString::fromLatin1(product::kHomepage), QStringLiteral(" ")};
}

ConsoleOutcome runConsoleMode(const QStringList& parameters, const ConsoleEnvironment& environment,
                              ConsoleRecords& r) {
  if (parameters.isEmpty()) return {};

  buildFormatTables();
  resetConversionState(r.job, r.queue);
  applyDefaults(r.settings, true, DefaultsEnvironment{0, 0, static_cast<int32_t>(platform::localNow())});
  r.strings.load(QString());

  // The switches that count only as the first parameter.
  const OptionSpec* first = findOption(optionName(parameters, 0), true);
  if (first != nullptr && isFirstParameterSwitch(*first)) {
    if (environment.anotherInstanceRunning) return refuseSecondInstance(r.state);
    switch (first->role) {
      case OptionRole::Uninstall:
        return {ConsoleOutcomeKind::UninstallFeedback, kExitSuccess, QString()};
      case OptionRole::Screenshot:
        r.job.consoleOutputMode = QStringLiteral("T");
        return {ConsoleOutcomeKind::Screenshot, kExitSuccess, optionValue(parameters, 1)};
      case OptionRole::Version:
        platform::printLine(product::versionText(product::kVersion));
        return finished(kExitSuccess);
      default:
        for (const QString& line : usageLines(environment.programName)) platform::printLine(line);
        return finished(kExitSuccess);
    }
  }

  scanParameters(parameters, r.settings, r.job, r.state);
  const bool wantsConsole = r.state.error != ScanError::None || r.job.consoleMode != 0;
  if (wantsConsole && environment.anotherInstanceRunning) return refuseSecondInstance(r.state);

  if (r.state.error != ScanError::None) {
    platform::printLine(QStringLiteral("Error: ") + scanErrorText(r.state.error));
    pauseIfAsked(r.state);
    return finished(kExitUsage);
  }
  if (r.job.consoleMode == 0) return {};

  if (!r.state.quiet) {
    for (const QString& line : bannerLines()) platform::printLine(line);
  }
  const bool converted = consoleRun(r);
  pauseIfAsked(r.state);
  return finished(converted ? kExitSuccess : kExitFailure);
}
