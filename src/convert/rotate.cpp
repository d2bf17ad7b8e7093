#include "convert/colour.h"
#include "convert/transforms.h"

BitmapPtr rotate(BitmapPtr bitmap, const Settings& settings) {
  const Settings::Transform& t = settings.transform;
  if (!bitmap || t.doImageRotation == 0 || t.imageRotation <= 0 || t.imageRotation >= 360) return bitmap;

  const unsigned width = FreeImage_GetWidth(bitmap.get());
  const unsigned height = FreeImage_GetHeight(bitmap.get());
  // The rotation calls need 24 or 32 bits per pixel.
  const unsigned bpp = FreeImage_GetBPP(bitmap.get());
  if (bpp <= 16 || bpp > 32) {
    bitmap = BitmapPtr(FreeImage_ConvertTo24Bits(bitmap.get()));
    if (!bitmap) return bitmap;
  }

  const double angle = t.imageRotation;
  switch (t.imageRotationType) {
    case 0: {
      const Colour colour = parseColor(t.imageRotationBackColor);
      const RGBQUAD background{colour.blue, colour.green, colour.red, 0};
      return BitmapPtr(FreeImage_Rotate(bitmap.get(), angle, &background));
    }
    case 1:
      return BitmapPtr(FreeImage_RotateEx(bitmap.get(), angle, 0.0, 0.0, width / 2.0, height / 2.0, FALSE));
    default:
      return bitmap;
  }
}
