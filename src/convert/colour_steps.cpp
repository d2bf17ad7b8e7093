// Colour correction, greyscale and threshold.
#include "convert/transforms.h"

namespace {

// FreeImage's colour calls work on at most 32 bits per pixel.
BitmapPtr atMost32Bits(BitmapPtr bitmap) {
  if (FreeImage_GetBPP(bitmap.get()) <= 32) return bitmap;
  return BitmapPtr(FreeImage_ConvertTo24Bits(bitmap.get()));
}

}  // namespace

BitmapPtr adjustColours(BitmapPtr bitmap, const Settings& settings) {
  const Settings::Adjustment& a = settings.adjustment;
  if (!bitmap || a.doImageColorCorrection == 0) return bitmap;
  const unsigned bpp = FreeImage_GetBPP(bitmap.get());
  if (bpp < 8 || bpp > 32) {
    bitmap = BitmapPtr(FreeImage_ConvertTo24Bits(bitmap.get()));
    if (!bitmap) return bitmap;
  }
  FreeImage_AdjustColors(bitmap.get(), static_cast<double>(a.imageBrightness),
                         static_cast<double>(a.imageContrast), static_cast<double>(a.imageGamma),
                         a.imageInvert != 0 ? TRUE : FALSE);
  return bitmap;
}

BitmapPtr greyscale(BitmapPtr bitmap, const Settings& settings) {
  if (!bitmap || settings.adjustment.doImageGreyscale == 0) return bitmap;
  bitmap = atMost32Bits(std::move(bitmap));
  if (!bitmap) return bitmap;
  return BitmapPtr(FreeImage_ConvertToGreyscale(bitmap.get()));
}

BitmapPtr threshold(BitmapPtr bitmap, const Settings& settings) {
  if (!bitmap || settings.adjustment.doImageThreshold == 0) return bitmap;
  bitmap = atMost32Bits(std::move(bitmap));
  if (!bitmap) return bitmap;
  return BitmapPtr(FreeImage_Threshold(bitmap.get(), static_cast<BYTE>(settings.adjustment.imageThreshold)));
}
