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

// Text or image watermark; the image keeps its size and leaves as 24 bits. Without a usable
// watermark (no font in `job.watermarkFont`, an unreadable image) the image goes on unmarked; a
// watermark whose offsets leave no room gives null, so the file fails.
// A text watermark draws with fonts and needs a QGuiApplication for the whole run (the console
// creates one on the "offscreen" platform); frames and image watermarks need none.
BitmapPtr watermark(BitmapPtr bitmap, int width, int height, const Settings& settings,
                    const ConversionJob& job);

// Loads the run's watermark font from `Watermark/Font`, size (points), style and effect. Empty
// when the family is not installed and has no configured substitute, when the size is not
// positive, or when no QGuiApplication exists. Call on the thread that owns the application.
std::optional<QFont> loadWatermarkFont(const Settings& settings);
