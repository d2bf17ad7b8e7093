#include "convert/transforms.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

struct Size {
  unsigned width, height;
  bool operator==(const Size&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Size& s) { return out << s.width << "x" << s.height; }
Size sizeOf(FIBITMAP* bitmap) { return {FreeImage_GetWidth(bitmap), FreeImage_GetHeight(bitmap)}; }

TEST(Resize, TargetsUnitsAndModes) {
  struct Case {
    const char* name;
    int width, height;  // image
    int targetWidth, targetHeight;
    int8_t widthUnit, heightUnit, keepAspect, largeOnly;
    Size result;
  };
  const Case cases[] = {
      {"percent rounds half to even", 1001, 600, 50, 50, 1, 1, 0, 0, {500, 300}},
      {"percent rounds 0.5 up to even", 1003, 600, 50, 50, 1, 1, 0, 0, {502, 300}},
      {"pixels", 640, 480, 320, 100, 0, 0, 0, 0, {320, 100}},
      {"keep aspect, landscape", 1600, 1200, 800, 800, 0, 0, 1, 0, {800, 600}},
      {"keep aspect, portrait", 1200, 1600, 800, 800, 0, 0, 1, 0, {600, 800}},
      {"keep aspect, landscape uses the width only", 1600, 1200, 25, 10, 1, 0, 1, 0, {400, 300}},
      {"large images: smaller in both", 640, 480, 800, 600, 0, 0, 0, 1, {640, 480}},
      {"large images: larger in one", 1024, 480, 800, 600, 0, 0, 0, 1, {800, 600}},
      {"zero target", 640, 480, 0, 300, 0, 0, 0, 0, {640, 480}},
      {"negative target", 640, 480, -5, 10, 0, 0, 0, 0, {640, 480}},
      {"unknown unit", 640, 480, 50, 50, 2, 0, 0, 0, {640, 480}},
  };
  for (const Case& c : cases) {
    Settings settings = defaultSettings();
    settings.transform.doImageResize = 1;
    settings.transform.imageWidth = c.targetWidth;
    settings.transform.imageHeight = c.targetHeight;
    settings.transform.imageWidthUnit = c.widthUnit;
    settings.transform.imageHeightUnit = c.heightUnit;
    settings.transform.keepAspectRatio = c.keepAspect;
    settings.transform.imageResizeType = c.largeOnly;
    BitmapPtr bitmap = solidBitmap(c.width, c.height, 10, 20, 30);
    bitmap = resize(std::move(bitmap), c.width, c.height, settings);
    ASSERT_TRUE(bitmap) << c.name;
    EXPECT_EQ(sizeOf(bitmap.get()), c.result) << c.name;
  }
}

TEST(Resize, SwitchedOffOrSameSizeKeepsTheBitmapAndTooLargeFails) {
  Settings settings = defaultSettings();
  settings.transform.imageWidth = 10;
  settings.transform.imageHeight = 10;
  BitmapPtr bitmap = solidBitmap(64, 48, 1, 2, 3);
  FIBITMAP* original = bitmap.get();
  bitmap = resize(std::move(bitmap), 64, 48, settings);
  EXPECT_EQ(bitmap.get(), original);

  settings.transform.doImageResize = 1;
  settings.transform.imageWidth = 64;
  settings.transform.imageHeight = 48;
  bitmap = resize(std::move(bitmap), 64, 48, settings);
  EXPECT_EQ(bitmap.get(), original);

  // 100000 percent of 64 by 48 is far beyond the pixel limit: no bitmap, nothing allocated.
  settings.transform.imageWidthUnit = settings.transform.imageHeightUnit = 1;
  settings.transform.imageWidth = settings.transform.imageHeight = 100000;
  EXPECT_FALSE(resize(std::move(bitmap), 64, 48, settings));
}

TEST(Resize, FilterTable) {
  const FREE_IMAGE_FILTER expected[] = {FILTER_BOX,        FILTER_BILINEAR, FILTER_BSPLINE, FILTER_BICUBIC,
                                        FILTER_CATMULLROM, FILTER_LANCZOS3, FILTER_BICUBIC};
  for (int algorithm = 0; algorithm < 7; ++algorithm) EXPECT_EQ(resizeFilter(algorithm), expected[algorithm]);
  EXPECT_EQ(resizeFilter(-1), FILTER_BICUBIC);
}

Settings rotation(int degrees, int8_t type, const char* background) {
  Settings settings = defaultSettings();
  settings.transform.doImageRotation = 1;
  settings.transform.imageRotation = degrees;
  settings.transform.imageRotationType = type;
  settings.transform.imageRotationBackColor = QString::fromLatin1(background);
  return settings;
}

TEST(Rotate, SimpleEnlargesWithBackgroundAdvancedKeepsSize) {
  struct Case {
    int8_t type;
    const char* background;
    bool enlarged;
    Rgb corner;
  };
  for (const Case& c : {Case{0, "FF8000", true, {255, 128, 0}}, Case{0, "FFF", true, {0, 0, 0}},
                        Case{1, "FF8000", false, {200, 200, 200}}}) {
    BitmapPtr bitmap = rotate(solidBitmap(200, 100, 200, 200, 200), rotation(45, c.type, c.background));
    ASSERT_TRUE(bitmap);
    const Size size = sizeOf(bitmap.get());
    if (c.enlarged) {
      EXPECT_GT(size.width, 200u);
      EXPECT_GT(size.height, 100u);
    } else {
      EXPECT_EQ(size, (Size{200, 100}));
    }
    const Rgb corner = pixel(bitmap.get(), 0, 0);
    EXPECT_EQ(corner.red, c.corner.red) << c.background;
    EXPECT_EQ(corner.green, c.corner.green) << c.background;
    EXPECT_EQ(corner.blue, c.corner.blue) << c.background;
    const Rgb centre =
        pixel(bitmap.get(), static_cast<int>(size.width / 2), static_cast<int>(size.height / 2));
    EXPECT_EQ(centre.red, 200);
  }
}

TEST(Rotate, QuarterTurnSwapsSize) {
  BitmapPtr bitmap = rotate(solidBitmap(200, 100, 9, 9, 9), rotation(90, 0, "000000"));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(sizeOf(bitmap.get()), (Size{100, 200}));
}

TEST(Rotate, NoTurnLeavesTheBitmapUntouched) {
  Settings off = rotation(45, 0, "000000");
  off.transform.doImageRotation = 0;
  for (const Settings& settings : {rotation(0, 0, "000000"), rotation(360, 1, "000000"), off}) {
    BitmapPtr grey(FreeImage_ConvertToGreyscale(solidBitmap(20, 10, 1, 2, 3).get()));
    FIBITMAP* original = grey.get();
    grey = rotate(std::move(grey), settings);
    EXPECT_EQ(grey.get(), original);
    EXPECT_EQ(FreeImage_GetBPP(grey.get()), 8u);
  }
}

TEST(Flip, MirrorsInPlace) {
  Settings settings = defaultSettings();
  settings.transform.doImageFlipHorizontal = 1;
  settings.transform.doImageFlipVertical = 1;
  BitmapPtr bitmap = solidBitmap(4, 3, 0, 0, 0);
  const RGBQUAD white{255, 255, 255, 0};
  FreeImage_SetPixelColor(bitmap.get(), 0, 2, const_cast<RGBQUAD*>(&white));  // top-left
  flip(bitmap.get(), settings);
  EXPECT_EQ(pixel(bitmap.get(), 3, 2).red, 255);  // now bottom-right
  EXPECT_EQ(pixel(bitmap.get(), 0, 0).red, 0);
}

TEST(Colour, InversionNeedsTheCorrectionSwitch) {
  Settings settings = defaultSettings();
  settings.adjustment.imageInvert = 1;
  BitmapPtr bitmap = adjustColours(solidBitmap(8, 8, 10, 100, 250), settings);
  EXPECT_EQ(pixel(bitmap.get(), 1, 1).red, 10);

  settings.adjustment.doImageColorCorrection = 1;
  bitmap = adjustColours(std::move(bitmap), settings);
  const Rgb inverted = pixel(bitmap.get(), 1, 1);
  EXPECT_EQ(inverted.red, 245);
  EXPECT_EQ(inverted.green, 155);
  EXPECT_EQ(inverted.blue, 5);
}

TEST(Colour, GreyscaleThenThresholdGivesOneBitThenFloat) {
  Settings settings = defaultSettings();
  settings.adjustment.doImageGreyscale = 1;
  settings.adjustment.doImageThreshold = 1;
  settings.adjustment.imageThreshold = 128;
  BitmapPtr bitmap = greyscale(solidBitmap(16, 8, 200, 200, 200), settings);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(FreeImage_GetBPP(bitmap.get()), 8u);
  bitmap = threshold(std::move(bitmap), settings);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(FreeImage_GetBPP(bitmap.get()), 1u);

  ConversionJob job = hdrJob(QString(), QString());
  job.inputBpp = 24;
  bitmap = outputDepth(std::move(bitmap), job);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(job.outputBpp, 96);
  EXPECT_EQ(FreeImage_GetImageType(bitmap.get()), FIT_RGBF);
  EXPECT_FLOAT_EQ(pixelF(bitmap.get(), 3, 3).red, 1.0f);
}

TEST(OutputDepth, DepthTable) {
  struct Case {
    const char* extension;
    int32_t target;
    unsigned bpp;
    FREE_IMAGE_TYPE type;
    unsigned redMask;  // 0: not checked
  };
  const Case cases[] = {
      {"tga", 16, 16, FIT_BITMAP, FI16_555_RED_MASK},
      {"ico", 16, 16, FIT_BITMAP, FI16_555_RED_MASK},
      {"bmp", 16, 16, FIT_BITMAP, FI16_565_RED_MASK},
      {"png", 1, 1, FIT_BITMAP, 0},
      {"bmp", 4, 4, FIT_BITMAP, 0},
      {"jpg", 8, 8, FIT_BITMAP, 0},
      {"gif", 8, 8, FIT_BITMAP, 0},
      {"png", 32, 32, FIT_BITMAP, 0},
      {"png", 48, 48, FIT_RGB16, 0},
      {"hdr", 96, 96, FIT_RGBF, 0},
  };
  for (const Case& c : cases) {
    ConversionJob job;
    job.outputExtension = QString::fromLatin1(c.extension);
    job.outputBpp = c.target;
    BitmapPtr bitmap = outputDepth(solidBitmap(16, 16, 255, 0, 0), job);
    ASSERT_TRUE(bitmap) << c.extension << " " << c.target;
    EXPECT_EQ(FreeImage_GetBPP(bitmap.get()), c.bpp) << c.extension << " " << c.target;
    EXPECT_EQ(FreeImage_GetImageType(bitmap.get()), c.type) << c.extension << " " << c.target;
    if (c.redMask != 0) {
      EXPECT_EQ(FreeImage_GetRedMask(bitmap.get()), c.redMask) << c.extension;
    }
  }

  // Same depth: the bitmap passes; an unknown depth yields none.
  ConversionJob job;
  job.outputExtension = QStringLiteral("bmp");
  job.outputBpp = 24;
  BitmapPtr bitmap = solidBitmap(4, 4, 1, 2, 3);
  FIBITMAP* original = bitmap.get();
  bitmap = outputDepth(std::move(bitmap), job);
  EXPECT_EQ(bitmap.get(), original);
  job.outputBpp = 7;
  EXPECT_FALSE(outputDepth(std::move(bitmap), job));
  EXPECT_FALSE(outputDepth(nullptr, job));
}

TEST(OutputDepth, AutomaticDepthFollowsTheInput) {
  ConversionJob job;
  job.outputExtension = QStringLiteral("png");
  job.automaticDepth = 1;
  job.inputBpp = 8;
  BitmapPtr grey(FreeImage_ConvertToGreyscale(solidBitmap(4, 4, 1, 2, 3).get()));
  grey = outputDepth(std::move(grey), job);
  EXPECT_EQ(job.outputBpp, 8);
  EXPECT_EQ(FreeImage_GetBPP(grey.get()), 8u);
  job.inputBpp = 24;
  BitmapPtr colour = outputDepth(solidBitmap(4, 4, 1, 2, 3), job);
  EXPECT_EQ(job.outputBpp, 24);
}

}  // namespace
