// Stand-ins for the frame and watermark layers: the image passes unchanged and no watermark font
// is available.
#include "convert/layers.h"

BitmapPtr frame(BitmapPtr bitmap, int, int, const Settings&) { return bitmap; }

BitmapPtr watermark(BitmapPtr bitmap, int, int, const Settings&, const ConversionJob&) { return bitmap; }

std::optional<QFont> loadWatermarkFont(const Settings&) { return std::nullopt; }
