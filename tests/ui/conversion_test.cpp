#include "window_fixture.h"

#include "convert/pipeline.h"
#include "ui/input_output.h"

#include <FreeImage.h>

#include <QComboBox>
#include <QLineEdit>

#include <condition_variable>
#include <mutex>

namespace {

// A gate a slow conversion waits at until the test opens it.
class Gate {
 public:
  void open() {
    {
      const std::lock_guard lock(mutex_);
      open_ = true;
    }
    changed_.notify_all();
  }
  void wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return open_; });
  }
  ~Gate() { open(); }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
};

class ConversionTest : public WindowTest {
 protected:
  // The sample photo queued, `out/` chosen as output folder.
  MainWindow& prepared() {
    MainWindow& w = open();
    EXPECT_TRUE(addInputFileToWindow(w, samplePhoto()));
    outFolder = folder(QStringLiteral("out"));
    dialogs.folderToChoose = outFolder;
    outputFolderDialog(w);
    return w;
  }

  QString outputFile() const { return outFolder + QStringLiteral("cheetah_1024x768.hdr"); }

  QString outFolder;
};

void expectHdr(const QString& path, unsigned width, unsigned height) {
  const QByteArray name = path.toUtf8();
  ASSERT_EQ(FreeImage_GetFileType(name.constData(), 0), FIF_HDR) << name.constData();
  FIBITMAP* bitmap = FreeImage_Load(FIF_HDR, name.constData(), 0);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(bitmap), width);
  EXPECT_EQ(FreeImage_GetHeight(bitmap), height);
  EXPECT_EQ(FreeImage_GetImageType(bitmap), FIT_RGBF);
  // The cheetah is not a black picture.
  const auto* pixel = reinterpret_cast<const FIRGBF*>(FreeImage_GetScanLine(bitmap, height / 2)) + width / 2;
  EXPECT_GT(pixel->red + pixel->green + pixel->blue, 0.0f);
  FreeImage_Unload(bitmap);
}

TEST_F(ConversionTest, ConvertsTheSamplePhotoAndReportsTheEnd) {
  MainWindow& w = prepared();
  const ProgressEnd end = driveProgress(w, [&] { w.dispatchCommand(MainCommand::Convert); });
  ASSERT_TRUE(end.seen);
  EXPECT_EQ(end.title, QStringLiteral("Conversion complete (1/1)"));
  EXPECT_EQ(end.label, QStringLiteral("Files converted: 1 of 1"));
  EXPECT_EQ(end.barMaximum, 2);
  EXPECT_EQ(end.barValue, 2);
  EXPECT_EQ(end.statusAtEnd, QStringLiteral("Conversion complete"));
  EXPECT_EQ(w.statusText(), QStringLiteral("Conversion complete"));
  EXPECT_TRUE(dialogs.messages.isEmpty());
  EXPECT_EQ(w.findChild<ProgressDialog*>(), nullptr);
  expectHdr(outputFile(), 1024, 768);
}

TEST_F(ConversionTest, AFailedFileCountsAsProcessedOnly) {
  MainWindow& w = open();
  outFolder = folder(QStringLiteral("out"));
  ASSERT_TRUE(addInputFileToWindow(w, temp.filePath(QStringLiteral("missing.jpg"))));
  const ProgressEnd end = driveProgress(w, [&] { w.dispatchCommand(MainCommand::Convert); });
  EXPECT_EQ(end.title, QStringLiteral("Conversion complete (1/1)"));
  EXPECT_EQ(end.label, QStringLiteral("Files converted: 0 of 1"));
  EXPECT_EQ(end.barValue, 2);
}

