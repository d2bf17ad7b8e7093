// Process entry.
#include "i18n/product.h"
#include "platform/console.h"

#include <cstring>

int main(int argc, char** argv) {
  if (argc > 1 && (std::strcmp(argv[1], "-v") == 0 || std::strcmp(argv[1], "--version") == 0)) {
    platform::printLine(product::versionText(product::kVersion));
    return 0;
  }
  return 0;
}
