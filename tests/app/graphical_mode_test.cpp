#include "app/graphical_mode.h"
#include "app/startup.h"

#include "../ui/fakes.h"
#include "i18n/product.h"
#include "i18n/string_table.h"
#include "platform/instance_lock.h"
#include "settings/config_file.h"
#include "settings/defaults.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QComboBox>
#include <FreeImage.h>

#include <QDir>
#include <QIcon>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Size of a JPEG file read back with FreeImage; empty when it is not a readable JPEG.
QSize jpegSize(const QString& path) {
  const QByteArray name = path.toUtf8();
  if (FreeImage_GetFileType(name.constData(), 0) != FIF_JPEG) return QSize();
  FIBITMAP* bitmap = FreeImage_Load(FIF_JPEG, name.constData(), 0);
  if (bitmap == nullptr) return QSize();
  const QSize size(int(FreeImage_GetWidth(bitmap)), int(FreeImage_GetHeight(bitmap)));
  FreeImage_Unload(bitmap);
  return size;
}

// Runs the executable offscreen with its settings and lock in `home`, optionally on a screen
// scaled by `scale`; false (after killing it) when it has not ended within a minute.
bool runExecutable(QProcess& process, const QTemporaryDir& home, const QStringList& arguments,
                   const QString& scale = QString()) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  if (!scale.isEmpty()) env.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
  process.setProcessEnvironment(env);
  process.start(QStringLiteral(QUILLET_EXECUTABLE), arguments);
  if (process.waitForFinished(60000)) return true;
  process.kill();
  process.waitForFinished();
  return false;
}

MainWindow* findMainWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<MainWindow*>(widget); window != nullptr && window->isVisible())
      return window;
  }
  return nullptr;
}

class GraphicalModeTest : public ::testing::Test {
 protected:
  GraphicalModeTest() {
    QDir(temp.path()).mkpath(QStringLiteral("Lumavane/quillet"));
    settings.configPath = temp.filePath(QStringLiteral("Lumavane/quillet/config.ini"));
  }

  // Runs the graphical session; `inWindow` is called once the main window is up, and is expected
  // to end the session.
  void run(const std::function<void(MainWindow&)>& inWindow, const QString& fileToOpen = QString()) {
    bool called = false;
    QTimer poller;
    poller.setInterval(5);
    QObject::connect(&poller, &QTimer::timeout, [&] {
      MainWindow* window = findMainWindow();
      if (window == nullptr || called) return;
      called = true;
      inWindow(*window);
    });
    poller.start();
    GraphicalRecords records{settings, job, queue, strings, images, themeRegistry};
    EXPECT_EQ(runGraphicalSession(records, dialogs, shell, fileToOpen), 0);
    EXPECT_TRUE(called);
  }

  // Settings saved to the configuration file before the session.
  void saveStored(const std::function<void(Settings&)>& change) {
    Settings stored;
    stored.configPath = settings.configPath;
    applyDefaults(stored, false, DefaultsEnvironment{});
    change(stored);
    ASSERT_TRUE(saveConfig(stored));
  }

  Settings savedSettings() const {
    Settings saved;
    saved.configPath = settings.configPath;
    loadConfig(saved, DefaultsEnvironment{});
    return saved;
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
};

TEST_F(GraphicalModeTest, StartsOnEmptySettingsAndSavesAtExit) {
  ASSERT_FALSE(QFile::exists(settings.configPath));
  run([](MainWindow& window) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lumavane JPG to HDR 2.2"));
    ASSERT_EQ(window.outputFormatList()->count(), 1);
    EXPECT_EQ(window.outputFormatList()->itemText(0), QStringLiteral("HDR (High Dynamic Range Image)"));
    ASSERT_EQ(window.outputFolderList()->count(), 1);
    EXPECT_TRUE(window.outputFolderList()->itemText(0).isEmpty());
    EXPECT_EQ(window.statusText(), QStringLiteral("Ready"));
    EXPECT_EQ(window.innerWidth(), 510);
    EXPECT_EQ(window.innerHeight(), 260);
    window.dispatchCommand(MainCommand::Exit);
  });
  ASSERT_TRUE(QFile::exists(settings.configPath));
  const Settings saved = savedSettings();
  EXPECT_EQ(saved.window.isMaximized, 0);
  EXPECT_EQ(saved.window.width, 510);
  EXPECT_EQ(saved.window.height, 260);
  EXPECT_EQ(saved.ui.uiTheme, QStringLiteral("handdrawn"));
}

TEST_F(GraphicalModeTest, AFileHandedToTheStartIsTheInputAsIfDropped) {
  const QString photo = QStringLiteral(QUILLET_SAMPLES_DIR "/cheetah_1024x768.jpg");
  run(
      [&](MainWindow& window) {
        EXPECT_EQ(window.inputEdit()->text(), photo);
        EXPECT_EQ(queue.size(), 1u);
        window.dispatchCommand(MainCommand::Exit);
      },
      photo);
  // A file the window does not take is left out, as a dropped one is.
  const QString text = temp.filePath(QStringLiteral("notes.txt"));
  QFile file(text);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("x");
  file.close();
  run(
      [&](MainWindow& window) {
        EXPECT_TRUE(window.inputEdit()->text().isEmpty());
        window.dispatchCommand(MainCommand::Exit);
      },
      text);
}

TEST(ProgramIcon, HasEverySizeTheDesktopAsksFor) {
  const QIcon icon = programIcon();
  ASSERT_FALSE(icon.isNull());
  for (int size : {16, 32, 48, 64, 128, 256}) {
    EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    EXPECT_EQ(icon.pixmap(size, size).size(), QSize(size, size)) << size;
  }
}

