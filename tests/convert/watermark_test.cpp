// Placement, crop, rotation and image watermarks. Runs without a QGuiApplication on purpose:
// the console mode has none for image watermarks.
#include "convert/layer_bitmap.h"
#include "convert/layers.h"
#include "convert/watermark_parts.h"
#include "pixels.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

BitmapPtr markOfSize(int width, int height, QRgb colour = qRgba(255, 0, 0, 255)) {
  QImage layer(width, height, QImage::Format_ARGB32);
  layer.fill(colour);
  return bitmapFromLayer(layer);
}

QSize sizeOf(FIBITMAP* bitmap) {
  return {static_cast<int>(FreeImage_GetWidth(bitmap)), static_cast<int>(FreeImage_GetHeight(bitmap))};
}

Settings imageWatermarkSettings(const QString& path) {
  Settings settings = defaultSettings();
  settings.watermark.doWatermark = 2;
  settings.watermark.image = path;
  settings.watermark.imagePosition = 0;
  settings.watermark.imageXOffset = 0;
  settings.watermark.imageYOffset = 0;
  return settings;
}

// A fixture image of one colour, written with FreeImage in the given format.
QString writeSolidImage(const QTemporaryDir& dir, const QString& name, FREE_IMAGE_FORMAT format, int width,
                        int height, QRgb colour) {
  const QString path = dir.filePath(name);
  BitmapPtr bitmap = solidBitmap(width, height, colour);
  const int flags = format == FIF_JPEG ? JPEG_QUALITYSUPERB : 0;
  EXPECT_TRUE(FreeImage_Save(format, bitmap.get(), path.toUtf8().constData(), flags));
  return path;
}

TEST(WatermarkLayer, HandsOverStraightAlphaBottomUp) {
  QImage layer(3, 2, QImage::Format_ARGB32);
  layer.fill(Qt::transparent);
  layer.setPixel(0, 0, qRgba(10, 20, 30, 40));
  layer.setPixel(2, 1, qRgba(200, 150, 100, 255));
  BitmapPtr bitmap = bitmapFromLayer(layer);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(FreeImage_GetBPP(bitmap.get()), 32u);
  EXPECT_EQ(pixelAt(bitmap.get(), 0, 0), qRgba(10, 20, 30, 40));
  EXPECT_EQ(pixelAt(bitmap.get(), 2, 1), qRgba(200, 150, 100, 255));
  EXPECT_EQ(qAlpha(pixelAt(bitmap.get(), 1, 0)), 0);
  EXPECT_FALSE(bitmapFromLayer(QImage()));
}

TEST(WatermarkPlacement, NinePositionsAndOffsets) {
  struct Case {
    int position;
    int xOffset, yOffset;
    QPoint expected;
  };
  // 640 x 480 image, 100 x 20 watermark.
  for (const Case& c : {Case{0, 10, 10, {10, 10}}, Case{1, 10, 10, {270, 10}}, Case{2, 10, 10, {530, 10}},
                        Case{3, 10, 10, {10, 230}}, Case{4, 10, 10, {270, 230}}, Case{5, 10, 10, {530, 230}},
                        Case{6, 10, 10, {10, 450}}, Case{7, 10, 10, {270, 450}}, Case{8, 10, 10, {530, 450}},
                        Case{9, 10, 10, {0, 0}}, Case{8, -5, 0, {545, 460}}}) {
    const WatermarkArea area{0, 0, 640, 480, c.position, c.xOffset, c.yOffset};
    EXPECT_EQ(placeWatermark(area, 100, 20), c.expected) << "position " << c.position;
  }
  // Odd remainders truncate towards zero.
  EXPECT_EQ(placeWatermark({0, 0, 101, 51, 4, 0, 0}, 100, 20), QPoint(0, 15));
}

TEST(WatermarkPlacement, FrameBoundaryOnlyWithAFrame) {
  Settings settings = defaultSettings();
  settings.watermark.doWatermark = 1;
  settings.watermark.textBoundary = 1;
  settings.watermark.textPosition = 0;
  settings.watermark.textXOffset = 0;
  settings.watermark.textYOffset = 0;
  settings.frame.solidLeft = settings.frame.solidRight = settings.frame.solidTop =
      settings.frame.solidBottom = 20;

  WatermarkArea area = watermarkArea(640, 480, settings);
  EXPECT_EQ(placeWatermark(area, 100, 20), QPoint(0, 0)) << "no frame drawn: the whole image";
  settings.frame.doFrame = 1;
  area = watermarkArea(640, 480, settings);
  EXPECT_EQ(area.width, 600);
  EXPECT_EQ(area.height, 440);
  EXPECT_EQ(placeWatermark(area, 100, 20), QPoint(20, 20));
  // The image kind has its own boundary and anchor.
  settings.watermark.doWatermark = 2;
  settings.watermark.imageBoundary = 0;
  area = watermarkArea(640, 480, settings);
  EXPECT_EQ(placeWatermark(area, 100, 20), QPoint(530, 450));
}

