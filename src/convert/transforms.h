// The pixel steps of the pipeline other than frame and watermark. Each takes the current
// bitmap (possibly null) and returns the one that replaces it (possibly null).
#pragma once

#include "convert/bitmap.h"
#include "convert/conversion_job.h"
#include "settings/settings.h"

BitmapPtr rotate(BitmapPtr bitmap, const Settings& settings);
// `width` and `height` are the bitmap's current size. A target above `pixelLimit` pixels fails
// (no bitmap) instead of exhausting memory.
BitmapPtr resize(BitmapPtr bitmap, int width, int height, const Settings& settings,
                 int64_t pixelLimit = kDefaultPixelLimit);
void flip(FIBITMAP* bitmap, const Settings& settings);
BitmapPtr adjustColours(BitmapPtr bitmap, const Settings& settings);
BitmapPtr greyscale(BitmapPtr bitmap, const Settings& settings);
BitmapPtr threshold(BitmapPtr bitmap, const Settings& settings);
// Converts to the job's target depth; chooses it first when the depth is automatic.
BitmapPtr outputDepth(BitmapPtr bitmap, ConversionJob& job);
// True when the depth step hands this bitmap (8, 24 or 32 bits) on as it is for a Radiance
// save at 96 bits: the writer turns its 8-bit samples into RGBE itself, the bytes the float
// image would give, without making one.
bool radianceFromBytes(FIBITMAP* bitmap, const ConversionJob& job);

// FreeImage filter for `Transform/Image Resize Algorithm`.
FREE_IMAGE_FILTER resizeFilter(int algorithm);