TEST_F(GraphicalModeTest, WindowStateIsStoredByTheRulesOfEachState) {
  struct Case {
    const char* name;
    std::function<void(MainWindow&)> leave;
    int maximized, width, x, y;
  };
  const Case cases[] = {
      {"normal",
       [](MainWindow& w) {
         w.resize(700, w.height());
         w.move(30, 40);
         w.close();
       },
       0, 700, 30, 40},
      // Maximised: only the flag; the size and place stay those of the last normal state.
      {"maximised",
       [](MainWindow& w) {
         w.showMaximized();
         w.close();
       },
       1, 600, 11, 22},
      // Minimised: nothing changes.
      {"minimised",
       [](MainWindow& w) {
         w.showMinimized();
         w.close();
       },
       0, 600, 11, 22},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    saveStored([](Settings& s) {
      s.window.width = 600;
      s.window.x = 11;
      s.window.y = 22;
    });
    run(c.leave);
    const Settings saved = savedSettings();
    EXPECT_EQ(saved.window.isMaximized, c.maximized);
    EXPECT_EQ(saved.window.width, c.width);
    EXPECT_EQ(saved.window.height, 260);
    EXPECT_EQ(saved.window.x, c.x);
    EXPECT_EQ(saved.window.y, c.y);
  }
}

TEST_F(GraphicalModeTest, MaximisedAtStartWhenStoredSo) {
  saveStored([](Settings& s) { s.window.isMaximized = 1; });
  bool maximised = false;
  run([&](MainWindow& w) {
    maximised = w.isMaximized();
    w.close();
  });
  EXPECT_TRUE(maximised);
}

TEST_F(GraphicalModeTest, OutFolderHistoryIsEmptiedWhenNotKept) {
  const QString folders = QStringLiteral("/a/\t/b/");
  for (int keep : {0, 1}) {
    SCOPED_TRACE(keep);
    saveStored([&](Settings& s) {
      s.advanced.outFoldersHistory = static_cast<int8_t>(keep);
      s.file.recentOutFolders = folders;
    });
    QStringList shown;
    run([&](MainWindow& w) {
      for (int i = 0; i < w.outputFolderList()->count(); ++i) shown << w.outputFolderList()->itemText(i);
      w.close();
    });
    EXPECT_EQ(shown, (QStringList{"/a/", "/b/"}));
    EXPECT_EQ(savedSettings().file.recentOutFolders, keep == 0 ? QString() : folders);
  }
}

// A second start while another instance holds the lock ends at once, silently, with status 0.
TEST(SecondInstance, EndsAtOnceWhileTheFirstHoldsTheLock) {
  QTemporaryDir home;
  qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
  platform::InstanceLock lock;
  ASSERT_TRUE(lock.acquire(instanceLockName()));

  QProcess process;
  // A graphical start would wait for its window to be closed; the helper guards against a hang.
  ASSERT_TRUE(runExecutable(process, home, QStringList()));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
  EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("Lumavane/quillet/config.ini"))));
}

// "-T": the executable shows its window with samples and saves both pictures in the folder.
TEST(ScreenshotSwitch, SavesBothPicturesThroughTheExecutable) {
  QTemporaryDir home;
  QProcess process;
  ASSERT_TRUE(runExecutable(process, home, {QStringLiteral("-T"), home.path()}));
  EXPECT_EQ(process.exitCode(), 0);
  const QSize large = jpegSize(home.filePath(QStringLiteral("quillet1.jpg")));
  const QSize small = jpegSize(home.filePath(QStringLiteral("quillet1x.jpg")));
  ASSERT_GE(large.width(), 510);
  EXPECT_GE(large.height(), 260);
  EXPECT_EQ(small.width(), 180);
  EXPECT_EQ(small.height(), qRound(180.0 * large.height() / large.width()));
  // The screenshot mode neither reads nor writes the configuration.
  EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("Lumavane/quillet/config.ini"))));
}

// On a screen scaled to 200% the pictures hold the whole window at twice the pixels, not the
// window drawn into one corner of a larger picture.
TEST(ScreenshotSwitch, KeepsTheWholeWindowOnAScaledScreen) {
  QTemporaryDir home;
  QProcess process;
  ASSERT_TRUE(runExecutable(process, home, {QStringLiteral("-T"), home.path()}, QStringLiteral("2")));
  EXPECT_EQ(process.exitCode(), 0);

  const QByteArray name = home.filePath(QStringLiteral("quillet1.jpg")).toUtf8();
  FIBITMAP* bitmap = FreeImage_Load(FIF_JPEG, name.constData(), 0);
  ASSERT_NE(bitmap, nullptr);
  const unsigned width = FreeImage_GetWidth(bitmap);
  const unsigned height = FreeImage_GetHeight(bitmap);
  EXPECT_GE(width, 1020u);
  EXPECT_GE(height, 520u);
  // The lower right quarter shows the window (its grey face, the Convert button's frame), not
  // the white of an empty picture; the drawn web address is small.
  unsigned white = 0;
  unsigned total = 0;
  for (unsigned y = 0; y < height / 2; ++y) {  // FreeImage rows run bottom-up
    for (unsigned x = width / 2; x < width; ++x) {
      RGBQUAD pixel;
      FreeImage_GetPixelColor(bitmap, x, y, &pixel);
      if (pixel.rgbRed > 250 && pixel.rgbGreen > 250 && pixel.rgbBlue > 250) ++white;
      ++total;
    }
  }
  FreeImage_Unload(bitmap);
  EXPECT_LT(white, total / 4) << white << " of " << total << " pixels are white";
}

}  // namespace
