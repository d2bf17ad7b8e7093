// Small helpers for the layer tests: solid bitmaps and pixel reads in top-down coordinates.
#pragma once

#include "convert/bitmap.h"
#include "settings/defaults.h"
#include "settings/settings.h"

#include <QImage>
#include <QRgb>

#include <cstdlib>

inline Settings defaultSettings() {
  Settings settings;
  applyDefaults(settings, true, DefaultsEnvironment{1920, 1080, 1700000000});
  return settings;
}

inline BitmapPtr solidBitmap(int width, int height, QRgb colour) {
  ensureFreeImage();
  BitmapPtr bitmap(FreeImage_Allocate(width, height, 24));
  RGBQUAD fill{static_cast<BYTE>(qBlue(colour)), static_cast<BYTE>(qGreen(colour)),
               static_cast<BYTE>(qRed(colour)), 0};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) FreeImage_SetPixelColor(bitmap.get(), x, y, &fill);
  return bitmap;
}

// The pixel at (x, y) counted from the top: 8-bit through the palette, alpha only for 32 bits.
inline QRgb pixelAt(FIBITMAP* bitmap, int x, int y) {
  RGBQUAD colour{};
  const int row = static_cast<int>(FreeImage_GetHeight(bitmap)) - 1 - y;
  if (FreeImage_GetBPP(bitmap) == 8) {
    BYTE index = 0;
    FreeImage_GetPixelIndex(bitmap, x, row, &index);
    colour = FreeImage_GetPalette(bitmap)[index];
  } else {
    FreeImage_GetPixelColor(bitmap, x, row, &colour);
  }
  const int alpha = FreeImage_GetBPP(bitmap) == 32 ? colour.rgbReserved : 255;
  return qRgba(colour.rgbRed, colour.rgbGreen, colour.rgbBlue, alpha);
}

inline bool near(QRgb actual, QRgb expected, int tolerance) {
  return std::abs(qRed(actual) - qRed(expected)) <= tolerance &&
         std::abs(qGreen(actual) - qGreen(expected)) <= tolerance &&
         std::abs(qBlue(actual) - qBlue(expected)) <= tolerance &&
         std::abs(qAlpha(actual) - qAlpha(expected)) <= tolerance;
}

inline QString rgbText(QRgb colour) {
  return QStringLiteral("(%1, %2, %3, %4)")
      .arg(qRed(colour))
      .arg(qGreen(colour))
      .arg(qBlue(colour))
      .arg(qAlpha(colour));
}

#define EXPECT_PIXEL_NEAR(actual, expected, tolerance) \
  EXPECT_TRUE(near((actual), (expected), (tolerance))) \
      << "got " << rgbText(actual).toStdString() << ", expected " << rgbText(expected).toStdString()
