#include "convert/bitmap.h"

#include <mutex>

void ensureFreeImage() {
  static std::once_flag once;
  std::call_once(once, [] { FreeImage_Initialise(FALSE); });
}
