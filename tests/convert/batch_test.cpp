#include "convert/batch.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace {

using namespace testing_support;

class Batch : public ::testing::Test {
 protected:
  QString folder() const { return dir_.path() + QLatin1Char('/'); }
  QString file(const char* name, const QByteArray& content = "data") const {
    const QString path = folder() + QString::fromUtf8(name);
    writeBytes(path, content);
    return path;
  }

  QTemporaryDir dir_;
  Settings settings_ = defaultSettings();
  ConversionJob job_;
  FileQueue queue_;
};

// A conversion stand-in that writes a small output and can make the worker wait inside a file.
class FakeConversion {
 public:
  explicit FakeConversion(QString outputFolder) : outputFolder_(std::move(outputFolder)) {}

  ConvertFunction function() {
    return [this](const Settings&, ConversionJob& job) {
      std::unique_lock lock(mutex_);
      ++calls_;
      changed_.notify_all();
      changed_.wait(lock, [&] { return calls_ > blockedCalls_ || !blocking_; });
      job.outputPath = outputFolder_ + QStringLiteral("out") + QString::number(calls_);
      return writeBytes(job.outputPath, "converted");
    };
  }
  // The first `count` calls wait until unblock().
  void blockFirst(int count) {
    const std::lock_guard lock(mutex_);
    blockedCalls_ = count;
  }
  void unblock() {
    {
      const std::lock_guard lock(mutex_);
      blocking_ = false;
    }
    changed_.notify_all();
  }
  void waitForCall(int number) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return calls_ >= number; });
  }
  int calls() {
    const std::lock_guard lock(mutex_);
    return calls_;
  }

 private:
  QString outputFolder_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int calls_ = 0;
  int blockedCalls_ = 0;
  bool blocking_ = true;
};

int64_t modified(const QString& path) {
  int64_t seconds = 0;
  platform::modificationTime(path, &seconds);
  return seconds;
}

TEST_F(Batch, ResetGivesInitialValues) {
  job_.counter = 9;
  job_.inputPath = QStringLiteral("/a.jpg");
  job_.outputFolder = QStringLiteral("/out/");
  job_.listName = QStringLiteral("other.lvq");
  job_.consoleMode = 1;
  job_.consoleOutputMode = QStringLiteral("DEBUG");
  job_.resultWidth = 640;
  job_.watermarkFont = QFont();
  job_.clock = [] { return std::tm{}; };
  queue_[QStringLiteral("/a.jpg")] = {};
  resetConversionState(job_, queue_);
  EXPECT_EQ(job_.counter, 1);
  EXPECT_GE(job_.randomValue, 1);
  EXPECT_LE(job_.randomValue, 99999);
  EXPECT_TRUE(job_.programFolder.endsWith(QLatin1Char('/')));
  EXPECT_TRUE(job_.inputPath.isEmpty() && job_.outputFolder.isEmpty());
  EXPECT_EQ(job_.listName, QStringLiteral("untitled.lvq"));
  EXPECT_EQ(job_.consoleMode, 0);
  EXPECT_FALSE(job_.watermarkFont);
  EXPECT_EQ(job_.consoleOutputMode, QStringLiteral("DEBUG"));
  EXPECT_EQ(job_.resultWidth, 640);
  EXPECT_TRUE(job_.clock);
  EXPECT_TRUE(queue_.empty());
}

