#include "convert/colour.h"
#include "convert/layer_bitmap.h"
#include "convert/layers.h"
#include "convert/naming.h"
#include "convert/watermark_parts.h"
#include "platform/fonts.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImageReader>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

const QString kLineBreak = QStringLiteral("%eol%");

// Text is laid out at 96 dots per inch whatever the screen, so a font size in points gives the
// same pixels in the console and in the graphical mode.
constexpr int kDotsPerMeter = 3780;

QImage textLayer(int width, int height) {
  QImage layer = transparentLayer(width, height);
  if (!layer.isNull()) {
    layer.setDotsPerMeterX(kDotsPerMeter);
    layer.setDotsPerMeterY(kDotsPerMeter);
  }
  return layer;
}

int clampOpacity(int value) { return std::clamp(value, 0, 255); }

// Settings reach this step unchecked (a hand-edited config.ini), so sums of offsets, paddings and
// sizes are formed in 64 bits and brought back into the range of int, never overflowing.
int toInt(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// y of text line k: P + k * (line height + leading).
int lineTop(int padding, int k, int lineHeight, int leading) {
  return toInt(int64_t{padding} + int64_t{k} * (int64_t{lineHeight} + leading));
}

QColor settingColour(const QString& text, int alpha) {
  const Colour colour = parseColor(text);
  return QColor(colour.red, colour.green, colour.blue, clampOpacity(alpha));
}

// Size of the text block and the pitch of its lines.
struct TextBlock {
  QStringList lines;
  bool multiLine = false;
  int width = 0;
  int height = 0;
  int lineHeight = 0;
};

TextBlock measureText(const QString& text, const QFont& font, int leading) {
  QImage scratch = textLayer(10, 10);
  const QFontMetrics metrics(font, &scratch);
  TextBlock block;
  block.lines = watermarkLines(text);
  block.multiLine = block.lines.size() > 1;
  if (!block.multiLine) {
    block.width = metrics.horizontalAdvance(text);
    block.height = block.lineHeight = metrics.height();
    return block;
  }
  int lineWidth = 10;
  for (const QString& line : block.lines) lineWidth = std::max(lineWidth, metrics.horizontalAdvance(line));
  block.lineHeight = std::max(10, metrics.height());
  const auto markers = static_cast<int>(block.lines.size() - 1);
  block.width = lineWidth;
  block.height = toInt(block.lineHeight + int64_t{markers} * (int64_t{block.lineHeight} + leading));
  return block;
}

// Plain text: every pixel is written as is, text and background with their own alpha.
QImage plainTextLayer(const TextBlock& block, QFont font, int layerWidth, int layerHeight,
                      const Settings::Watermark& s) {
  QImage layer = textLayer(layerWidth, layerHeight);
  if (layer.isNull()) return {};
  const QColor back = settingColour(s.backColor, s.backOpacity);
  layer.fill(back);

  font.setStyleStrategy(QFont::NoAntialias);
  const QFontMetrics metrics(font, &layer);
  QPainter painter(&layer);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  painter.setFont(font);
  painter.setPen(settingColour(s.fontColor, s.textOpacity));
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(back);
  const int padding = s.textPadding;
  for (int k = 0; k < block.lines.size(); ++k) {
    const QString& line = block.lines[k];
    const int x = block.multiLine
                      ? alignLine(metrics.horizontalAdvance(line), layerWidth, s.textAlignment, padding)
                      : padding;
    const int y = lineTop(padding, k, block.lineHeight, s.fontLeading);
    painter.drawText(x, y + metrics.ascent(), line);
  }
  return layer;
}

// Antialiased text: the lines as filled outlines, then background and text blended at their
// opacities.
QImage vectorTextLayer(const TextBlock& block, const QFont& font, int layerWidth, int layerHeight,
                       const Settings::Watermark& s) {
  QImage background = textLayer(layerWidth, layerHeight);
  QImage text = textLayer(layerWidth, layerHeight);
  QImage layer = textLayer(layerWidth, layerHeight);
  if (background.isNull() || text.isNull() || layer.isNull()) return {};
  background.fill(settingColour(s.backColor, 255));

  // Glyph outlines and the underline or strike-through bars are filled separately: in one path
  // their overlaps would cancel out under the path's fill rule.
  QFont glyphFont = font;
  glyphFont.setUnderline(false);
  glyphFont.setStrikeOut(false);
  const QFontMetricsF metrics(font, &text);
  const qreal bar = metrics.lineWidth();
  const int padding = s.textPadding;
  QPainterPath glyphs;
  QList<QRectF> bars;
  for (int k = 0; k < block.lines.size(); ++k) {
    const QString& line = block.lines[k];
    const qreal advance = metrics.horizontalAdvance(line);
    const int lineWidth = static_cast<int>(std::lround(advance));
    const int x = block.multiLine ? alignLine(lineWidth, layerWidth, s.textAlignment, padding) : padding;
    const qreal baseline = lineTop(padding, k, block.lineHeight, s.fontLeading) + metrics.ascent();
    glyphs.addText(x, baseline, glyphFont, line);
    if (font.underline()) bars << QRectF(x, baseline + metrics.underlinePos() - bar / 2, advance, bar);
    if (font.strikeOut()) bars << QRectF(x, baseline - metrics.strikeOutPos() - bar / 2, advance, bar);
  }
  {
    const QColor colour = settingColour(s.fontColor, 255);
    QPainter painter(&text);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillPath(glyphs, colour);
    for (const QRectF& rect : bars) painter.fillRect(rect, colour);
  }
  QPainter painter(&layer);
  painter.setOpacity(clampOpacity(s.backOpacity) / 255.0);
  painter.drawImage(0, 0, background);
  painter.setOpacity(clampOpacity(s.textOpacity) / 255.0);
  painter.drawImage(0, 0, text);
  return layer;
}

}  // namespace

