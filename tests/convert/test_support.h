// Helpers shared by the engine tests: default settings, fixture images and pixel access.
#pragma once

#include "convert/bitmap.h"
#include "convert/conversion_job.h"
#include "settings/settings.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace testing_support {

QString samplePath(const char* name);  // a file of samples/
QString cheetahPath();                 // samples/cheetah_1024x768.jpg, 24-bit, 1024 by 768

// Settings after the console defaults; output as "hdr" with automatic depth.
Settings defaultSettings();
// A job ready to convert `input` into `outputFolder` (with trailing "/") as "hdr".
ConversionJob hdrJob(const QString& input, const QString& outputFolder);

QByteArray readBytes(const QString& path);
bool writeBytes(const QString& path, const QByteArray& bytes);

// JPEG bytes with an Exif APP1 segment holding only the orientation tag, right after SOI.
QByteArray withExifOrientation(const QByteArray& jpeg, uint16_t orientation);
// JPEG bytes whose SOF0 frame header claims the given size (pixel data unchanged).
QByteArray withFrameSize(const QByteArray& jpeg, uint16_t width, uint16_t height);
// Writes an 8-bit greyscale JPEG made from the cheetah sample.
bool writeGreyscaleJpeg(const QString& path);

// FreeImage loads.
BitmapPtr loadJpeg(const QString& path);  // as the pipeline decodes: accurate, Exif-rotated
BitmapPtr loadHdr(const QString& path);

// A 24-bit bitmap filled with one colour.
BitmapPtr solidBitmap(int width, int height, uint8_t red, uint8_t green, uint8_t blue);

struct Rgb {
  int red, green, blue;
};
struct RgbF {
  float red, green, blue;
};
// Pixel at column x of row y counted from the top.
Rgb pixel(FIBITMAP* bitmap, int x, int y);    // 24 or 32 bits, or 8-bit greyscale
RgbF pixelF(FIBITMAP* bitmap, int x, int y);  // FIT_RGBF

// Radiance files keep eight mantissa bits per channel under a shared exponent.
bool closeToHdr(const RgbF& stored, float red, float green, float blue);

}  // namespace testing_support
