// Helpers of the HDR tests: a temporary folder, whole-file reads, and the FreeImage road that
// the own writer and the stream must match byte for byte.
#pragma once

#include "convert/bitmap.h"
#include "convert/radiance_writer.h"

#include <functional>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string path(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// FreeImage_Save(FIF_HDR) of a FIT_RGBF bitmap, as bytes.
std::string freeImageHdr(FIBITMAP* rgbf, const TempDir& dir);
// FreeImage_ConvertToRGBF then FreeImage_Save(FIF_HDR), as bytes; empty when either fails.
std::string freeImageHdrOfConverted(FIBITMAP* bitmap, const TempDir& dir);
// The FreeImage road of a JPEG: load (accurate, Exif rotation), ConvertToRGBF, save HDR.
std::string freeImageRoad(const std::string& jpegPath, const TempDir& dir);
// What a RadianceWriter writes through a file descriptor, as bytes; ok tells whether the
// body returned true.
std::string writtenBytes(const TempDir& dir, const std::function<bool(RadianceWriter&)>& body,
                         bool* ok = nullptr);

// A bitmap of the given type and size whose pixels are set by fill(x, y, scanline bits),
// with y counted from the top.
BitmapPtr makeBitmap(FREE_IMAGE_TYPE type, int width, int height, int bpp,
                     const std::function<void(int x, int y, BYTE* bits)>& fill);
