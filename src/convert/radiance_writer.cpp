#include "convert/radiance_writer.h"

#include <FreeImage.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <new>

#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr size_t kBlockBytes = size_t{1} << 20;  // output collected before one write
constexpr size_t kMaxRun = 127;
constexpr size_t kMaxLiteral = 128;

// A float to a byte the way a C cast does it on x86-64: truncate to a 32-bit integer and keep
// the low byte; out-of-range values and NaN give the "integer indefinite" 0x80000000, hence 0.
uint8_t truncateToByte(float value) {
  if (!(value > -2147483649.0f && value < 2147483648.0f)) return 0;
  return static_cast<uint8_t>(static_cast<uint32_t>(static_cast<int32_t>(value)));
}

// Widest scanline that is run-length coded, and the 64-bit mask words that cover it, plus one
// zero word past the end.
constexpr size_t kMaxCodedWidth = 0x7fff;
constexpr size_t kMaskWords = (kMaxCodedWidth + 63) / 64 + 1;

// Bit i (bit i % 64 of word i / 64) says d[i] == d[i + 1]; it is never set for the last byte,
// and the words after the last are zero. Fills (n + 63) / 64 + 1 words.
void equalNextMask(const uint8_t* d, size_t n, uint64_t* e) {
  const size_t words = (n + 63) / 64 + 1;
  size_t i = 0;
#if defined(__SSE2__)
  const auto equalNext16 = [d](size_t at) {  // reads d[at] to d[at + 16]
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + at));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + at + 1));
    return static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, next))));
  };
  for (; i + 65 <= n; i += 64) {
    e[i / 64] =
        equalNext16(i) | equalNext16(i + 16) << 16 | equalNext16(i + 32) << 32 | equalNext16(i + 48) << 48;
  }
  std::memset(e + i / 64, 0, (words - i / 64) * sizeof *e);
  for (; i + 17 <= n; i += 16) e[i / 64] |= equalNext16(i) << (i % 64);
#else
  std::memset(e, 0, words * sizeof *e);
#endif
  for (; i + 1 < n; ++i) {
    if (d[i] == d[i + 1]) e[i / 64] |= uint64_t{1} << (i % 64);
  }
}

// Bit i says d[i] == d[i + 1] == d[i + 2] == d[i + 3]: a run of four starts at i.
void runStartMask(const uint64_t* e, size_t n, uint64_t* r) {
  const size_t words = (n + 63) / 64;
  for (size_t w = 0; w < words; ++w) {
    r[w] = e[w] & ((e[w] >> 1) | (e[w + 1] << 63)) & ((e[w] >> 2) | (e[w + 1] << 62));
  }
}

// First index q >= from where a run of four starts; n when there is none.
size_t nextRunStart(const uint64_t* r, size_t from, size_t n) {
  const size_t words = (n + 63) / 64;
  size_t w = from / 64;
  if (w >= words) return n;
  uint64_t bits = r[w] & (~uint64_t{0} << (from % 64));
  while (bits == 0) {
    if (++w >= words) return n;
    bits = r[w];
  }
  return w * 64 + static_cast<size_t>(__builtin_ctzll(bits));
}

// Length of the run of equal bytes from start, at most kMaxRun (the mask ends it before n).
size_t runLength(const uint64_t* e, size_t start) {
  size_t equal = 0;  // bytes after start that equal their predecessor
  size_t at = start;
  while (equal < kMaxRun - 1) {
    const unsigned shift = at % 64;
    const uint64_t ones = ~(e[at / 64] >> shift);  // the bits above 63 - shift read as ones
    const size_t count = ones == 0 ? 64 : static_cast<size_t>(__builtin_ctzll(ones));
    equal += count;
    if (count < 64 - shift) break;
    at += 64 - shift;
  }
  return std::min(equal, kMaxRun - 1) + 1;
}