TEST_F(ConversionTest, StartChecksShowTheirMessageAndStatus) {
  const QString emptyFile = writeFile(QStringLiteral("empty.png"), QByteArray());
  struct Case {
    const char* name;
    std::function<void(MainWindow&)> setUp;
    QString message;
    QString status;
  };
  const QString stopped = QStringLiteral("Conversion stopped");
  const QString preparing = QStringLiteral("Preparing...");
  const Case cases[] = {
      {"no input", [](MainWindow&) {}, "No input file(s) found. Please, add valid file(s) and try again!",
       stopped},
      {"input not accepted",
       [&](MainWindow& w) {
         w.inputEdit()->setText(QStringLiteral(QUILLET_SAMPLES_DIR "/logo_rgba_256.png"));
       },
       "No input file(s) found. Please, add valid file(s) and try again!", stopped},
      {"no output folder", [](MainWindow& w) { w.inputEdit()->setText(samplePhoto()); },
       "The output folder's field is empty. Please, select existed output folder and try again!", stopped},
      {"missing output folder",
       [](MainWindow& w) {
         w.inputEdit()->setText(samplePhoto());
         w.outputFolderList()->addItem(QStringLiteral("/nonexistent/place"));
         w.outputFolderList()->setCurrentIndex(w.outputFolderList()->count() - 1);
       },
       "The following output folder is invalid or doesn't exist:\r\n/nonexistent/place/\r\n\r\n"
       "Please, correct the output path and try again!",
       stopped},
      {"resize width 0",
       [this](MainWindow& w) {
         addInputFileToWindow(w, samplePhoto());
         settings.transform.doImageResize = 1;
         settings.transform.imageWidth = 0;
         settings.transform.imageHeight = 0;
       },
       "Invalid resize width value!", stopped},
      {"resize height 0",
       [this](MainWindow& w) {
         addInputFileToWindow(w, samplePhoto());
         settings.transform.doImageResize = 1;
         settings.transform.imageWidth = 100;
         settings.transform.imageHeight = 0;
       },
       "Invalid resize height value!", stopped},
      {"watermark font",
       [this](MainWindow& w) {
         addInputFileToWindow(w, samplePhoto());
         settings.watermark.doWatermark = 1;
         context->loadFont = [](const Settings&) { return std::optional<QFont>(); };
       },
       "Unable to load selected font for a watermark: Arial", preparing},
      {"watermark image empty",
       [this](MainWindow& w) {
         addInputFileToWindow(w, samplePhoto());
         settings.watermark.doWatermark = 2;
         settings.watermark.image.clear();
       },
       "Selected watermark image is invalid/empty!", preparing},
      {"watermark image unreadable",
       [&, this](MainWindow& w) {
         addInputFileToWindow(w, samplePhoto());
         settings.watermark.doWatermark = 2;
         settings.watermark.image = emptyFile;
       },
       "Unable to load selected file as a watermark image: " + emptyFile, preparing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DefaultsEnvironment env;
    applyDefaults(settings, false, env);
    context->loadFont = {};
    dialogs.messages.clear();
    MainWindow& w = open();
    c.setUp(w);
    const ProgressEnd end = driveProgress(w, [&] { w.dispatchCommand(MainCommand::Convert); });
    EXPECT_FALSE(end.seen);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Warning"));
    EXPECT_EQ(dialogs.messages[0].text, c.message);
    EXPECT_EQ(w.statusText(), c.status);
  }
}

TEST_F(ConversionTest, BreakAnsweredYesLetsTheFileFinishAndReportsStopped) {
  Gate gate;
  context->convert = [&gate](const Settings& s, ConversionJob& j) {
    gate.wait();
    return convertFile(s, j);
  };
  MainWindow& w = prepared();
  dialogs.answerYes = true;
  QString titleWhileRunning;
  bool stayedOpen = false;
  const ProgressEnd end = driveProgress(
      w, [&] { w.dispatchCommand(MainCommand::Convert); },
      [&](ProgressDialog& dialog) {
        if (dialog.windowTitle() != QStringLiteral("Converting (1/1)")) return false;
        titleWhileRunning = dialog.windowTitle();
        EXPECT_EQ(dialog.fileLabel()->text(), shortenMiddle(samplePhoto(), dialog.labelCapacity()));
        EXPECT_EQ(dialog.progressBar()->value(), 1);
        EXPECT_FALSE(dialog.okButton()->isEnabled());
        dialog.okButton()->click();
        dialog.close();
        stayedOpen = dialog.isVisible();
        gate.open();
        return true;
      });
  EXPECT_EQ(titleWhileRunning, QStringLiteral("Converting (1/1)"));
  EXPECT_TRUE(stayedOpen);
  ASSERT_EQ(dialogs.questions.size(), 1);
  EXPECT_EQ(dialogs.questions[0].text, QStringLiteral("Do you want to break the conversion?"));
  EXPECT_EQ(end.title, QStringLiteral("Conversion stopped (1/1)"));
  EXPECT_EQ(end.label, QStringLiteral("Conversion stopped"));
  EXPECT_EQ(w.statusText(), QStringLiteral("Conversion stopped"));
  // The file in work was finished.
  expectHdr(outputFile(), 1024, 768);
}

// While the break question is open no new file starts; answered No, the run goes on to the end.
TEST_F(ConversionTest, BreakQuestionHoldsTheWorkerAndNoContinues) {
  Gate gate;
  std::atomic<int> started{0};
  context->convert = [&](const Settings&, ConversionJob&) {
    if (++started == 1) gate.wait();
    return true;
  };
  MainWindow& w = open();
  queue[samplePhoto()] = FileQueueEntry{};
  queue[samplePhoto() + QStringLiteral(".second.jpg")] = FileQueueEntry{};
  bool held = false;
  int startedWhileHeld = -1;
  dialogs.answerYes = false;
  dialogs.duringQuestion = [&] {
    auto* dialog = w.findChild<ProgressDialog*>();
    gate.open();
    held = dialog->worker().waitUntilHeld();
    startedWhileHeld = started;
  };
  const ProgressEnd end = driveProgress(
      w, [&] { runProgressDialog(w); },
      [&](ProgressDialog& dialog) {
        if (dialog.windowTitle() != QStringLiteral("Converting (1/2)")) return false;
        EXPECT_EQ(dialog.progressBar()->maximum(), 3);
        dialog.close();
        return true;
      });
  EXPECT_TRUE(held);
  EXPECT_EQ(startedWhileHeld, 1);
  EXPECT_EQ(started, 2);
  EXPECT_EQ(end.title, QStringLiteral("Conversion complete (2/2)"));
  EXPECT_EQ(end.label, QStringLiteral("Files converted: 2 of 2"));
  EXPECT_EQ(end.barValue, 3);
}

TEST_F(ConversionTest, RecentFoldersAfterConversions) {
  settings.advanced.outFoldersNumber = 2;
  int runs = 0;
  context->convert = [&runs](const Settings&, ConversionJob&) {
    ++runs;
    return true;
  };
  MainWindow& w = prepared();
  const QString second = folder(QStringLiteral("second"));
  driveProgress(w, [&] { w.dispatchCommand(MainCommand::Convert); });
  dialogs.folderToChoose = second;
  outputFolderDialog(w);
  driveProgress(w, [&] { w.dispatchCommand(MainCommand::Convert); });
  QStringList items;
  for (int i = 0; i < w.outputFolderList()->count(); ++i) items << w.outputFolderList()->itemText(i);
  EXPECT_EQ(items, (QStringList{second, outFolder}));
  EXPECT_EQ(w.outputFolderList()->currentIndex(), 0);

  // Picking the older folder and converting moves it to the front.
  w.outputFolderList()->setCurrentIndex(1);
  emit w.outputFolderList()->activated(1);
  driveProgress(w, [&] { w.dispatchCommand(MainCommand::Convert); });
  EXPECT_EQ(settings.file.recentOutFolders, outFolder + QLatin1Char('\t') + second);
  EXPECT_EQ(w.outputFolderList()->itemText(0), outFolder);
  EXPECT_EQ(w.outputFolderList()->currentIndex(), 0);
  EXPECT_EQ(runs, 3);
}

TEST_F(ConversionTest, TheRunsWatermarkFontLivesForTheRunOnly) {
  bool fontDuringRun = false;
  context->loadFont = [](const Settings&) { return std::optional<QFont>(QFont(QStringLiteral("Sans"))); };
  context->convert = [&fontDuringRun](const Settings&, ConversionJob& j) {
    fontDuringRun = j.watermarkFont.has_value();
    return true;
  };
  settings.watermark.doWatermark = 1;
  MainWindow& w = prepared();
  const ProgressEnd end = driveProgress(w, [&] { w.dispatchCommand(MainCommand::Convert); });
  EXPECT_EQ(end.label, QStringLiteral("Files converted: 1 of 1"));
  EXPECT_TRUE(fontDuringRun);
  EXPECT_FALSE(job.watermarkFont.has_value());
}

}  // namespace