TEST_F(Batch, QueueHoldsOneAcceptedFile) {
  const QString a = file("a.jpg");
  const QString b = file("B.JPEG");
  EXPECT_TRUE(addInputFile(a, job_, queue_).queued);
  const AddInputOutcome outcome = addInputFile(b, job_, queue_);
  EXPECT_TRUE(outcome.queued);
  EXPECT_EQ(outcome.defaultOutputFolder, folder());
  ASSERT_EQ(queue_.size(), 1u);
  EXPECT_EQ(queue_.begin()->first, b);
  EXPECT_EQ(queue_.begin()->second.marker, 1);

  // Refused paths leave the queue as it was.
  for (const QString& refused : {file("x.jpg", QByteArray()), file("c.png"), file("d.jfif")}) {
    EXPECT_FALSE(addInputFile(refused, job_, queue_).queued) << refused.toStdString();
  }
  ASSERT_EQ(queue_.size(), 1u);
  EXPECT_EQ(queue_.begin()->first, b);

  // A missing file is queued and fails later, in the conversion.
  const QString missing = folder() + QStringLiteral("y.jpg");
  EXPECT_TRUE(addInputFile(missing, job_, queue_).queued);
  EXPECT_EQ(queue_.begin()->first, missing);

  job_.baseInputFolder = dir_.path();
  EXPECT_EQ(addInputFile(a, job_, queue_).defaultOutputFolder, dir_.path());
}

TEST_F(Batch, StartQueue) {
  const QString a = file("a.jpg");
  queueInputForStart(QStringLiteral("  ") + a + QStringLiteral(" "), queue_);
  ASSERT_EQ(queue_.size(), 1u);
  EXPECT_EQ(queue_.begin()->first, a);
  queueInputForStart(file("empty.jpg", QByteArray()), queue_);
  EXPECT_TRUE(queue_.empty());
  queueInputForStart(folder() + QStringLiteral("missing.jpg"), queue_);
  EXPECT_EQ(queue_.size(), 1u);
  queueInputForStart(QString(), queue_);
  EXPECT_TRUE(queue_.empty());
}

TEST_F(Batch, RelativeSubfolder) {
  struct Case {
    const char *path, *base, *result;
  };
  for (const Case& c : {Case{"/in/sub/a.jpg", "/in/", "sub/"}, Case{"/in/a.jpg", "/in/", ""},
                        Case{"/other/a.jpg", "/in/", ""}, Case{"/in/a.jpg", "", ""}, Case{"", "/in/", ""},
                        Case{"/x/in/y/in/a.jpg", "in/", "/x/y/"}}) {
    EXPECT_EQ(relativeSubfolder(QString::fromUtf8(c.path), QString::fromUtf8(c.base)),
              QString::fromUtf8(c.result))
        << c.path;
  }
}

TEST_F(Batch, RecentOutputFolders) {
  struct Case {
    const char* name;
    const char* history;
    int8_t number;
    const char* folder;
    const char* result;
  };
  const Case cases[] = {
      {"first", "", 5, "/f/", "/f/"},
      {"sixth drops the oldest", "/a/\t/b/\t/c/\t/d/\t/e/", 5, "/f/", "/f/\t/a/\t/b/\t/c/\t/d/"},
      {"listed moves to front", "/a/\t/b/\t/c/\t/d/\t/e/", 5, "/C/", "/C/\t/a/\t/b/\t/d/\t/e/"},
      {"trimmed, empty skipped", " /a/ \t\t/b/", 5, "/f/", "/f/\t/a/\t/b/"},
      {"only the first N count", "/a/\t/b/\t/c/", 2, "/f/", "/f/\t/a/"},
      {"duplicates collapse", "/a/\t/A/\t/b/", 5, "/f/", "/f/\t/a/\t/b/"},
  };
  for (const Case& c : cases) {
    Settings settings = defaultSettings();
    settings.file.recentOutFolders = QString::fromUtf8(c.history);
    settings.advanced.outFoldersNumber = c.number;
    EXPECT_TRUE(recordOutputFolder(settings, QString::fromUtf8(c.folder))) << c.name;
    EXPECT_EQ(settings.file.recentOutFolders, QString::fromUtf8(c.result)) << c.name;
  }
  Settings settings = defaultSettings();
  settings.file.recentOutFolders = QStringLiteral("/a/");
  EXPECT_FALSE(recordOutputFolder(settings, QString()));
  EXPECT_EQ(settings.file.recentOutFolders, QStringLiteral("/a/"));

  EXPECT_TRUE(adoptOutputFolder(settings, job_, QStringLiteral("/b/")));
  EXPECT_EQ(job_.outputFolder, QStringLiteral("/b/"));
  EXPECT_EQ(settings.file.recentOutFolders, QStringLiteral("/b/\t/a/"));
}

