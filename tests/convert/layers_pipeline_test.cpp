// Frames and watermarks through whole conversions, read back from the Radiance files.
#include "convert/layers.h"
#include "convert/pipeline.h"
#include "test_support.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

namespace {

using namespace testing_support;

// Within two levels of 8-bit colour, plus the Radiance mantissa.
bool closeTo(const RgbF& stored, const Rgb& expected) {
  const auto near = [](float value, int level) { return std::fabs(value - level / 255.0f) <= 2.5f / 255.0f; };
  return near(stored.red, expected.red) && near(stored.green, expected.green) &&
         near(stored.blue, expected.blue);
}

std::string text(const RgbF& value) {
  return std::to_string(value.red * 255) + ", " + std::to_string(value.green * 255) + ", " +
         std::to_string(value.blue * 255);
}

class LayersPipeline : public ::testing::Test {
 protected:
  QString folder() const { return dir_.path() + QLatin1Char('/'); }

  // Converts the job's input on its own thread, as the worker does.
  bool convertOnWorker(ConversionJob& job) const {
    bool ok = false;
    std::thread worker([&] { ok = convertFile(settings_, job); });
    worker.join();
    return ok;
  }

  BitmapPtr convertedCheetah(ConversionJob& job) {
    job = hdrJob(cheetahPath(), folder());
    if (!convertOnWorker(job)) return nullptr;
    BitmapPtr hdr = loadHdr(job.outputPath);
    if (hdr) {
      EXPECT_EQ(FreeImage_GetImageType(hdr.get()), FIT_RGBF);
      EXPECT_EQ(FreeImage_GetWidth(hdr.get()), 1024u);
      EXPECT_EQ(FreeImage_GetHeight(hdr.get()), 768u);
    }
    // Layers never change the size that names the file.
    EXPECT_EQ(job.resultWidth, 1024);
    EXPECT_EQ(job.resultHeight, 768);
    return hdr;
  }