// Copies a literal block; may write up to 63 bytes past its end (the output keeps that much
// slack) but reads only below `readable`. Short blocks, the common case, take one fixed-size
// copy, which spares a data-dependent branch.
void copyLiteral(uint8_t* out, const uint8_t* src, size_t count, size_t readable) {
  size_t k = 0;
#if defined(__SSE2__)
  const auto copy16 = [&](size_t at) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at),
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + at)));
  };
  if (count <= 64 && readable >= 64) {
    copy16(0), copy16(16), copy16(32), copy16(48);
    return;
  }
  for (; k + 16 <= count; k += 16) copy16(k);
  if (k < count && k + 16 <= readable) {
    copy16(k);
    return;
  }
#endif
  std::memcpy(out + k, src + k, count - k);
}

// One component of a scanline in the new-style run-length code. The decisions are those of the
// classic Radiance encoder: runs of four or more become run codes (at most 127 long); the bytes
// between them become literal blocks of at most 128, except that a lone run of two or three
// just before a long run becomes a run code of its own.
uint8_t* encodeComponent(const uint8_t* d, size_t n, uint8_t* out) {
  uint64_t equalNext[kMaskWords + 1];
  uint64_t runStarts[kMaskWords];
  equalNextMask(d, n, equalNext);
  runStartMask(equalNext, n, runStarts);
  size_t cur = 0;
  while (cur < n) {
    const size_t runStart = nextRunStart(runStarts, cur, n);
    const size_t gap = runStart - cur;
    if ((gap == 2 || gap == 3) && d[cur] == d[cur + 1] && d[cur] == d[runStart - 1]) {
      *out++ = static_cast<uint8_t>(128 + gap);
      *out++ = d[cur];
      cur = runStart;
    }
    while (cur < runStart) {
      const size_t count = std::min(runStart - cur, kMaxLiteral);
      *out++ = static_cast<uint8_t>(count);
      copyLiteral(out, d + cur, count, n - cur);
      out += count;
      cur += count;
    }
    if (runStart < n) {
      const size_t run = runLength(equalNext, runStart);
      *out++ = static_cast<uint8_t>(128 + run);
      *out++ = d[runStart];
      cur = runStart + run;
    }
  }
  return out;
}

// Upper bound of one coded component: a count byte per literal block of 128.
size_t componentBound(size_t n) { return n + (n + kMaxLiteral - 1) / kMaxLiteral; }

// Bytes a coded scanline may need in the output, with the slack of copyLiteral.
size_t codedRowBound(size_t width) { return 4 + 4 * componentBound(width) + 64; }

}  // namespace

Rgbe floatToRgbe(float red, float green, float blue) {
  float v = red;
  if (green > v) v = green;
  if (blue > v) v = blue;
  if (v < 1e-32) return {};
  int exponent = 0;
  const float scale = static_cast<float>(std::frexp(v, &exponent) * 256.0 / v);
  return {truncateToByte(red * scale), truncateToByte(green * scale), truncateToByte(blue * scale),
          static_cast<uint8_t>(exponent + 128)};
}

std::string radianceHeader(int width, int height) {
  std::string header = "#?RADIANCE\n# Made with FreeImage ";
  header += FreeImage_GetVersion();
  header += "\nFORMAT=32-bit_rle_rgbe\nGAMMA=1\nEXPOSURE=1\n\n-Y ";
  header += std::to_string(height);
  header += " +X ";
  header += std::to_string(width);
  header += '\n';
  return header;
}

bool radianceRowsUseRle(int width) { return width >= 8 && static_cast<size_t>(width) <= kMaxCodedWidth; }

RadianceWriter::RadianceWriter(int fd) : fd_(fd) {}
RadianceWriter::RadianceWriter(FILE* file) : file_(file) {}

bool RadianceWriter::fail(int error) {
  failed_ = true;
  writeError_ = error;
  return false;
}

