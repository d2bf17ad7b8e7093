// A main window on fresh default settings with fake dialogs, plus helpers to drive a conversion.
#pragma once

#include "convert/batch.h"
#include "convert/conversion_job.h"
#include "fakes.h"
#include "i18n/string_table.h"
#include "settings/defaults.h"
#include "settings/settings.h"
#include "ui/gui_context.h"
#include "ui/main_window.h"
#include "ui/progress_dialog.h"
#include "ui/shorten_middle.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

inline QString samplePhoto() { return QStringLiteral(QUILLET_SAMPLES_DIR "/cheetah_1024x768.jpg"); }

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() {
    strings.load(QString());
    DefaultsEnvironment env;
    env.desktopWidth = 1920;
    env.desktopHeight = 1080;
    env.now = 1700000000;
    applyDefaults(settings, false, env);
    // No update question at start; the tests of the periodic check set their own schedule.
    settings.general.updateRange = 5;
    settings.configPath = temp.filePath(QStringLiteral("config.ini"));
    themes::loadBuiltInImages(images);
    context = std::make_unique<GuiContext>(settings, job, queue, strings, images, themeRegistry, dialogs, shell);
  }

  // Creates and starts the main window.
  MainWindow& open() {
    window = std::make_unique<MainWindow>(*context);
    startMainWindow(*window);
    QApplication::processEvents();
    return *window;
  }

  // A folder inside the test's temporary folder, created.
  QString folder(const QString& name) {
    QDir(temp.path()).mkpath(name);
    return temp.filePath(name) + QLatin1Char('/');
  }

  QString writeFile(const QString& name, const QByteArray& bytes) {
    const QString path = temp.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
  }

  QTemporaryDir temp;
  Settings settings;
  ConversionJob job;
  FileQueue queue;
  StringTable strings;
  themes::ImageSets images;
  themes::ThemeRegistry themeRegistry;
  FakeDialogs dialogs;
  RecordingShell shell;
  std::unique_ptr<GuiContext> context;
  std::unique_ptr<MainWindow> window;
};

// What the progress dialog showed when its run had ended.
struct ProgressEnd {
  bool seen = false;
  QString title;
  QString label;
  int barValue = -1;
  int barMaximum = -1;
  QString statusAtEnd;
};

// Runs `start` (which opens the progress dialog and returns when it is closed). While the dialog
// is open, `whileRunning` is called on each poll until it returns true; once the end is shown the
// dialog's state is noted and OK is pressed.
inline ProgressEnd driveProgress(MainWindow& window, const std::function<void()>& start,
                                 const std::function<bool(ProgressDialog&)>& whileRunning = {}) {
  ProgressEnd end;
  bool runningDone = !whileRunning;
  QTimer poller;
  poller.setInterval(5);
  QObject::connect(&poller, &QTimer::timeout, [&] {
    auto* dialog = window.findChild<ProgressDialog*>();
    if (dialog == nullptr || !dialog->isVisible()) return;
    if (!runningDone && !dialog->endShown()) runningDone = whileRunning(*dialog);
    if (dialog->endShown() && !end.seen) {
      end.seen = true;
      end.title = dialog->windowTitle();
      end.label = dialog->fileLabel()->text();
      end.barValue = dialog->progressBar()->value();
      end.barMaximum = dialog->progressBar()->maximum();
      end.statusAtEnd = window.statusText();
      dialog->okButton()->click();
    }
  });
  poller.start();
  start();
  poller.stop();
  return end;
}
