#include "app/graphical_mode.h"

#include "i18n/string_table.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "settings/config_file.h"
#include "ui/dialog_service.h"
#include "ui/gui_context.h"
#include "ui/main_window.h"
#include "ui/screenshot.h"
#include "ui/shell.h"
#include "ui/uninstall_feedback.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>

namespace {

DefaultsEnvironment currentEnvironment() {
  DefaultsEnvironment env;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    env.desktopWidth = screen->geometry().width();
    env.desktopHeight = screen->geometry().height();
  }
  env.now = static_cast<int32_t>(platform::localNow());
  return env;
}

}  // namespace

void loadInterfaceImages(GraphicalRecords& records, const QString& programFolder) {
  themes::loadBuiltInImages(records.images);
  const QString gfx = themes::gfxFolder(programFolder);
  themes::scanThemes(gfx, records.themeRegistry);
  themes::loadTheme(records.settings, records.themeRegistry, gfx, records.images, true, true, true);
}

void recordWindowState(const MainWindow& window, Settings& settings) {
  if (window.isMaximized()) {
    settings.window.isMaximized = 1;
    return;
  }
  if (window.isMinimized()) return;
  settings.window.isMaximized = 0;
  settings.window.width = window.innerWidth();
  settings.window.height = window.innerHeight();
  settings.window.x = window.x();
  settings.window.y = window.y();
}

void finishGraphicalMode(const MainWindow& window, Settings& settings) {
  recordWindowState(window, settings);
  if (settings.advanced.outFoldersHistory == 0) settings.file.recentOutFolders.clear();
  // A configuration that cannot be written is left as it was; there is no one to tell at exit.
  saveConfig(settings);
}

int runGraphicalSession(GraphicalRecords& records, DialogService& dialogs, ShellOpener& shell) {
  loadConfig(records.settings, currentEnvironment());
  records.strings.load(QString());
  records.job.programFolder = platform::programFolder();
  loadInterfaceImages(records, records.job.programFolder);

  GuiContext context(records.settings, records.job, records.queue, records.strings, records.images,
                     records.themeRegistry, dialogs, shell);
  MainWindow window(context);
  startMainWindow(window);

  QEventLoop loop;
  QObject::connect(&window, &MainWindow::quitRequested, &loop, &QEventLoop::quit);
  loop.exec();

  finishGraphicalMode(window, records.settings);
  return 0;
}

int runGraphicalMode(int& argc, char** argv, GraphicalRecords& records) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QtDialogService dialogs;
  DesktopShell shell;
  return runGraphicalSession(records, dialogs, shell);
}

int runScreenshotMode(int& argc, char** argv, GraphicalRecords& records, const QString& folder) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QtDialogService dialogs;
  DesktopShell shell;
  records.job.programFolder = platform::programFolder();
  loadInterfaceImages(records, records.job.programFolder);
  GuiContext context(records.settings, records.job, records.queue, records.strings, records.images,
                     records.themeRegistry, dialogs, shell);
  screenshotMode(context, folder);
  return 0;
}

int runUninstallFeedback(int& argc, char** argv, const StringTable& strings) {
  QApplication app(argc, argv);
  DesktopShell shell;
  showUninstallFeedback(strings, shell);
  return 0;
}