TEST_F(Batch, OutputFolderCombo) {
  EXPECT_FALSE(outputFolderCombo(QString(), 5, QStringLiteral("/a/")));

  struct Case {
    const char* history;
    int number;
    const char* current;
    QStringList entries;
    int selected;
  };
  const Case cases[] = {
      {"/a/\t/b/\t/c/", 5, "/b/", {"/a/", "/b/", "/c/"}, 1},
      {"/a/\t/b/\t/c/", 5, "/B/", {"/a/", "/b/", "/c/"}, 0},
      {"/a/\t/b/\t/a/", 5, "/a/", {"/a/", "/b/", "/a/"}, 2},
      {"/a/\t\t /b/ \t/c/", 3, "/c/", {"/a/", "/b/"}, 0},
      {"\t", 5, "", {}, -1},
  };
  for (const Case& c : cases) {
    const std::optional<FolderComboContent> combo =
        outputFolderCombo(QString::fromUtf8(c.history), c.number, QString::fromUtf8(c.current));
    ASSERT_TRUE(combo) << c.history;
    EXPECT_EQ(combo->entries, c.entries) << c.history;
    EXPECT_EQ(combo->selected, c.selected) << c.history;
  }
}

TEST_F(Batch, StartChecks) {
  const QString input = file("a.jpg");
  const QString watermarkImage = file("mark.png");
  const QString emptyImage = file("empty.png", QByteArray());
  const QString blocker = file("plain");
  const FontLoader noFont = [](const Settings&) { return std::optional<QFont>(); };
  const FontLoader someFont = [](const Settings&) { return std::optional<QFont>(QFont()); };

  struct Case {
    const char* name;
    bool queued;
    QString outputFolder;
    void (*set)(Settings&);
    FontLoader font;
    StartProblem problem;
    QString detail;
  };
  const auto none = [](Settings&) {};
  const Case cases[] = {
      {"empty input", false, folder(), none, someFont, StartProblem::EmptyInput, {}},
      {"empty folder", true, QStringLiteral("   "), none, someFont, StartProblem::EmptyOutputFolder, {}},
      {"missing folder", true, folder() + QStringLiteral("nope"), none, someFont,
       StartProblem::InvalidOutputFolder, folder() + QStringLiteral("nope/")},
      {"folder is a file", true, blocker, none, someFont, StartProblem::InvalidOutputFolder, blocker + '/'},
      {"width 0 wins over height 0",
       true,
       folder(),
       [](Settings& s) {
         s.transform.doImageResize = 1, s.transform.imageWidth = 0, s.transform.imageHeight = 0;
       },
       someFont,
       StartProblem::InvalidWidth,
       {}},
      {"height 0",
       true,
       folder(),
       [](Settings& s) {
         s.transform.doImageResize = 1, s.transform.imageWidth = 5, s.transform.imageHeight = 0;
       },
       someFont,
       StartProblem::InvalidHeight,
       {}},
      {"font", true, folder(), [](Settings& s) { s.watermark.doWatermark = 1, s.watermark.font = "Nofont"; },
       noFont, StartProblem::InvalidWatermarkFont, QStringLiteral("Nofont")},
      {"no image",
       true,
       folder(),
       [](Settings& s) { s.watermark.doWatermark = 2, s.watermark.image = ""; },
       noFont,
       StartProblem::EmptyWatermarkImage,
       {}},
      {"text watermark with a font",
       true,
       folder(),
       [](Settings& s) { s.watermark.doWatermark = 1; },
       someFont,
       StartProblem::None,
       {}},
      {"no watermark", true, folder() + QStringLiteral("  "), none, noFont, StartProblem::None, {}},
  };
  for (const Case& c : cases) {
    Settings settings = defaultSettings();
    c.set(settings);
    FileQueue queue;
    if (c.queued) queue[input] = {};
    ConversionJob job;
    const StartCheck check = checkConversionStart(settings, queue, c.outputFolder, job, c.font);
    EXPECT_EQ(check.problem, c.problem) << c.name;
    EXPECT_EQ(check.detail, c.detail) << c.name;
    if (c.problem == StartProblem::None) {
      EXPECT_EQ(job.outputFolder, folder()) << c.name;
    }
  }

  // Watermark image checks need the path in the settings.
  Settings settings = defaultSettings();
  settings.watermark.doWatermark = 2;
  FileQueue queue{{input, {}}};
  for (const QString& image : {emptyImage, folder() + QStringLiteral("missing.png")}) {
    settings.watermark.image = image;
    const StartCheck check = checkConversionStart(settings, queue, folder(), job_, noFont);
    EXPECT_EQ(check.problem, StartProblem::InvalidWatermarkImage);
    EXPECT_EQ(check.detail, image);
    EXPECT_FALSE(check.stopsStatus());
  }
  settings.watermark.image = watermarkImage;
  EXPECT_EQ(checkConversionStart(settings, queue, folder(), job_, noFont).problem, StartProblem::None);

  // The font found is kept for the run.
  settings.watermark.doWatermark = 1;
  job_.watermarkFont.reset();
  EXPECT_EQ(checkConversionStart(settings, queue, folder(), job_, someFont).problem, StartProblem::None);
  EXPECT_TRUE(job_.watermarkFont);

  EXPECT_TRUE((StartCheck{StartProblem::InvalidHeight, {}}.stopsStatus()));
  EXPECT_FALSE((StartCheck{StartProblem::InvalidWatermarkFont, {}}.stopsStatus()));
  EXPECT_FALSE(StartCheck{}.stopsStatus());
}

