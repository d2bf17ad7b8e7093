#include "convert/layers.h"
#include "pixels.h"

#include <gtest/gtest.h>

namespace {

constexpr QRgb kGrey = qRgb(128, 128, 128);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kYellow = qRgb(255, 255, 0);

Settings frameSettings(int left, int right, int top, int bottom) {
  Settings settings = defaultSettings();
  settings.frame.doFrame = 1;
  settings.frame.solidLeft = left;
  settings.frame.solidRight = right;
  settings.frame.solidTop = top;
  settings.frame.solidBottom = bottom;
  settings.frame.solidTopColor = QStringLiteral("FF0000");
  settings.frame.solidRightColor = QStringLiteral("00FF00");
  settings.frame.solidBottomColor = QStringLiteral("0000FF");
  settings.frame.solidLeftColor = QStringLiteral("FFFF00");
  return settings;
}

TEST(Frame, FourColoursMeetInMitredCorners) {
  const Settings settings = frameSettings(10, 10, 10, 10);
  BitmapPtr result = frame(solidBitmap(100, 80, kGrey), 100, 80, settings);
  ASSERT_TRUE(result);
  ASSERT_EQ(FreeImage_GetBPP(result.get()), 24u);
  ASSERT_EQ(FreeImage_GetWidth(result.get()), 100u);
  ASSERT_EQ(FreeImage_GetHeight(result.get()), 80u);

  struct Probe {
    int x, y;
    QRgb colour;
  };
  // Each corner square is split along its diagonal; the bands and the inside are plain.
  for (const Probe& p :
       {Probe{7, 2, kRed}, Probe{2, 7, kYellow},      // top-left
        Probe{92, 2, kRed}, Probe{97, 7, kGreen},     // top-right
        Probe{97, 72, kGreen}, Probe{92, 77, kBlue},  // bottom-right
        Probe{7, 77, kBlue}, Probe{2, 72, kYellow},   // bottom-left
        Probe{50, 0, kRed}, Probe{99, 40, kGreen}, Probe{50, 79, kBlue}, Probe{0, 40, kYellow},
        Probe{10, 10, kGrey}, Probe{89, 69, kGrey}, Probe{50, 40, kGrey}}) {
    EXPECT_PIXEL_NEAR(pixelAt(result.get(), p.x, p.y), p.colour, 1) << " at " << p.x << "," << p.y;
  }
}

TEST(Frame, OpacityBlendsAboutHalfWay) {
  Settings settings = frameSettings(10, 10, 10, 10);
  settings.frame.solidOpacity = 128;
  settings.frame.solidTopColor = QStringLiteral("FFFFFF");
  BitmapPtr result = frame(solidBitmap(60, 60, qRgb(0, 0, 0)), 60, 60, settings);
  ASSERT_TRUE(result);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 30, 4), qRgb(128, 128, 128), 3);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 30, 55), qRgb(0, 0, 128), 3);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 30, 30), qRgb(0, 0, 0), 0);
}

TEST(Frame, OnlyTopBandIsNotMitred) {
  const Settings settings = frameSettings(0, 0, 10, 0);
  BitmapPtr result = frame(solidBitmap(100, 80, kGrey), 100, 80, settings);
  ASSERT_TRUE(result);
  for (int x : {0, 1, 50, 98, 99}) {
    EXPECT_PIXEL_NEAR(pixelAt(result.get(), x, 0), kRed, 0) << x;
    EXPECT_PIXEL_NEAR(pixelAt(result.get(), x, 9), kRed, 0) << x;
    EXPECT_PIXEL_NEAR(pixelAt(result.get(), x, 10), kGrey, 0) << x;
  }
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 0, 79), kGrey, 0);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 99, 40), kGrey, 0);
}

TEST(Frame, DepthAfterTheStep) {
  struct Case {
    const char* name;
    int doFrame;
    int widths;
    unsigned inputBpp;
    unsigned outputBpp;
  };
  for (const Case& c :
       {Case{"no frame keeps the depth", 0, 10, 8, 8}, Case{"zero widths still give 24 bits", 1, 0, 32, 24},
        Case{"greyscale input leaves as 24 bits", 1, 5, 8, 24},
        Case{"unknown frame type converts only", 7, 5, 8, 24}}) {
    Settings settings = frameSettings(c.widths, c.widths, c.widths, c.widths);
    settings.frame.doFrame = static_cast<int8_t>(c.doFrame);
    BitmapPtr input = solidBitmap(40, 30, kGrey);
    if (c.inputBpp == 8) input.reset(FreeImage_ConvertToGreyscale(input.get()));
    if (c.inputBpp == 32) input.reset(FreeImage_ConvertTo32Bits(input.get()));
    ASSERT_EQ(FreeImage_GetBPP(input.get()), c.inputBpp) << c.name;
    BitmapPtr result = frame(std::move(input), 40, 30, settings);
    ASSERT_TRUE(result) << c.name;
    EXPECT_EQ(FreeImage_GetBPP(result.get()), c.outputBpp) << c.name;
    // Without bands even the edge is untouched.
    const bool bands = c.doFrame == 1 && c.widths > 0;
    EXPECT_PIXEL_NEAR(pixelAt(result.get(), 20, 15), kGrey, 1) << c.name;
    if (!bands) {
      EXPECT_PIXEL_NEAR(pixelAt(result.get(), 0, 0), kGrey, 1) << c.name;
    }
  }
}

TEST(Frame, NoBitmapStaysNone) { EXPECT_FALSE(frame(nullptr, 10, 10, frameSettings(1, 1, 1, 1))); }

}  // namespace
