#include "convert/pipeline.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace testing_support;

class Pipeline : public ::testing::Test {
 protected:
  QString folder() const { return dir_.path() + QLatin1Char('/'); }
  QStringList entries() const {
    return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
  }

  QTemporaryDir dir_;
  Settings settings_ = defaultSettings();
};

// Every sampled pixel of the Radiance output equals the decoded source value / 255.
void expectSamePixels(FIBITMAP* hdr, FIBITMAP* source) {
  ASSERT_EQ(FreeImage_GetWidth(hdr), FreeImage_GetWidth(source));
  ASSERT_EQ(FreeImage_GetHeight(hdr), FreeImage_GetHeight(source));
  const int width = static_cast<int>(FreeImage_GetWidth(source));
  const int height = static_cast<int>(FreeImage_GetHeight(source));
  int mismatches = 0;
  for (int y = 0; y < height; y += 37) {
    for (int x = 0; x < width; x += 29) {
      const Rgb expected = pixel(source, x, y);
      if (!closeToHdr(pixelF(hdr, x, y), expected.red / 255.0f, expected.green / 255.0f,
                      expected.blue / 255.0f)) {
        ++mismatches;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST_F(Pipeline, UntouchedJpegBecomesFloatRgb) {
  ConversionJob job = hdrJob(cheetahPath(), folder());
  ASSERT_TRUE(convertFile(settings_, job));
  EXPECT_EQ(job.outputPath, folder() + QStringLiteral("cheetah_1024x768.hdr"));
  EXPECT_EQ(job.inputBpp, 24);
  EXPECT_EQ(job.outputBpp, 96);
  EXPECT_EQ(job.resultWidth, 1024);
  EXPECT_EQ(job.resultHeight, 768);
  EXPECT_EQ(job.lastFailure, ConversionFailure::None);
  EXPECT_FALSE(job.lastDecodeWarning);
  EXPECT_EQ(entries(), QStringList{QStringLiteral("cheetah_1024x768.hdr")});

  const BitmapPtr hdr = loadHdr(job.outputPath);
  ASSERT_TRUE(hdr);
  EXPECT_EQ(FreeImage_GetImageType(hdr.get()), FIT_RGBF);
  EXPECT_EQ(FreeImage_GetBPP(hdr.get()), 96u);
  expectSamePixels(hdr.get(), loadJpeg(cheetahPath()).get());
}

TEST_F(Pipeline, GreyscaleJpeg) {
  const QString grey = folder() + QStringLiteral("grey.jpg");
  ASSERT_TRUE(writeGreyscaleJpeg(grey));
  ConversionJob job = hdrJob(grey, folder());
  ASSERT_TRUE(convertFile(settings_, job));
  EXPECT_EQ(job.inputBpp, 8);
  const BitmapPtr hdr = loadHdr(job.outputPath);
  ASSERT_TRUE(hdr);
  EXPECT_EQ(FreeImage_GetImageType(hdr.get()), FIT_RGBF);
  expectSamePixels(hdr.get(), loadJpeg(grey).get());
}

TEST_F(Pipeline, ExifRotatedJpegArrivesUpright) {
  const QString rotated = folder() + QStringLiteral("rotated.jpg");
  ASSERT_TRUE(writeBytes(rotated, withExifOrientation(readBytes(cheetahPath()), 6)));
  ConversionJob job = hdrJob(rotated, folder());
  ASSERT_TRUE(convertFile(settings_, job));
  EXPECT_EQ(job.resultWidth, 768);
  EXPECT_EQ(job.resultHeight, 1024);

  const BitmapPtr hdr = loadHdr(job.outputPath);
  ASSERT_TRUE(hdr);
  ASSERT_EQ(FreeImage_GetWidth(hdr.get()), 768u);
  ASSERT_EQ(FreeImage_GetHeight(hdr.get()), 1024u);
  // Orientation 6: the stored picture is turned a quarter clockwise to stand upright, so the
  // upright pixel (x, y) is the stored pixel (y, 767 - x).
  ensureFreeImage();
  const BitmapPtr stored(
      FreeImage_Load(FIF_JPEG, QFile::encodeName(cheetahPath()).constData(), JPEG_ACCURATE));
  int mismatches = 0;
  for (int y = 0; y < 1024; y += 41) {
    for (int x = 0; x < 768; x += 31) {
      const Rgb expected = pixel(stored.get(), y, 767 - x);
      if (!closeToHdr(pixelF(hdr.get(), x, y), expected.red / 255.0f, expected.green / 255.0f,
                      expected.blue / 255.0f)) {
        ++mismatches;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST_F(Pipeline, RotationThenPercentResizeNamesTheResultSize) {
  settings_.transform.doImageRotation = 1;
  settings_.transform.imageRotation = 90;
  settings_.transform.doImageResize = 1;
  settings_.transform.imageWidth = settings_.transform.imageHeight = 50;
  settings_.transform.imageWidthUnit = settings_.transform.imageHeightUnit = 1;
  settings_.advanced.filenameMask = QStringLiteral("%width%x%height%_%bpp%.%ext%");
  ConversionJob job = hdrJob(cheetahPath(), folder());
  ASSERT_TRUE(convertFile(settings_, job));
  EXPECT_EQ(job.outputPath, folder() + QStringLiteral("384x512_96.hdr"));
  const BitmapPtr hdr = loadHdr(job.outputPath);
  ASSERT_TRUE(hdr);
  EXPECT_EQ(FreeImage_GetWidth(hdr.get()), 384u);
  EXPECT_EQ(FreeImage_GetHeight(hdr.get()), 512u);
}

TEST_F(Pipeline, UnreadableInputFailsWithoutOutput) {
  const QString text = folder() + QStringLiteral("notes.jpg");
  ASSERT_TRUE(writeBytes(text, "this is not a picture\n"));
  for (const QString& input : {text, folder() + QStringLiteral("missing.jpg"), folder()}) {
    ConversionJob job = hdrJob(input, folder());
    job.outputPath = QStringLiteral("previous.hdr");
    job.inputBpp = 24;
    EXPECT_FALSE(convertFile(settings_, job)) << input.toStdString();
    EXPECT_EQ(job.lastFailure, ConversionFailure::CannotOpen);
    EXPECT_EQ(job.outputPath, QStringLiteral("previous.hdr"));
    EXPECT_EQ(job.inputBpp, 0);
  }
  EXPECT_EQ(entries(), QStringList{QStringLiteral("notes.jpg")});
}

TEST_F(Pipeline, OversizedHeaderIsRefusedBeforeDecoding) {
  const QString huge = folder() + QStringLiteral("huge.jpg");
  const QByteArray bytes = withFrameSize(readBytes(cheetahPath()), 65000, 65000);
  ASSERT_FALSE(bytes.isEmpty());
  ASSERT_TRUE(writeBytes(huge, bytes));
  ConversionJob job = hdrJob(huge, folder());
  EXPECT_FALSE(convertFile(settings_, job));
  EXPECT_EQ(job.lastFailure, ConversionFailure::TooLarge);
  EXPECT_EQ(job.inputBpp, 0);

  // The limit is the job's: a lower one refuses the ordinary sample too.
  job = hdrJob(cheetahPath(), folder());
  job.pixelLimit = 1024 * 768 - 1;
  EXPECT_FALSE(convertFile(settings_, job));
  EXPECT_EQ(job.lastFailure, ConversionFailure::TooLarge);
  job.pixelLimit = 1024 * 768;
  EXPECT_TRUE(convertFile(settings_, job));
  EXPECT_EQ(entries(), QStringList({QStringLiteral("cheetah_1024x768.hdr"), QStringLiteral("huge.jpg")}));
}

TEST_F(Pipeline, TruncatedJpegConvertsWithAWarning) {
  const QString truncated = folder() + QStringLiteral("truncated.jpg");
  const QByteArray bytes = readBytes(cheetahPath());
  ASSERT_TRUE(writeBytes(truncated, bytes.left(bytes.size() / 2)));
  ConversionJob job = hdrJob(truncated, folder());
  EXPECT_TRUE(convertFile(settings_, job));
  EXPECT_TRUE(job.lastDecodeWarning);
  EXPECT_EQ(job.lastFailure, ConversionFailure::None);
}

TEST_F(Pipeline, FailedStepSavesNothing) {
  ConversionJob job = hdrJob(cheetahPath(), folder());
  job.automaticDepth = 0;
  job.outputBpp = 7;
  EXPECT_FALSE(convertFile(settings_, job));
  EXPECT_EQ(job.lastFailure, ConversionFailure::StepFailed);
  EXPECT_EQ(job.outputPath, folder() + QStringLiteral("cheetah_1024x768.hdr"));
  EXPECT_TRUE(entries().isEmpty());
}

TEST_F(Pipeline, ExistingTargetIsReplaced) {
  const QString target = folder() + QStringLiteral("cheetah_1024x768.hdr");
  ASSERT_TRUE(writeBytes(target, "old"));
  ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
  for (const ConversionRoad road : {ConversionRoad::Automatic, ConversionRoad::General}) {
    ASSERT_TRUE(writeBytes(target, "old"));
    ConversionJob job = hdrJob(cheetahPath(), folder());
    ASSERT_TRUE(convertFileBy(road, settings_, job));
    const BitmapPtr hdr = loadHdr(target);
    ASSERT_TRUE(hdr);
    EXPECT_EQ(FreeImage_GetWidth(hdr.get()), 1024u);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(), QStringList{QStringLiteral("cheetah_1024x768.hdr")});
  }
}

TEST_F(Pipeline, FailedSaveLeavesNoFileAndTheOldTargetIntact) {
  const QString blocker = folder() + QStringLiteral("file");
  const QString target = folder() + QStringLiteral("cheetah_1024x768.hdr");
  ASSERT_TRUE(writeBytes(blocker, "x"));
  ASSERT_TRUE(writeBytes(target, "old"));
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("taken.hdr")));

  struct Case {
    const char* name;
    QString outputFolder;
    const char* mask;
    int32_t outputBpp;  // 24 cannot be stored as Radiance: the encoder itself fails
  };
  const Case cases[] = {
      {"missing folder", folder() + QStringLiteral("missing/"), "%filename%.%ext%", 0},
      {"below a file", blocker + QLatin1Char('/'), "%filename%.%ext%", 0},
      {"encoder fails over an existing target", folder(), "%filename%.%ext%", 24},
      {"target is a folder", folder(), "taken.%ext%", 0},
  };
  for (const Case& c : cases) {
    settings_.advanced.filenameMask = QString::fromLatin1(c.mask);
    ConversionJob job = hdrJob(cheetahPath(), c.outputFolder);
    if (c.outputBpp != 0) {
      job.automaticDepth = 0;
      job.outputBpp = c.outputBpp;
    }
    EXPECT_FALSE(convertFile(settings_, job)) << c.name;
    EXPECT_EQ(job.lastFailure, ConversionFailure::CannotSave) << c.name;
    EXPECT_EQ(entries(), QStringList({QStringLiteral("cheetah_1024x768.hdr"), QStringLiteral("file")}))
        << c.name;
    EXPECT_EQ(readBytes(target), QByteArray("old")) << c.name;
  }
}

TEST_F(Pipeline, ReadOnlyTargetStaysProtected) {
  if (::geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  const QString target = folder() + QStringLiteral("cheetah_1024x768.hdr");
  ASSERT_TRUE(writeBytes(target, "old"));
  ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0444), 0);
  for (const ConversionRoad road : {ConversionRoad::Automatic, ConversionRoad::General}) {
    ConversionJob job = hdrJob(cheetahPath(), folder());
    EXPECT_FALSE(convertFileBy(road, settings_, job));
    EXPECT_EQ(job.lastFailure, ConversionFailure::CannotSave);
    EXPECT_EQ(readBytes(target), QByteArray("old"));
    EXPECT_EQ(entries(), QStringList{QStringLiteral("cheetah_1024x768.hdr")});
  }
}

}  // namespace