TEST_F(Batch, WorkerConvertsAndPrintsDebugLines) {
  const QString missing = folder() + QStringLiteral("y.jpg");
  job_ = hdrJob(QString(), folder());
  job_.consoleMode = 1;
  job_.consoleOutputMode = QStringLiteral("DEBUG");
  job_.outputPath = QStringLiteral("/earlier/output.hdr");
  job_.counter = 1;

  ASSERT_TRUE(addInputFile(missing, job_, queue_).queued);
  testing::internal::CaptureStdout();
  {
    ConversionWorker worker(settings_, job_, queue_);
    worker.start();
    worker.wait();
    EXPECT_EQ(worker.convertedCount(), 0);
    EXPECT_EQ(worker.progress().processedCount, 1);
    EXPECT_EQ(worker.progress().currentFile, missing);
  }
  EXPECT_EQ(job_.lastFailure, ConversionFailure::CannotOpen);
  EXPECT_EQ(job_.counter, 1);

  ASSERT_TRUE(addInputFile(cheetahPath(), job_, queue_).queued);
  {
    ConversionWorker worker(settings_, job_, queue_);
    worker.start();
    worker.wait();
    EXPECT_FALSE(worker.isRunning());
    EXPECT_EQ(worker.convertedCount(), 1);
  }
  const QString output = folder() + QStringLiteral("cheetah_1024x768.hdr");
  EXPECT_EQ(QString::fromStdString(testing::internal::GetCapturedStdout()),
            QStringLiteral("Processing: ") + missing +
                QStringLiteral("\nSaving As: /earlier/output.hdr\nNot OK\n") +
                QStringLiteral("Processing: ") + cheetahPath() + QStringLiteral("\nSaving As: ") + output +
                QStringLiteral("\nOK\n"));
  EXPECT_EQ(job_.counter, 2);
  const BitmapPtr hdr = loadHdr(output);
  ASSERT_TRUE(hdr);
  EXPECT_EQ(FreeImage_GetWidth(hdr.get()), 1024u);

  // Without console mode, or in another output mode, the worker prints nothing.
  for (const int8_t consoleMode : {0, 1}) {
    job_.consoleMode = consoleMode;
    job_.consoleOutputMode = consoleMode ? QStringLiteral("NORMAL") : QStringLiteral("DEBUG");
    testing::internal::CaptureStdout();
    ConversionWorker worker(settings_, job_, queue_);
    worker.start();
    worker.wait();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  }
}