WatermarkArea watermarkArea(int width, int height, const Settings& settings) {
  const Settings::Watermark& w = settings.watermark;
  const bool text = w.doWatermark == 1;
  WatermarkArea area;
  area.position = text ? w.textPosition : w.imagePosition;
  area.xOffset = text ? w.textXOffset : w.imageXOffset;
  area.yOffset = text ? w.textYOffset : w.imageYOffset;
  const int boundary = text ? w.textBoundary : w.imageBoundary;
  if (settings.frame.doFrame != 0 && boundary == 1) {
    const Settings::Frame& f = settings.frame;
    area.x = f.solidLeft;
    area.y = f.solidTop;
    area.width = toInt(int64_t{width} - f.solidLeft - f.solidRight);
    area.height = toInt(int64_t{height} - f.solidTop - f.solidBottom);
  } else {
    area.width = width;
    area.height = height;
  }
  return area;
}

QPoint placeWatermark(const WatermarkArea& area, int w, int h) {
  const int left = area.xOffset;
  const int centre = toInt((int64_t{area.width} - w) / 2);
  const int right = toInt(int64_t{area.width} - w - area.xOffset);
  const int top = area.yOffset;
  const int middle = toInt((int64_t{area.height} - h) / 2);
  const int bottom = toInt(int64_t{area.height} - h - area.yOffset);
  QPoint at;
  switch (area.position) {
    case 0:
      at = {left, top};
      break;
    case 1:
      at = {centre, top};
      break;
    case 2:
      at = {right, top};
      break;
    case 3:
      at = {left, middle};
      break;
    case 4:
      at = {centre, middle};
      break;
    case 5:
      at = {right, middle};
      break;
    case 6:
      at = {left, bottom};
      break;
    case 7:
      at = {centre, bottom};
      break;
    case 8:
      at = {right, bottom};
      break;
    default:
      at = {0, 0};
      break;
  }
  return QPoint(toInt(int64_t{at.x()} + area.x), toInt(int64_t{at.y()} + area.y));
}

BitmapPtr fitWatermark(BitmapPtr watermark, const WatermarkArea& area) {
  if (!watermark) return nullptr;
  const int w = static_cast<int>(FreeImage_GetWidth(watermark.get()));
  const int h = static_cast<int>(FreeImage_GetHeight(watermark.get()));
  const bool tooWide = area.width < int64_t{w} + area.xOffset;
  const bool tooHigh = area.height < int64_t{h} + area.yOffset;
  if (!tooWide && !tooHigh) return watermark;
  // Below w and h when cut, so within int.
  const int64_t right = tooWide ? int64_t{area.width} - area.xOffset : w;
  const int64_t bottom = tooHigh ? int64_t{area.height} - area.yOffset : h;
  if (right <= 0 || bottom <= 0) return nullptr;
  return BitmapPtr(FreeImage_Copy(watermark.get(), 0, 0, static_cast<int>(right), static_cast<int>(bottom)));
}

int alignLine(int lineWidth, int layerWidth, int alignment, int padding) {
  switch (alignment) {
    case 0:
      return padding;
    case 1:
      return static_cast<int>(std::floor((double(layerWidth) - lineWidth) / 2.0 + 0.5));
    case 2:
      return toInt(int64_t{layerWidth} - lineWidth - padding);
    default:
      return 0;
  }
}

QRgb greyFilter(QRgb pixel) {
  const int grey = (77 * qRed(pixel) + 150 * qGreen(pixel) + 29 * qBlue(pixel)) >> 8;
  return qRgba(grey, grey, grey, qAlpha(pixel));
}

QString watermarkText(const QString& text, const ConversionJob& job) {
  return text.count(QLatin1Char('%')) > 1 ? expandTokens(text, job) : text;
}

QStringList watermarkLines(const QString& text) {
  if (!text.contains(kLineBreak, Qt::CaseInsensitive)) return {text};
  QString lowered = text;
  lowered.replace(kLineBreak, kLineBreak, Qt::CaseInsensitive);
  return lowered.split(kLineBreak, Qt::KeepEmptyParts);
}

