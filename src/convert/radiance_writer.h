// Radiance RGBE (.hdr) output, fed row by row, that writes the same bytes as FreeImage's HDR
// writer: the same header, the same float-to-RGBE rule and the same run-length scanlines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// One pixel as the file stores it: three mantissas sharing one exponent (biased by 128).
struct Rgbe {
  uint8_t r = 0, g = 0, b = 0, e = 0;
  friend bool operator==(const Rgbe&, const Rgbe&) = default;
};
static_assert(sizeof(Rgbe) == 4);

// FreeImage's rule: the largest channel v gives the exponent (frexp); each channel becomes
// channel * (mantissa * 256 / v), truncated. Below 1e-32 the pixel is all zero.
Rgbe floatToRgbe(float red, float green, float blue);

// The header FreeImage writes for an image of this size, ending with the resolution line.
std::string radianceHeader(int width, int height);

// Scanlines of widths 8 to 32767 are run-length coded per component; others are stored flat.
bool radianceRowsUseRle(int width);

// Largest width and height the writer accepts (the resolution line's numbers stay sane).
inline constexpr int kRadianceMaxSide = 1 << 30;

// One row split into its four components, each `width` bytes: red, green, blue, exponent.
struct RgbePlanes {
  uint8_t* r = nullptr;
  uint8_t* g = nullptr;
  uint8_t* b = nullptr;
  uint8_t* e = nullptr;
};

// Writes one image: begin() with the size, then the rows top row first, then finish(). Output
// goes to a file descriptor or a FILE* that the caller owns; it is collected in large blocks and
// written in few calls. After a failure every later call returns false and writes nothing more.
class RadianceWriter {
 public:
  explicit RadianceWriter(int fd);
  explicit RadianceWriter(FILE* file);
  RadianceWriter(const RadianceWriter&) = delete;
  RadianceWriter& operator=(const RadianceWriter&) = delete;

  // Starts the image; false for a size outside 1..kRadianceMaxSide or a failed write.
  bool begin(int width, int height);

  // Whole rows of width pixels each, top row first.
  bool writeRows(const Rgbe* pixels, int rows);
  // Whole rows of red, green, blue floats (3 * width per row), top row first.
  bool writeFloatRows(const float* rgb, int rows);

  // Zero-copy road: fill the planes of the next row, then commit it. The planes stay valid
  // until the next commitRow().
  RgbePlanes nextRow() { return planes_; }
  bool commitRow() { return writeRow(planes_); }
  // One row from planes the caller owns (each of width bytes; only read).
  bool writeRow(const RgbePlanes& row);

  // Writes what is still buffered; false when rows are missing or a write failed.
  bool finish();

  bool failed() const { return failed_; }
  // errno of the failed write, 0 when none failed (or the failure was not an I/O error).
  int writeError() const { return writeError_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int rowsWritten() const { return rowsWritten_; }

 private:
  bool ensureRoom(size_t bytes);
  bool flush();
  bool fail(int error);

  int fd_ = -1;
  FILE* file_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int rowsWritten_ = 0;
  bool started_ = false;
  bool failed_ = false;
  int writeError_ = 0;
  std::vector<uint8_t> rowPlanes_;  // 4 * width bytes behind planes_
  RgbePlanes planes_;
  std::vector<uint8_t> out_;  // encoded bytes waiting to be written
  size_t used_ = 0;
};
