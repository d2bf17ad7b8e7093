#include "convert/bitmap.h"

#include <mutex>

namespace {
thread_local FreeImageMessages* currentCapture = nullptr;
}  // namespace

void receiveFreeImageMessage(FREE_IMAGE_FORMAT, const char* message) {
  FreeImageMessages* capture = currentCapture;
  if (capture == nullptr) return;
  if (capture->count_++ == 0 && message != nullptr) capture->first_ = message;
}

void ensureFreeImage() {
  static std::once_flag once;
  std::call_once(once, [] {
    FreeImage_Initialise(FALSE);
    FreeImage_SetOutputMessage(receiveFreeImageMessage);
  });
}

FreeImageMessages::FreeImageMessages() : outer_(currentCapture) {
  ensureFreeImage();
  currentCapture = this;
}

FreeImageMessages::~FreeImageMessages() { currentCapture = outer_; }