TEST(WatermarkFit, CutsToTheAreaWithItsOffsets) {
  struct Case {
    int position;
    int xOffset, yOffset;
    QSize expectedSize;
    QPoint expectedAt;
  };
  // A 200 x 20 watermark on a 100 x 80 image.
  for (const Case& c : {Case{0, 0, 0, {100, 20}, {0, 0}}, Case{4, 0, 0, {100, 20}, {0, 30}},
                        Case{0, 30, 0, {70, 20}, {30, 0}}, Case{4, 30, 70, {70, 10}, {15, 35}}}) {
    const WatermarkArea area{0, 0, 100, 80, c.position, c.xOffset, c.yOffset};
    BitmapPtr fitted = fitWatermark(markOfSize(200, 20), area);
    ASSERT_TRUE(fitted) << "position " << c.position;
    const QSize size = sizeOf(fitted.get());
    EXPECT_EQ(size, c.expectedSize) << "position " << c.position;
    EXPECT_EQ(placeWatermark(area, size.width(), size.height()), c.expectedAt) << "position " << c.position;
  }
  // A watermark that fits is passed on as it is.
  BitmapPtr small = markOfSize(50, 20);
  FIBITMAP* raw = small.get();
  EXPECT_EQ(fitWatermark(std::move(small), {0, 0, 100, 80, 8, 10, 10}).get(), raw);
  // Offsets that leave no room where a cut is needed.
  EXPECT_FALSE(fitWatermark(markOfSize(200, 20), {0, 0, 100, 80, 0, 100, 0}));
  EXPECT_FALSE(fitWatermark(markOfSize(20, 20), {0, 0, 100, 80, 0, 0, 90}));
}

TEST(WatermarkRotation, TurnsOnlyBetweenZeroAndFullCircle) {
  BitmapPtr turned = rotateWatermark(markOfSize(100, 20), 90);
  ASSERT_TRUE(turned);
  EXPECT_EQ(sizeOf(turned.get()), QSize(20, 100));
  EXPECT_EQ(FreeImage_GetBPP(turned.get()), 32u);
  EXPECT_EQ(qAlpha(pixelAt(turned.get(), 10, 50)), 255);

  for (int angle : {0, 360, -90})
    EXPECT_EQ(sizeOf(rotateWatermark(markOfSize(100, 20), angle).get()), QSize(100, 20));

  // An odd angle grows the canvas and leaves the new corners transparent.
  BitmapPtr tilted = rotateWatermark(markOfSize(100, 20), 45);
  ASSERT_TRUE(tilted);
  EXPECT_GT(FreeImage_GetWidth(tilted.get()), 80u);
  EXPECT_GT(FreeImage_GetHeight(tilted.get()), 80u);
  EXPECT_EQ(qAlpha(pixelAt(tilted.get(), 0, 0)), 0);
  const QSize size = sizeOf(tilted.get());
  EXPECT_EQ(qAlpha(pixelAt(tilted.get(), size.width() / 2, size.height() / 2)), 255);
}

TEST(WatermarkImage, JpegAtHalfOpacityBlendsHalfWay) {
  QTemporaryDir dir;
  const QString path = writeSolidImage(dir, QStringLiteral("mark.jpg"), FIF_JPEG, 20, 10, qRgb(255, 0, 0));
  Settings settings = imageWatermarkSettings(path);
  settings.watermark.imageXOffset = 10;
  settings.watermark.imageYOffset = 10;
  settings.watermark.imageOpacity = 128;
  BitmapPtr result = watermark(solidBitmap(100, 80, qRgb(255, 255, 255)), 100, 80, settings, ConversionJob{});
  ASSERT_TRUE(result);
  EXPECT_EQ(FreeImage_GetBPP(result.get()), 24u);
  EXPECT_EQ(sizeOf(result.get()), QSize(100, 80));
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 10, 10), qRgb(255, 127, 127), 4);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 29, 19), qRgb(255, 127, 127), 4);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 9, 10), qRgb(255, 255, 255), 0);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 30, 19), qRgb(255, 255, 255), 0);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 10, 20), qRgb(255, 255, 255), 0);
}

TEST(WatermarkImage, PngKeepsItsTransparency) {
  const QString path = QStringLiteral(QUILLET_SAMPLES_DIR "/logo_rgba_256.png");
  const QImage logo = QImage(path).convertToFormat(QImage::Format_ARGB32);
  ASSERT_FALSE(logo.isNull());
  const QRgb back = qRgb(0, 0, 255);
  BitmapPtr result =
      watermark(solidBitmap(300, 280, back), 300, 280, imageWatermarkSettings(path), ConversionJob{});
  ASSERT_TRUE(result);

  int transparent = 0, opaque = 0, worst = 0;
  for (int y = 0; y < logo.height(); ++y) {
    for (int x = 0; x < logo.width(); ++x) {
      const QRgb source = logo.pixel(x, y);
      const int a = qAlpha(source);
      transparent += a == 0;
      opaque += a == 255;
      const auto blend = [&](int fg, int bg) { return (fg * a + bg * (255 - a)) / 255; };
      const QRgb expected = qRgb(blend(qRed(source), 0), blend(qGreen(source), 0), blend(qBlue(source), 255));
      const QRgb actual = pixelAt(result.get(), x, y);
      for (int d : {qRed(actual) - qRed(expected), qGreen(actual) - qGreen(expected),
                    qBlue(actual) - qBlue(expected)})
        worst = std::max(worst, std::abs(d));
    }
  }
  EXPECT_GT(transparent, 1000) << "the sample has a transparent surround";
  EXPECT_GT(opaque, 1000);
  EXPECT_LE(worst, 3);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 299, 279), back, 0);
}

