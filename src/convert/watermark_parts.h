// The pieces of the watermark step: text layout, layers, rotation, crop and placement.
#pragma once

#include "convert/bitmap.h"
#include "convert/conversion_job.h"
#include "settings/settings.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QStringList>

// Where a watermark may go: the whole image, or the part inside the frame, with the anchor
// and offsets of the watermark's kind.
struct WatermarkArea {
  int x = 0;  // origin of the area in the image
  int y = 0;
  int width = 0;
  int height = 0;
  int position = 0;  // 0 Top-Left .. 8 Bottom-Right
  int xOffset = 0;
  int yOffset = 0;
};

// The area for the type in `Watermark/Do Watermark` (1 text, 2 image) on a W x H image. The
// frame's inside counts only when a frame is drawn and the kind's boundary is 1.
WatermarkArea watermarkArea(int width, int height, const Settings& settings);

// Top-left position of a w x h watermark in image coordinates.
QPoint placeWatermark(const WatermarkArea& area, int w, int h);

// Cuts the watermark's top-left part when it does not fit the area with its offsets (the offsets
// count for every position). Null when the offsets leave no room.
BitmapPtr fitWatermark(BitmapPtr watermark, const WatermarkArea& area);

// x of a text line of `lineWidth` in a layer of `layerWidth`: 0 left (padding), 1 centre (an exact
// half goes right), 2 right (padding from the right edge); any other alignment gives 0.
int alignLine(int lineWidth, int layerWidth, int alignment, int padding);

// (77 R + 150 G + 29 B) >> 8 as grey, with the source pixel's alpha.
QRgb greyFilter(QRgb pixel);

// The text as printed: tokens expanded only when it holds more than one "%".
QString watermarkText(const QString& text, const ConversionJob& job);

// The lines of a text, split at "%eol%" in any letter case; empty lines are kept.
QStringList watermarkLines(const QString& text);

// Largest text layer that is drawn, in pixels (8192 x 8192): its four drawing images then stay
// within about a gigabyte, whatever padding or font size the settings hold.
inline constexpr int64_t kMaxWatermarkLayerPixels = int64_t{1} << 26;

// Straight-alpha ARGB32 layer of a text watermark, drawn with `font`. Null when the text has no
// size or the layer would exceed kMaxWatermarkLayerPixels. Needs a QGuiApplication (fonts).
QImage textWatermarkLayer(const QString& text, const QFont& font, const Settings::Watermark& settings);

// Straight-alpha ARGB32 layer of the image file at `path`, read with Qt's image readers, faded by
// `Watermark/Image Opacity` and optionally greyed. Null when the file cannot be read.
QImage imageWatermarkLayer(const QString& path, const Settings::Watermark& settings);

// Turns a 32-bit watermark by `angle` degrees when it lies strictly between 0 and 360; the canvas
// grows and the uncovered corners stay transparent.
BitmapPtr rotateWatermark(BitmapPtr watermark, int angle);
