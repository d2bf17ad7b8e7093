#include "convert/layer_bitmap.h"

BitmapPtr bitmapFromLayer(const QImage& layer) {
  if (layer.isNull()) return nullptr;
  ensureFreeImage();
  const QImage straight =
      layer.format() == QImage::Format_ARGB32 ? layer : layer.convertToFormat(QImage::Format_ARGB32);
  const int width = straight.width();
  const int height = straight.height();
  BitmapPtr bitmap(
      FreeImage_Allocate(width, height, 32, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK));
  if (!bitmap) return nullptr;
  for (int y = 0; y < height; ++y) {
    const auto* source = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
    BYTE* target = FreeImage_GetScanLine(bitmap.get(), height - 1 - y);
    for (int x = 0; x < width; ++x, target += 4) {
      const QRgb pixel = source[x];
      target[FI_RGBA_RED] = static_cast<BYTE>(qRed(pixel));
      target[FI_RGBA_GREEN] = static_cast<BYTE>(qGreen(pixel));
      target[FI_RGBA_BLUE] = static_cast<BYTE>(qBlue(pixel));
      target[FI_RGBA_ALPHA] = static_cast<BYTE>(qAlpha(pixel));
    }
  }
  return bitmap;
}

QImage transparentLayer(int width, int height) {
  if (width <= 0 || height <= 0) return {};
  QImage layer(width, height, QImage::Format_ARGB32);
  if (layer.isNull()) return {};
  layer.fill(Qt::transparent);
  return layer;
}
