#include "convert/hdr_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <unistd.h>

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quillet-hdr-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string freeImageHdr(FIBITMAP* rgbf, const TempDir& dir) {
  ensureFreeImage();
  const std::string path = dir.path("freeimage.hdr");
  std::filesystem::remove(path);
  if (!FreeImage_Save(FIF_HDR, rgbf, path.c_str(), 0)) return {};
  return readFile(path);
}

std::string freeImageHdrOfConverted(FIBITMAP* bitmap, const TempDir& dir) {
  BitmapPtr rgbf(FreeImage_ConvertToRGBF(bitmap));
  return rgbf ? freeImageHdr(rgbf.get(), dir) : std::string();
}

std::string freeImageRoad(const std::string& jpegPath, const TempDir& dir) {
  ensureFreeImage();
  BitmapPtr loaded(FreeImage_Load(FIF_JPEG, jpegPath.c_str(), JPEG_ACCURATE | JPEG_EXIFROTATE));
  return loaded ? freeImageHdrOfConverted(loaded.get(), dir) : std::string();
}

std::string writtenBytes(const TempDir& dir, const std::function<bool(RadianceWriter&)>& body, bool* ok) {
  const std::string path = dir.path("own.hdr");
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  EXPECT_GE(fd, 0);
  RadianceWriter writer(fd);
  const bool result = body(writer);
  ::close(fd);
  if (ok != nullptr) *ok = result;
  return readFile(path);
}

BitmapPtr makeBitmap(FREE_IMAGE_TYPE type, int width, int height, int bpp,
                     const std::function<void(int x, int y, BYTE* bits)>& fill) {
  ensureFreeImage();
  BitmapPtr bitmap(FreeImage_AllocateT(type, width, height, bpp));
  if (!bitmap) return bitmap;
  for (int y = 0; y < height; ++y) {
    BYTE* bits = FreeImage_GetScanLine(bitmap.get(), height - 1 - y);
    for (int x = 0; x < width; ++x) fill(x, y, bits);
  }
  return bitmap;
}
