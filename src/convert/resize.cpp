#include "convert/transforms.h"

#include <cmath>
#include <limits>

namespace {

// A size setting in pixels, or in percent of the current size rounded half-to-even.
int32_t targetSize(int32_t value, int8_t unit, int current) {
  switch (unit) {
    case 0:
      return value;
    case 1: {
      const long double exact = std::nearbyint(value / 100.0L * current);
      if (exact <= 0) return 0;
      if (exact >= std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
      return static_cast<int32_t>(exact);
    }
    default:
      return 0;
  }
}

int32_t nearestWhole(float value) { return static_cast<int32_t>(std::floor(value + 0.5f)); }

}  // namespace

FREE_IMAGE_FILTER resizeFilter(int algorithm) {
  static constexpr FREE_IMAGE_FILTER filters[] = {FILTER_BOX,     FILTER_BILINEAR,   FILTER_BSPLINE,
                                                  FILTER_BICUBIC, FILTER_CATMULLROM, FILTER_LANCZOS3};
  return algorithm >= 0 && algorithm < 6 ? filters[algorithm] : FILTER_BICUBIC;
}

BitmapPtr resize(BitmapPtr bitmap, int width, int height, const Settings& settings, int64_t pixelLimit) {
  const Settings::Transform& t = settings.transform;
  if (!bitmap || t.doImageResize == 0) return bitmap;

  int32_t targetWidth = targetSize(t.imageWidth, t.imageWidthUnit, width);
  int32_t targetHeight = targetSize(t.imageHeight, t.imageHeightUnit, height);
  if (targetWidth <= 0 || targetHeight <= 0) return bitmap;
  if (targetWidth == width && targetHeight == height) return bitmap;
  if (t.imageResizeType == 1 && width < targetWidth && height < targetHeight) return bitmap;

  if (t.keepAspectRatio != 0) {
    if (width >= height) {
      const float ratio = static_cast<float>(width) / static_cast<float>(height);
      targetHeight = nearestWhole(static_cast<float>(targetWidth) / ratio);
    } else {
      const float ratio = static_cast<float>(height) / static_cast<float>(width);
      targetWidth = nearestWhole(static_cast<float>(targetHeight) / ratio);
    }
  }

  // A target beyond the pixel limit would exhaust memory rather than produce an image.
  if (static_cast<int64_t>(targetWidth) * targetHeight > pixelLimit) return nullptr;
  return BitmapPtr(
      FreeImage_Rescale(bitmap.get(), targetWidth, targetHeight, resizeFilter(t.imageResizeAlgorithm)));
}
