// Process entry: the instance lock, the console hand-off, then the graphical start.
#include "app/graphical_mode.h"
#include "app/startup.h"
#include "cli/console_mode.h"
#include "cli/usage.h"
#include "convert/batch.h"
#include "convert/conversion_job.h"
#include "i18n/string_table.h"
#include "platform/instance_lock.h"
#include "settings/settings.h"
#include "themes/image_sets.h"
#include "themes/themes.h"

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
  themes::ImageSets images;
  themes::ThemeRegistry themeRegistry;

  platform::InstanceLock lock;
  const bool firstInstance = lock.acquire(instanceLockName());

  ConsoleRecords records{settings, job, queue, consoleState, strings};
  GraphicalRecords graphical{settings, job, queue, strings, images, themeRegistry};
  const ConsoleOutcome outcome = runConsoleMode(
      parameters, ConsoleEnvironment{programNameFrom(argc > 0 ? argv[0] : nullptr), !firstInstance}, records);
  switch (outcome.kind) {
    case ConsoleOutcomeKind::Finished:
      return outcome.exitStatus;
    case ConsoleOutcomeKind::UninstallFeedback:
      return runUninstallFeedback(argc, argv, strings);
    case ConsoleOutcomeKind::Screenshot:
      return runScreenshotMode(argc, argv, graphical, outcome.screenshotTarget);
    case ConsoleOutcomeKind::Graphical:
      break;
  }

  // A second graphical start ends silently.
  if (!firstInstance) return 0;
  settings.configPath = configFilePath(resolveSettingsFolder());
  return runGraphicalMode(argc, argv, graphical, fileToOpen(parameters));
}
