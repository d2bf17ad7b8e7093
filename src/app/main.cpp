// Process entry: the instance lock, the console hand-off, then the graphical start.
#include "app/startup.h"
#include "cli/console_mode.h"
#include "cli/usage.h"
#include "convert/batch.h"
#include "convert/conversion_job.h"
#include "i18n/string_table.h"
#include "platform/instance_lock.h"
#include "settings/settings.h"

#include <QStringList>

int main(int argc, char** argv) {
  QStringList parameters;
  for (int i = 1; i < argc; ++i) parameters.append(QString::fromLocal8Bit(argv[i]));

  // The process-wide records, owned here and handed to whoever needs them.
  Settings settings;
  ConversionJob job;
  FileQueue queue;
  ConsoleState consoleState;
  StringTable strings;

  platform::InstanceLock lock;
  const bool firstInstance = lock.acquire(instanceLockName());

  ConsoleRecords records{settings, job, queue, consoleState, strings};
  const ConsoleOutcome outcome = runConsoleMode(
      parameters, ConsoleEnvironment{programNameFrom(argc > 0 ? argv[0] : nullptr), !firstInstance}, records);
  switch (outcome.kind) {
    case ConsoleOutcomeKind::Finished:
      return outcome.exitStatus;
    case ConsoleOutcomeKind::UninstallFeedback:
    case ConsoleOutcomeKind::Screenshot:
      // Their windows are not part of this build yet.
      return 0;
    case ConsoleOutcomeKind::Graphical:
      break;
  }

  // A second graphical start ends silently.
  if (!firstInstance) return 0;
  settings.configPath = configFilePath(resolveSettingsFolder());
  // The main window is not part of this build yet.
  return 0;
}