bool RadianceWriter::begin(int width, int height) {
  if (failed_) return false;
  if (started_ || width < 1 || height < 1 || width > kRadianceMaxSide || height > kRadianceMaxSide) {
    return fail(0);
  }
  started_ = true;
  width_ = width;
  height_ = height;
  const size_t w = static_cast<size_t>(width);
  try {
    rowPlanes_.assign(4 * w, 0);
    out_.resize(std::max(kBlockBytes, 2 * (radianceRowsUseRle(width) ? codedRowBound(w) : 0)));
  } catch (const std::bad_alloc&) {
    return fail(ENOMEM);
  }
  planes_ = {rowPlanes_.data(), rowPlanes_.data() + w, rowPlanes_.data() + 2 * w, rowPlanes_.data() + 3 * w};
  const std::string header = radianceHeader(width, height);
  if (!ensureRoom(header.size())) return false;
  std::memcpy(out_.data() + used_, header.data(), header.size());
  used_ += header.size();
  return true;
}

// The block holds at least two coded rows (begin() sizes it), so a flush always makes room.
bool RadianceWriter::ensureRoom(size_t bytes) {
  if (out_.size() - used_ >= bytes) return true;
  return flush();
}

bool RadianceWriter::flush() {
  const uint8_t* p = out_.data();
  size_t left = used_;
  used_ = 0;
  if (file_ != nullptr) {
    if (left > 0 && std::fwrite(p, 1, left, file_) != left) return fail(errno);
    return true;
  }
  while (left > 0) {
    const ssize_t n = ::write(fd_, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    if (n == 0) return fail(EIO);
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

bool RadianceWriter::writeRow(const RgbePlanes& row) {
  if (failed_) return false;
  if (!started_ || rowsWritten_ >= height_) return fail(0);
  const size_t w = static_cast<size_t>(width_);
  if (radianceRowsUseRle(width_)) {
    if (!ensureRoom(codedRowBound(w))) return false;
    uint8_t* out = out_.data() + used_;
    *out++ = 2;
    *out++ = 2;
    *out++ = static_cast<uint8_t>(w >> 8);
    *out++ = static_cast<uint8_t>(w & 0xff);
    out = encodeComponent(row.r, w, out);
    out = encodeComponent(row.g, w, out);
    out = encodeComponent(row.b, w, out);
    out = encodeComponent(row.e, w, out);
    used_ = static_cast<size_t>(out - out_.data());
  } else {
    // Flat pixels, interleaved in pieces so that a very wide row needs no row-sized block.
    size_t x = 0;
    while (x < w) {
      if (out_.size() - used_ < 4 && !flush()) return false;
      const size_t count = std::min(w - x, (out_.size() - used_) / 4);
      uint8_t* out = out_.data() + used_;
      for (size_t i = x; i < x + count; ++i) {
        *out++ = row.r[i];
        *out++ = row.g[i];
        *out++ = row.b[i];
        *out++ = row.e[i];
      }
      used_ += 4 * count;
      x += count;
    }
  }
  ++rowsWritten_;
  if (used_ >= kBlockBytes) return flush();
  return true;
}

bool RadianceWriter::writeRows(const Rgbe* pixels, int rows) {
  const size_t w = static_cast<size_t>(width_);
  for (int y = 0; y < rows; ++y) {
    if (failed_) return false;
    const Rgbe* row = pixels + static_cast<size_t>(y) * w;
    for (size_t x = 0; x < w; ++x) {
      planes_.r[x] = row[x].r;
      planes_.g[x] = row[x].g;
      planes_.b[x] = row[x].b;
      planes_.e[x] = row[x].e;
    }
    if (!commitRow()) return false;
  }
  return !failed_;
}

bool RadianceWriter::writeFloatRows(const float* rgb, int rows) {
  const size_t w = static_cast<size_t>(width_);
  for (int y = 0; y < rows; ++y) {
    if (failed_) return false;
    const float* row = rgb + static_cast<size_t>(y) * 3 * w;
    for (size_t x = 0; x < w; ++x) {
      const Rgbe p = floatToRgbe(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
      planes_.r[x] = p.r;
      planes_.g[x] = p.g;
      planes_.b[x] = p.b;
      planes_.e[x] = p.e;
    }
    if (!commitRow()) return false;
  }
  return !failed_;
}

bool RadianceWriter::finish() {
  if (failed_) return false;
  if (!started_ || rowsWritten_ != height_) return fail(0);
  if (!flush()) return false;
  if (file_ != nullptr && std::fflush(file_) != 0) return fail(errno);
  return true;
}
