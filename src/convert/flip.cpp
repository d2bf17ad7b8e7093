#include "convert/transforms.h"

void flip(FIBITMAP* bitmap, const Settings& settings) {
  if (bitmap == nullptr) return;
  if (settings.transform.doImageFlipHorizontal != 0) FreeImage_FlipHorizontal(bitmap);
  if (settings.transform.doImageFlipVertical != 0) FreeImage_FlipVertical(bitmap);
}
