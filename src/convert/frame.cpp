#include "convert/colour.h"
#include "convert/layer_bitmap.h"
#include "convert/layers.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

QColor opaque(const QString& text) {
  const Colour colour = parseColor(text);
  return QColor(colour.red, colour.green, colour.blue, 255);
}

void fillQuad(QPainter& painter, std::initializer_list<QPointF> corners, const QColor& colour) {
  QPainterPath band;
  band.addPolygon(QPolygonF(corners));
  band.closeSubpath();
  painter.fillPath(band, colour);
}

// The eight shapes of the solid frame: corner boxes first, then the four mitred bands over them,
// so each corner ends up split along its diagonal.
void drawSolidFrame(QImage& layer, int width, int height, const Settings::Frame& f) {
  // In floating point: widths come from settings unchecked, and "w - r" must not overflow.
  const double w = width, h = height;
  const double l = f.solidLeft, r = f.solidRight, t = f.solidTop, b = f.solidBottom;
  const QColor left = opaque(f.solidLeftColor), right = opaque(f.solidRightColor);
  const QColor top = opaque(f.solidTopColor), bottom = opaque(f.solidBottomColor);

  QPainter painter(&layer);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(Qt::NoPen);
  painter.fillRect(QRectF(0, 0, l, t), top);
  painter.fillRect(QRectF(w - r, 0, r, t), right);
  painter.fillRect(QRectF(w - r, h - b, r, b), bottom);
  painter.fillRect(QRectF(0, h - b, l, b), left);
  fillQuad(painter, {{0, 0}, {w, 0}, {w - r, t}, {l, t}}, top);
  fillQuad(painter, {{w, 0}, {w, h}, {w - r, h - b}, {w - r, t}}, right);
  fillQuad(painter, {{w, h}, {0, h}, {l, h - b}, {w - r, h - b}}, bottom);
  fillQuad(painter, {{0, h}, {0, 0}, {l, t}, {l, h - b}}, left);
}

}  // namespace

BitmapPtr frame(BitmapPtr bitmap, int width, int height, const Settings& settings) {
  if (!bitmap || settings.frame.doFrame == 0) return bitmap;
  if (FreeImage_GetBPP(bitmap.get()) != 24) {
    bitmap.reset(FreeImage_ConvertTo24Bits(bitmap.get()));
    if (!bitmap) return nullptr;
  }
  if (settings.frame.doFrame != 1) return bitmap;

  BitmapPtr layerBitmap;
  {
    QImage bands = transparentLayer(width, height);
    QImage layer = transparentLayer(width, height);
    if (bands.isNull() || layer.isNull()) return bitmap;
    drawSolidFrame(bands, width, height, settings.frame);
    QPainter painter(&layer);
    painter.setOpacity(settings.frame.solidOpacity / 255.0);
    painter.drawImage(0, 0, bands);
    painter.end();
    layerBitmap = bitmapFromLayer(layer);
  }
  if (!layerBitmap) return bitmap;
  return BitmapPtr(FreeImage_Composite(layerBitmap.get(), FALSE, nullptr, bitmap.get()));
}