TEST_F(Batch, FileDateModes) {
  const QString input = file("a.jpg");
  const int64_t original = 1000000000;  // 2001
  ASSERT_TRUE(platform::setModificationTime(input, original));
  queue_[input] = {};
  const int32_t custom = 1500000000;  // a local date value, 2017

  struct Case {
    int8_t mode;
    int64_t expected;  // 0: the date of writing
  };
  for (const Case& c : {Case{0, 0}, Case{1, original}, Case{2, platform::localToUtc(custom)}}) {
    settings_.advanced.fileTimestamp = c.mode;
    settings_.advanced.customTimestamp = custom;
    FakeConversion fake(folder());
    fake.unblock();
    ConversionWorker worker(settings_, job_, queue_, fake.function());
    worker.start();
    worker.wait();
    ASSERT_EQ(worker.convertedCount(), 1);
    if (c.expected != 0) {
      EXPECT_EQ(modified(job_.outputPath), c.expected) << int(c.mode);
    } else {
      EXPECT_GT(modified(job_.outputPath), int64_t{1600000000});
    }
  }
}

TEST_F(Batch, StopRequestFinishesTheCurrentFile) {
  queue_[file("a.jpg")] = {};
  queue_[file("b.jpg")] = {};
  settings_.advanced.fileTimestamp = 2;
  settings_.advanced.customTimestamp = 1500000000;
  job_.counter = 1;
  FakeConversion fake(folder());
  fake.blockFirst(1);
  ConversionWorker worker(settings_, job_, queue_, fake.function());
  worker.start();
  fake.waitForCall(1);
  EXPECT_TRUE(worker.isRunning());
  worker.requestStop();
  fake.unblock();
  worker.wait();
  EXPECT_EQ(fake.calls(), 1);
  EXPECT_EQ(worker.convertedCount(), 1);
  EXPECT_EQ(worker.progress().processedCount, 1);
  EXPECT_EQ(worker.progress().currentFile, folder() + QStringLiteral("a.jpg"));
  EXPECT_EQ(job_.counter, 2);
  EXPECT_EQ(modified(job_.outputPath), platform::localToUtc(1500000000));
}

TEST_F(Batch, HoldKeepsTheNextFileFromStarting) {
  queue_[file("a.jpg")] = {};
  queue_[file("b.jpg")] = {};
  FakeConversion fake(folder());
  fake.blockFirst(1);
  ConversionWorker worker(settings_, job_, queue_, fake.function());
  worker.start();
  fake.waitForCall(1);
  worker.hold();
  fake.unblock();
  ASSERT_TRUE(worker.waitUntilHeld());
  EXPECT_EQ(fake.calls(), 1);
  EXPECT_EQ(worker.progress().processedCount, 1);
  worker.release();
  worker.wait();
  EXPECT_EQ(fake.calls(), 2);
  EXPECT_EQ(worker.convertedCount(), 2);

  // Stopping while held: released, the worker starts nothing more.
  FakeConversion second(folder());
  second.blockFirst(1);
  ConversionWorker stopped(settings_, job_, queue_, second.function());
  stopped.start();
  second.waitForCall(1);
  stopped.hold();
  second.unblock();
  ASSERT_TRUE(stopped.waitUntilHeld());
  stopped.requestStop();
  stopped.release();
  stopped.wait();
  EXPECT_EQ(second.calls(), 1);
  EXPECT_EQ(stopped.convertedCount(), 1);
}

}  // namespace
