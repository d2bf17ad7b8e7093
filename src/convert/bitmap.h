// RAII ownership of FreeImage bitmaps, and library start-up.
#pragma once

#include <FreeImage.h>

#include <memory>

struct BitmapDeleter {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};

// The one live bitmap of the pipeline. A step takes it and returns its replacement; when it
// makes a new bitmap, the one it received is released by going out of scope.
using BitmapPtr = std::unique_ptr<FIBITMAP, BitmapDeleter>;

// Initialises FreeImage once per process (safe to call from any thread, any number of times).
void ensureFreeImage();
