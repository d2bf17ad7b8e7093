#include "app/graphical_mode.h"

#include "i18n/product.h"
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
#include <QIcon>
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

// Ties the windows to the desktop entry "quillet.desktop" (task bars group them under its name
// and icon) and gives them the program's icon.
void prepareApplication() {
  QGuiApplication::setDesktopFileName(QLatin1String(product::kShortName));
  QApplication::setWindowIcon(programIcon());
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

int runGraphicalSession(GraphicalRecords& records, DialogService& dialogs, ShellOpener& shell,
                        const QString& fileToOpen) {
  loadConfig(records.settings, currentEnvironment());
  records.strings.load(QString());
  records.job.programFolder = platform::programFolder();
  loadInterfaceImages(records, records.job.programFolder);

  GuiContext context(records.settings, records.job, records.queue, records.strings, records.images,
                     records.themeRegistry, dialogs, shell);
  MainWindow window(context);
  startMainWindow(window);
  if (!fileToOpen.isEmpty()) window.dropFiles({fileToOpen});

  QEventLoop loop;
  QObject::connect(&window, &MainWindow::quitRequested, &loop, &QEventLoop::quit);
  loop.exec();

  finishGraphicalMode(window, records.settings);
  return 0;
}

QIcon programIcon() {
  // A static library's resources are registered by hand; Q_INIT_RESOURCE must not stand in a
  // namespace.
  Q_INIT_RESOURCE(quillet_app);
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/app/quillet_%1.png").arg(size), QSize(size, size));
  return icon;
}

int runGraphicalMode(int& argc, char** argv, GraphicalRecords& records, const QString& fileToOpen) {
  QApplication app(argc, argv);
  prepareApplication();
  QApplication::setQuitOnLastWindowClosed(false);
  QtDialogService dialogs;
  DesktopShell shell;
  return runGraphicalSession(records, dialogs, shell, fileToOpen);
}

int runScreenshotMode(int& argc, char** argv, GraphicalRecords& records, const QString& folder) {
  QApplication app(argc, argv);
  prepareApplication();
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
  prepareApplication();
  DesktopShell shell;
  showUninstallFeedback(strings, shell);
  return 0;
}
