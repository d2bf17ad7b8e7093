// RAII ownership of FreeImage bitmaps, library start-up and capture of its messages.
#pragma once

#include <FreeImage.h>

#include <memory>
#include <string>

struct BitmapDeleter {
  void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};

// The one live bitmap of the pipeline. A step takes it and returns its replacement; when it
// makes a new bitmap, the one it received is released by going out of scope.
using BitmapPtr = std::unique_ptr<FIBITMAP, BitmapDeleter>;

// Initialises FreeImage once per process (safe to call from any thread, any number of times)
// and routes its messages to the capture of the calling thread, if any.
void ensureFreeImage();

// Collects the messages FreeImage reports on this thread (decoder warnings and errors) while it
// lives. Captures nest: the innermost one receives the messages.
class FreeImageMessages {
 public:
  FreeImageMessages();
  ~FreeImageMessages();
  FreeImageMessages(const FreeImageMessages&) = delete;
  FreeImageMessages& operator=(const FreeImageMessages&) = delete;

  bool any() const { return count_ > 0; }
  int count() const { return count_; }
  const std::string& first() const { return first_; }

 private:
  friend void receiveFreeImageMessage(FREE_IMAGE_FORMAT, const char*);
  FreeImageMessages* outer_ = nullptr;
  int count_ = 0;
  std::string first_;
};
