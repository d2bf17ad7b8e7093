# Third-party libraries, all from Debian's packages (scripts/setup installs them).
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Network Test)
find_package(PkgConfig REQUIRED)
pkg_check_modules(LibArchive REQUIRED IMPORTED_TARGET libarchive)
pkg_check_modules(Fontconfig REQUIRED IMPORTED_TARGET fontconfig)
find_package(JPEG REQUIRED)
find_package(Threads REQUIRED)

# FreeImage ships no CMake or pkg-config files on Debian.
find_path(FREEIMAGE_INCLUDE_DIR FreeImage.h REQUIRED)
find_library(FREEIMAGE_LIBRARY NAMES freeimage REQUIRED)
add_library(FreeImage::FreeImage UNKNOWN IMPORTED)
set_target_properties(FreeImage::FreeImage PROPERTIES
  IMPORTED_LOCATION "${FREEIMAGE_LIBRARY}"
  INTERFACE_INCLUDE_DIRECTORIES "${FREEIMAGE_INCLUDE_DIR}")

if(QUILLET_TESTS)
  find_package(GTest REQUIRED)
endif()