TEST(WatermarkImage, GreyscaleTurnsRedIntoGrey76) {
  EXPECT_EQ(greyFilter(qRgba(255, 0, 0, 255)), qRgba(76, 76, 76, 255));
  EXPECT_EQ(greyFilter(qRgba(0, 255, 0, 17)), qRgba(149, 149, 149, 17));
  EXPECT_EQ(greyFilter(qRgba(0, 0, 255, 0)), qRgba(28, 28, 28, 0));

  QTemporaryDir dir;
  const QString path = writeSolidImage(dir, QStringLiteral("red.png"), FIF_PNG, 10, 10, qRgb(255, 0, 0));
  Settings settings = imageWatermarkSettings(path);
  settings.watermark.imageGreyscale = 1;
  settings.watermark.imagePosition = 4;
  BitmapPtr result = watermark(solidBitmap(50, 50, qRgb(0, 0, 0)), 50, 50, settings, ConversionJob{});
  ASSERT_TRUE(result);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 25, 25), qRgb(76, 76, 76), 1);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 5, 5), qRgb(0, 0, 0), 0);
}

TEST(WatermarkStep, LeavesTheImageAloneWithoutAWatermark) {
  QTemporaryDir dir;
  const QString broken = dir.filePath(QStringLiteral("broken.png"));
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not an image");
  file.close();
  const QString red = writeSolidImage(dir, QStringLiteral("red.png"), FIF_PNG, 10, 10, qRgb(255, 0, 0));

  struct Case {
    const char* name;
    int type;
    QString image;
    int xOffset;
  };
  for (const Case& c :
       {Case{"unreadable image", 2, broken, 0}, Case{"missing image", 2, dir.filePath("none.png"), 0},
        Case{"text without a loaded font", 1, QString(), 0},
        Case{"negative offset pastes nothing", 2, red, -1}}) {
    Settings settings = imageWatermarkSettings(c.image);
    settings.watermark.doWatermark = static_cast<int8_t>(c.type);
    settings.watermark.imageXOffset = c.xOffset;
    settings.watermark.textPosition = 0;
    BitmapPtr input = solidBitmap(40, 30, qRgb(0, 128, 0));
    input.reset(FreeImage_ConvertTo32Bits(input.get()));
    BitmapPtr result = watermark(std::move(input), 40, 30, settings, ConversionJob{});
    ASSERT_TRUE(result) << c.name;
    EXPECT_EQ(FreeImage_GetBPP(result.get()), 24u) << c.name;
    for (const QPoint p : {QPoint(0, 0), QPoint(5, 5), QPoint(39, 29)})
      EXPECT_PIXEL_NEAR(pixelAt(result.get(), p.x(), p.y()), qRgb(0, 128, 0), 0) << c.name;
  }
}

TEST(WatermarkStep, NoRoomFailsTheFile) {
  QTemporaryDir dir;
  const QString path = writeSolidImage(dir, QStringLiteral("wide.png"), FIF_PNG, 60, 10, qRgb(255, 0, 0));
  Settings settings = imageWatermarkSettings(path);
  settings.watermark.imageXOffset = 50;
  EXPECT_FALSE(watermark(solidBitmap(50, 50, qRgb(0, 0, 0)), 50, 50, settings, ConversionJob{}));
  // Inside a frame the room is smaller still.
  settings.watermark.imageXOffset = 0;
  settings.watermark.imageBoundary = 1;
  settings.frame.doFrame = 1;
  settings.frame.solidLeft = 30;
  settings.frame.solidRight = 20;
  EXPECT_FALSE(watermark(solidBitmap(50, 50, qRgb(0, 0, 0)), 50, 50, settings, ConversionJob{}));
}

TEST(WatermarkStep, FrameBoundaryMovesTheImage) {
  QTemporaryDir dir;
  const QString path = writeSolidImage(dir, QStringLiteral("red.png"), FIF_PNG, 10, 10, qRgb(255, 0, 0));
  Settings settings = imageWatermarkSettings(path);
  settings.watermark.imageBoundary = 1;
  settings.frame.doFrame = 1;
  settings.frame.solidLeft = settings.frame.solidTop = settings.frame.solidRight =
      settings.frame.solidBottom = 20;
  BitmapPtr result = watermark(solidBitmap(100, 80, qRgb(0, 0, 0)), 100, 80, settings, ConversionJob{});
  ASSERT_TRUE(result);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 20, 20), qRgb(255, 0, 0), 1);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 29, 29), qRgb(255, 0, 0), 1);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 19, 19), qRgb(0, 0, 0), 0);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 30, 30), qRgb(0, 0, 0), 0);
}

}  // namespace
