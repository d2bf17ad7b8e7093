// The graphical mode: configuration, texts and images, the main window and its loop, and the
// saving of the window state and settings at the end. Also the windows of the "-T" and "-U"
// switches, which need the same application object.
#pragma once

#include "convert/batch.h"
#include "convert/conversion_job.h"
#include "settings/settings.h"
#include "themes/image_sets.h"
#include "themes/themes.h"

#include <QString>

class DialogService;
class QIcon;
class MainWindow;
class QWidget;
class ShellOpener;
class StringTable;

// The process-wide records that start-up owns and the graphical mode works on.
struct GraphicalRecords {
  Settings& settings;
  ConversionJob& job;
  FileQueue& queue;
  StringTable& strings;
  themes::ImageSets& images;
  themes::ThemeRegistry& themeRegistry;
};

// The built-in images, the list of theme archives beside the program, then the current theme.
void loadInterfaceImages(GraphicalRecords& records, const QString& programFolder);

// Copies the window's placement into `Window/...`: maximised sets IsMaximized only, minimised
// changes nothing, otherwise IsMaximized 0 with the current size and position.
void recordWindowState(const MainWindow& window, Settings& settings);

// The end of the graphical mode: the window state, the output-folder history emptied when it is
// not to be kept, then config.ini saved.
void finishGraphicalMode(const MainWindow& window, Settings& settings);

// Loads config.ini from `settings.configPath`, the texts, the images and the theme, opens the
// main window and runs the main loop until it is closed or Exit is chosen, then finishes.
// `fileToOpen`, when not empty, is added to the window as a dropped file is. Needs an
// application object. Returns the exit status (0).
int runGraphicalSession(GraphicalRecords& records, DialogService& dialogs, ShellOpener& shell,
                        const QString& fileToOpen = QString());

// The program's icon in every size it is drawn in, for its windows.
QIcon programIcon();

// Process-level entries: each creates the application object and the real dialogs.
int runGraphicalMode(int& argc, char** argv, GraphicalRecords& records,
                     const QString& fileToOpen = QString());
int runScreenshotMode(int& argc, char** argv, GraphicalRecords& records, const QString& folder);
int runUninstallFeedback(int& argc, char** argv, const StringTable& strings);