QImage textWatermarkLayer(const QString& text, const QFont& font, const Settings::Watermark& settings) {
  QFont measured = font;
  if (settings.textAntialiasing == 0) measured.setStyleStrategy(QFont::NoAntialias);
  const TextBlock block = measureText(text, measured, settings.fontLeading);
  const int64_t width = block.width + 2 * int64_t{settings.textPadding};
  const int64_t height = block.height + 2 * int64_t{settings.textPadding};
  if (width <= 0 || height <= 0 || width > kMaxWatermarkLayerPixels || height > kMaxWatermarkLayerPixels ||
      width * height > kMaxWatermarkLayerPixels)
    return {};
  const int w = static_cast<int>(width), h = static_cast<int>(height);
  return settings.textAntialiasing == 0 ? plainTextLayer(block, font, w, h, settings)
                                        : vectorTextLayer(block, font, w, h, settings);
}

QImage imageWatermarkLayer(const QString& path, const Settings::Watermark& settings) {
  QImageReader reader(path);
  const QImage source = reader.read();
  if (source.isNull()) return {};
  // Images without an alpha channel lie on opaque black, so every pixel starts opaque.
  QImage layer = source.convertToFormat(QImage::Format_ARGB32);
  if (layer.isNull()) return {};
  const bool opaque = !source.hasAlphaChannel();
  const int opacity = clampOpacity(settings.imageOpacity);
  for (int y = 0; y < layer.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
    for (int x = 0; x < layer.width(); ++x) {
      QRgb pixel = opaque ? (row[x] | 0xff000000u) : row[x];
      if (settings.imageGreyscale != 0) pixel = greyFilter(pixel);
      const int alpha = (qAlpha(pixel) * opacity + 127) / 255;
      row[x] = qRgba(qRed(pixel), qGreen(pixel), qBlue(pixel), alpha);
    }
  }
  return layer;
}

BitmapPtr rotateWatermark(BitmapPtr watermark, int angle) {
  if (!watermark || angle <= 0 || angle >= 360) return watermark;
  return BitmapPtr(FreeImage_Rotate(watermark.get(), angle, nullptr));
}

std::optional<QFont> loadWatermarkFont(const Settings& settings) {
  const Settings::Watermark& w = settings.watermark;
  // Fonts come from the GUI application's font database; without one, no font can be loaded.
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return std::nullopt;
  if (w.fontSize <= 0 || !platform::fontFamilyAvailable(w.font)) return std::nullopt;
  QFont font(w.font.trimmed());
  font.setPointSize(w.fontSize);
  font.setBold(w.fontStyle == 1 || w.fontStyle == 3);
  font.setItalic(w.fontStyle == 2 || w.fontStyle == 3);
  font.setUnderline(w.fontEffect == 1);
  font.setStrikeOut(w.fontEffect == 2);
  return font;
}

BitmapPtr watermark(BitmapPtr bitmap, int width, int height, const Settings& settings,
                    const ConversionJob& job) {
  const Settings::Watermark& w = settings.watermark;
  if (!bitmap || w.doWatermark == 0) return bitmap;
  if (FreeImage_GetBPP(bitmap.get()) != 24) {
    bitmap.reset(FreeImage_ConvertTo24Bits(bitmap.get()));
    if (!bitmap) return nullptr;
  }

  BitmapPtr mark;
  int angle = 0;
  if (w.doWatermark == 1 && job.watermarkFont) {
    mark = bitmapFromLayer(textWatermarkLayer(watermarkText(w.text, job), *job.watermarkFont, w));
    angle = w.textRotation;
  } else if (w.doWatermark == 2) {
    mark = bitmapFromLayer(imageWatermarkLayer(w.image, w));
    angle = w.imageRotation;
  }
  if (!mark) return bitmap;

  // A watermark that leaves no room yields no crop, no canvas and no blend: the file fails.
  const WatermarkArea area = watermarkArea(width, height, settings);
  mark = fitWatermark(rotateWatermark(std::move(mark), angle), area);
  if (!mark) return nullptr;
  const QPoint at = placeWatermark(area, static_cast<int>(FreeImage_GetWidth(mark.get())),
                                   static_cast<int>(FreeImage_GetHeight(mark.get())));
  BitmapPtr canvas(FreeImage_AllocateT(FIT_BITMAP, width, height,
                                       static_cast<int>(FreeImage_GetBPP(mark.get())), 0, 0, 0));
  if (!canvas) return nullptr;
  // Paste leaves the canvas transparent when the watermark does not lie wholly inside it. An
  // alpha above 255 copies the pixels as they are; 255 would blend them with the empty canvas and
  // take about one level off every channel, alpha included.
  FreeImage_Paste(canvas.get(), mark.get(), at.x(), at.y(), 256);
  return BitmapPtr(FreeImage_Composite(canvas.get(), FALSE, nullptr, bitmap.get()));
}