  QTemporaryDir dir_;
  Settings settings_ = defaultSettings();
  BitmapPtr source_ = loadJpeg(cheetahPath());
};

TEST_F(LayersPipeline, FrameIsBlendedIntoTheOutput) {
  settings_.frame.doFrame = 1;
  settings_.frame.solidLeft = settings_.frame.solidRight = 16;
  settings_.frame.solidTop = settings_.frame.solidBottom = 16;
  settings_.frame.solidTopColor = QStringLiteral("FF0000");
  settings_.frame.solidRightColor = QStringLiteral("00FF00");
  settings_.frame.solidBottomColor = QStringLiteral("0000FF");
  settings_.frame.solidLeftColor = QStringLiteral("FFFF00");
  ConversionJob job;
  const BitmapPtr hdr = convertedCheetah(job);
  ASSERT_TRUE(hdr);
  struct Probe {
    int x, y;
    Rgb colour;
  };
  for (const Probe& p :
       {Probe{512, 3, {255, 0, 0}}, Probe{1020, 384, {0, 255, 0}}, Probe{512, 764, {0, 0, 255}},
        Probe{3, 384, {255, 255, 0}}, Probe{12, 3, {255, 0, 0}}, Probe{3, 12, {255, 255, 0}}}) {
    EXPECT_TRUE(closeTo(pixelF(hdr.get(), p.x, p.y), p.colour))
        << p.x << "," << p.y << ": " << text(pixelF(hdr.get(), p.x, p.y));
  }
  for (const QPoint p : {QPoint(16, 16), QPoint(512, 384), QPoint(1007, 751)}) {
    EXPECT_TRUE(closeTo(pixelF(hdr.get(), p.x(), p.y()), pixel(source_.get(), p.x(), p.y())))
        << p.x() << "," << p.y();
  }
}

TEST_F(LayersPipeline, FrameOnAGreyscaleJpegIsInColour) {
  const QString grey = folder() + QStringLiteral("grey.jpg");
  ASSERT_TRUE(writeGreyscaleJpeg(grey));
  settings_.frame.doFrame = 1;
  settings_.frame.solidTop = 10;
  settings_.frame.solidTopColor = QStringLiteral("FF0000");
  ConversionJob job = hdrJob(grey, folder());
  ASSERT_TRUE(convertOnWorker(job));
  EXPECT_EQ(job.inputBpp, 8);
  const BitmapPtr hdr = loadHdr(job.outputPath);
  ASSERT_TRUE(hdr);
  EXPECT_TRUE(closeTo(pixelF(hdr.get(), 500, 5), {255, 0, 0})) << text(pixelF(hdr.get(), 500, 5));
}

TEST_F(LayersPipeline, ImageWatermarkKeepsItsTransparency) {
  const QString logoPath = samplePath("logo_rgba_256.png");
  const QImage logo = QImage(logoPath).convertToFormat(QImage::Format_ARGB32);
  ASSERT_FALSE(logo.isNull());
  settings_.watermark.doWatermark = 2;
  settings_.watermark.image = logoPath;  // bottom-right, 10 pixels in: top-left at (758, 502)
  ConversionJob job;
  const BitmapPtr hdr = convertedCheetah(job);
  ASSERT_TRUE(hdr);
  int opaque = 0, clear = 0;
  for (int y = 0; y < 256; y += 5) {
    for (int x = 0; x < 256; x += 5) {
      const QRgb mark = logo.pixel(x, y);
      const Rgb under = pixel(source_.get(), 758 + x, 502 + y);
      const RgbF stored = pixelF(hdr.get(), 758 + x, 502 + y);
      if (qAlpha(mark) == 255) {
        ++opaque;
        EXPECT_TRUE(closeTo(stored, {qRed(mark), qGreen(mark), qBlue(mark)}))
            << x << "," << y << ": " << text(stored);
      } else if (qAlpha(mark) == 0) {
        ++clear;
        EXPECT_TRUE(closeTo(stored, under)) << x << "," << y << ": " << text(stored);
      }
    }
  }
  EXPECT_GT(opaque, 100);
  EXPECT_GT(clear, 100);
  EXPECT_TRUE(closeTo(pixelF(hdr.get(), 757, 501), pixel(source_.get(), 757, 501)));
}

TEST_F(LayersPipeline, TextWatermarkDrawnOnTheWorkerThread) {
  settings_.watermark.doWatermark = 1;
  settings_.watermark.text = QStringLiteral("%filename%");
  settings_.watermark.font = QStringLiteral("Arial");
  settings_.watermark.fontColor = QStringLiteral("FFFFFF");
  settings_.watermark.backColor = QStringLiteral("0000FF");
  settings_.watermark.backOpacity = 255;
  settings_.watermark.textPadding = 5;
  settings_.watermark.textPosition = 0;
  settings_.watermark.textXOffset = 20;
  settings_.watermark.textYOffset = 30;
  // The run's font is loaded once, on the thread that owns the application.
  ConversionJob job = hdrJob(cheetahPath(), folder());
  job.watermarkFont = loadWatermarkFont(settings_);
  ASSERT_TRUE(job.watermarkFont);
  ASSERT_TRUE(convertOnWorker(job));
  const BitmapPtr hdr = loadHdr(job.outputPath);
  ASSERT_TRUE(hdr);

  EXPECT_TRUE(closeTo(pixelF(hdr.get(), 20, 30), {0, 0, 255})) << text(pixelF(hdr.get(), 20, 30));
  EXPECT_TRUE(closeTo(pixelF(hdr.get(), 19, 30), pixel(source_.get(), 19, 30)));
  EXPECT_TRUE(closeTo(pixelF(hdr.get(), 20, 29), pixel(source_.get(), 20, 29)));
  int white = 0;
  for (int y = 30; y < 60; ++y)
    for (int x = 20; x < 200; ++x) white += pixelF(hdr.get(), x, y).red > 0.95f;
  EXPECT_GT(white, 50) << "the file name is written in white";
}

TEST_F(LayersPipeline, WatermarkWithoutRoomFailsTheFile) {
  settings_.watermark.doWatermark = 2;
  settings_.watermark.image = samplePath("logo_rgba_256.png");
  settings_.watermark.imagePosition = 0;
  settings_.watermark.imageXOffset = 1024;  // a cut is needed and leaves nothing
  ConversionJob job = hdrJob(cheetahPath(), folder());
  EXPECT_FALSE(convertOnWorker(job));
  EXPECT_EQ(job.lastFailure, ConversionFailure::StepFailed);
  EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

}  // namespace
