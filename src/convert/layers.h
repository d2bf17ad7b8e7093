// Frame and watermark steps: drawn as transparent 32-bit layers and composited by FreeImage.
#pragma once

#include "convert/bitmap.h"
#include "convert/conversion_job.h"
#include "settings/settings.h"

#include <QFont>

#include <optional>

// Solid frame over the image's edges; the image keeps its size. Any frame type other than 0
// leaves a 24-bit image.
BitmapPtr frame(BitmapPtr bitmap, int width, int height, const Settings& settings);

// Text or image watermark; the image keeps its size.
BitmapPtr watermark(BitmapPtr bitmap, int width, int height, const Settings& settings,
                    const ConversionJob& job);

// Loads the run's watermark font from `Watermark/Font`, size, style and effect. Empty when the
// family is not installed and has no configured substitute. Needs a QGuiApplication.
std::optional<QFont> loadWatermarkFont(const Settings& settings);
