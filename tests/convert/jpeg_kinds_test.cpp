// JPEG kinds beyond plain baseline colour: CMYK and YCCK (Adobe), progressive, and truncated
// files. Each conversion is read back and compared with Qt's decoder reading the same file.
#include "convert/pipeline.h"
#include "jpeg_writer.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using namespace testing_support;

struct Difference {
  double mean = 0;  // per channel, in 8-bit steps
  int max = 0;
};

// The Radiance pixels (scaled back to 8 bits) against an 8-bit picture, over rows
// [firstRow, lastRow) of both.
Difference compare(FIBITMAP* hdr, const QImage& image, int firstRow = 0, int lastRow = -1) {
  Difference difference;
  if (lastRow < 0) lastRow = image.height();
  long count = 0;
  double sum = 0;
  for (int y = firstRow; y < lastRow; ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const RgbF stored = pixelF(hdr, x, y);
      const QRgb expected = image.pixel(x, y);
      for (const auto& [value, reference] :
           {std::pair{stored.red, qRed(expected)}, std::pair{stored.green, qGreen(expected)},
            std::pair{stored.blue, qBlue(expected)}}) {
        const int delta = std::abs(static_cast<int>(std::lround(value * 255.0f)) - reference);
        difference.max = std::max(difference.max, delta);
        sum += delta;
        ++count;
      }
    }
  }
  difference.mean = count == 0 ? 0 : sum / static_cast<double>(count);
  return difference;
}

class JpegKinds : public ::testing::Test {
 protected:
  QString folder() const { return dir_.path() + QLatin1Char('/'); }

  // Converts `name` (in the test folder) and reads the output back.
  BitmapPtr convert(const QString& name, ConversionJob* result = nullptr) {
    ConversionJob job = hdrJob(folder() + name, folder());
    const bool ok = convertFile(settings_, job);
    if (result != nullptr) *result = job;
    return ok ? loadHdr(job.outputPath) : nullptr;
  }

  QTemporaryDir dir_;
  Settings settings_ = defaultSettings();
};

TEST_F(JpegKinds, CmykYcckAndProgressiveFilesConvertLikeAnotherDecoderReadsThem) {
  const QImage picture = testPicture(160, 120);
  const struct {
    const char* name;
    JpegOptions options;
  } cases[] = {
      {"cmyk.jpg", {JpegColour::Cmyk, false, 92}},
      {"ycck.jpg", {JpegColour::Ycck, false, 92}},
      {"progressive.jpg", {JpegColour::Rgb, true, 92}},
      {"progressive_cmyk.jpg", {JpegColour::Cmyk, true, 92}},
      {"progressive_grey.jpg", {JpegColour::Grey, true, 92}},
  };
  for (const auto& c : cases) {
    const QString name = QString::fromLatin1(c.name);
    const QByteArray bytes = encodeJpeg(picture, c.options);
    ASSERT_FALSE(bytes.isEmpty()) << c.name;
    ASSERT_LT(bytes.size(), 40 * 1024) << c.name;
    ASSERT_TRUE(writeBytes(folder() + name, bytes));

    const QImage reference = QImage(folder() + name).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(reference.size(), picture.size()) << c.name;
    ConversionJob job;
    const BitmapPtr hdr = convert(name, &job);
    ASSERT_TRUE(hdr) << c.name;
    EXPECT_FALSE(job.lastDecodeWarning) << c.name;
    ASSERT_EQ(FreeImage_GetWidth(hdr.get()), 160u) << c.name;
    ASSERT_EQ(FreeImage_GetHeight(hdr.get()), 120u) << c.name;

    const Difference fromQt = compare(hdr.get(), reference);
    EXPECT_LT(fromQt.mean, 1.0) << c.name;
    EXPECT_LE(fromQt.max, 12) << c.name;
    // Both decoders also agree with the picture the file was made from (within JPEG's loss), so
    // neither reads the CMYK values the wrong way round.
    QImage original = picture;
    if (c.options.colour == JpegColour::Grey) {
      for (int y = 0; y < original.height(); ++y)
        for (int x = 0; x < original.width(); ++x) {
          const int grey = qGray(original.pixel(x, y));  // the weights the file was made with
          original.setPixel(x, y, qRgb(grey, grey, grey));
        }
    }
    EXPECT_LT(compare(hdr.get(), original).mean, 4.0) << c.name;
  }
}

TEST_F(JpegKinds, ATruncatedJpegConvertsItsRowsAndGreysTheMissingOnesWithAWarning) {
  const QImage picture = testPicture(160, 160);
  const QByteArray whole = encodeJpeg(picture, {JpegColour::Rgb, false, 92});
  ASSERT_TRUE(writeBytes(folder() + "whole.jpg", whole));
  ASSERT_TRUE(writeBytes(folder() + "cut.jpg", whole.left(whole.size() / 2)));

  ConversionJob job;
  const BitmapPtr hdr = convert(QStringLiteral("cut.jpg"), &job);
  ASSERT_TRUE(hdr);
  EXPECT_TRUE(job.lastDecodeWarning);
  EXPECT_EQ(job.lastFailure, ConversionFailure::None);

  // The same as Qt's decoder makes of the cut file.
  const QImage cut = QImage(folder() + "cut.jpg").convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(cut.size(), picture.size());
  EXPECT_LT(compare(hdr.get(), cut).mean, 1.0);
  // The first rows are those of the whole file; the last ones are mid-grey.
  const QImage full = QImage(folder() + "whole.jpg").convertToFormat(QImage::Format_RGB32);
  EXPECT_LT(compare(hdr.get(), full, 0, 16).mean, 1.0);
  QImage grey(160, 160, QImage::Format_RGB32);
  grey.fill(qRgb(128, 128, 128));
  EXPECT_LE(compare(hdr.get(), grey, 144, 160).max, 1);

  // A complete file gives no warning.
  convert(QStringLiteral("whole.jpg"), &job);
  EXPECT_FALSE(job.lastDecodeWarning);
}

}  // namespace
