#include "convert/rgbe_rows.h"

#include <array>
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// For every largest channel m: the exponent byte, and the mantissa byte of each channel value
// c <= m. A pixel's RGBE depends only on its own three samples, so this table, filled by the
// float rule itself, reproduces that rule exactly.
struct ByteRgbeTable {
  std::array<uint8_t, 256> exponent{};
  std::array<std::array<uint8_t, 256>, 256> mantissa{};
};

const ByteRgbeTable& byteTable() {
  static const ByteRgbeTable table = [] {
    ByteRgbeTable t;
    for (int m = 0; m < 256; ++m) {
      const float largest = static_cast<float>(m) / 255.0f;
      t.exponent[m] = floatToRgbe(largest, largest, largest).e;
      for (int c = 0; c <= m; ++c) {
        t.mantissa[m][c] = floatToRgbe(static_cast<float>(c) / 255.0f, largest, 0.0f).r;
      }
    }
    return t;
  }();
  return table;
}

template <int Step, int Red, int Green, int Blue>
void bytesToRgbe(const uint8_t* px, int width, RgbePlanes out) {
  const ByteRgbeTable& t = byteTable();
  for (int x = 0; x < width; ++x, px += Step) {
    const uint8_t r = px[Red], g = px[Green], b = px[Blue];
    const uint8_t m = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const uint8_t* row = t.mantissa[m].data();
    out.r[x] = row[r];
    out.g[x] = row[g];
    out.b[x] = row[b];
    out.e[x] = t.exponent[m];
  }
}

#if defined(__SSE2__)
// Eight pixels of four bytes each (two registers) to 16-bit lanes of red, green and blue.
template <int RedShift, int GreenShift, int BlueShift>
void channels(__m128i v0, __m128i v1, __m128i& r, __m128i& g, __m128i& b) {
  const __m128i low = _mm_set1_epi32(0xff);
  r = _mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(v0, RedShift), low),
                      _mm_and_si128(_mm_srli_epi32(v1, RedShift), low));
  g = _mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(v0, GreenShift), low),
                      _mm_and_si128(_mm_srli_epi32(v1, GreenShift), low));
  b = _mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(v0, BlueShift), low),
                      _mm_and_si128(_mm_srli_epi32(v1, BlueShift), low));
}

// Exponent field of float(m) for eight 16-bit lanes (0 for m = 0).
inline __attribute__((always_inline)) __m128i floatExponents(__m128i m) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i lo = _mm_srli_epi32(_mm_castps_si128(_mm_cvtepi32_ps(_mm_unpacklo_epi16(m, zero))), 23);
  const __m128i hi = _mm_srli_epi32(_mm_castps_si128(_mm_cvtepi32_ps(_mm_unpackhi_epi16(m, zero))), 23);
  return _mm_packs_epi32(lo, hi);
}

// 2^(141 - E) per 16-bit lane, built as a float; E = 0 gives 0.
inline __attribute__((always_inline)) __m128i halfScales(__m128i exponents) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i top = _mm_set1_epi32(268);
  const auto half = [&](__m128i e) {
    return _mm_cvttps_epi32(_mm_castsi128_ps(_mm_slli_epi32(_mm_sub_epi32(top, e), 23)));
  };
  return _mm_packs_epi32(half(_mm_unpacklo_epi16(exponents, zero)),
                         half(_mm_unpackhi_epi16(exponents, zero)));
}

// The float rule for 8-bit samples c with largest sample m, in integers: the float m / 255
// has exponent e = bits(m) - 8 (1 for m = 255), so the scale is the power of two 2^s with
// s = 8 - e, c * 2^s stays below 2^16, and truncating float(c / 255) * 2^s gives exactly
// floor(c * 2^s / 255) (the float error is below 1/256, the distance to the next integer at
// least 1/255). Division by 255 is the multiply-high by 0x8081 and a shift by 7, exact for
// 16 bits. The exhaustive test over all colours holds this to the float rule.
struct EightPixels {
  __m128i r, g, b, e;
};

inline __attribute__((always_inline)) EightPixels encodeEight(__m128i r, __m128i g, __m128i b) {
  const __m128i m = _mm_max_epi16(r, _mm_max_epi16(g, b));
  const __m128i exponents = floatExponents(m);  // 126 + bits(m), 0 for m = 0
  const __m128i is255 = _mm_cmpeq_epi16(m, _mm_set1_epi16(255));
  const __m128i isZero = _mm_cmpeq_epi16(m, _mm_setzero_si128());
  // Half of 2^s (so that it fits a signed lane); m = 255 has s = 7, one less than its bits say.
  const __m128i half = _mm_sub_epi16(halfScales(exponents), _mm_and_si128(is255, _mm_set1_epi16(64)));
  const __m128i divide = _mm_set1_epi16(static_cast<short>(0x8081));
  const auto mantissa = [&](__m128i c) {
    const __m128i scaled = _mm_mullo_epi16(c, half);
    return _mm_srli_epi16(_mm_mulhi_epu16(_mm_add_epi16(scaled, scaled), divide), 7);
  };
  // 128 + e = E - 6, plus one for m = 255 (is255 is -1 there); 0 for black.
  const __m128i e =
      _mm_andnot_si128(isZero, _mm_sub_epi16(_mm_sub_epi16(exponents, _mm_set1_epi16(6)), is255));
  return {mantissa(r), mantissa(g), mantissa(b), e};
}

// Four-byte pixels to RGBE, sixteen at a time; the rest goes through the table.
template <int RedShift, int GreenShift, int BlueShift>
int quadsToRgbeSimd(const uint8_t* px, int width, RgbePlanes out) {
  int x = 0;
  for (; x + 16 <= width; x += 16, px += 64) {
    __m128i r[2], g[2], b[2];
    for (int half = 0; half < 2; ++half) {
      const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + 32 * half));
      const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + 32 * half + 16));
      channels<RedShift, GreenShift, BlueShift>(v0, v1, r[half], g[half], b[half]);
    }
    const EightPixels a = encodeEight(r[0], g[0], b[0]);
    const EightPixels c = encodeEight(r[1], g[1], b[1]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out.r + x), _mm_packus_epi16(a.r, c.r));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out.g + x), _mm_packus_epi16(a.g, c.g));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out.b + x), _mm_packus_epi16(a.b, c.b));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out.e + x), _mm_packus_epi16(a.e, c.e));
  }
  return x;
}
#endif

// Four-byte pixels with the channels at the given byte positions.
template <int Red, int Green, int Blue>
void quadsToRgbe(const uint8_t* px, int width, RgbePlanes out) {
  int x = 0;
#if defined(__SSE2__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  x = quadsToRgbeSimd<8 * Red, 8 * Green, 8 * Blue>(px, width, out);
#endif
  bytesToRgbe<4, Red, Green, Blue>(px + 4 * x, width - x, {out.r + x, out.g + x, out.b + x, out.e + x});
}

using PixelTable = std::array<Rgbe, 256>;

const PixelTable& greyTable() {
  static const PixelTable table = [] {
    PixelTable t;
    for (int v = 0; v < 256; ++v) {
      const auto b = static_cast<uint8_t>(v);
      t[v] = rgbeFromBytes(b, b, b);
    }
    return t;
  }();
  return table;
}

void putPixel(RgbePlanes out, int x, const Rgbe& p) {
  out.r[x] = p.r;
  out.g[x] = p.g;
  out.b[x] = p.b;
  out.e[x] = p.e;
}

// Palette bitmaps: every index maps to one RGBE, whatever the palette holds.
PixelTable paletteTable(FIBITMAP* bitmap) {
  PixelTable t{};
  const RGBQUAD* palette = FreeImage_GetPalette(bitmap);
  const unsigned colours = palette != nullptr ? FreeImage_GetColorsUsed(bitmap) : 0;
  for (unsigned i = 0; i < colours && i < 256; ++i) {
    t[i] = rgbeFromBytes(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
  }
  return t;
}

void indexRowToRgbe(const uint8_t* bits, int width, unsigned bpp, const PixelTable& t, RgbePlanes out) {
  for (int x = 0; x < width; ++x) {
    unsigned index = 0;
    if (bpp == 8) {
      index = bits[x];
    } else if (bpp == 4) {
      index = (x & 1) != 0 ? bits[x >> 1] & 0x0f : bits[x >> 1] >> 4;
    } else {
      index = (bits[x >> 3] >> (7 - (x & 7))) & 1;
    }
    putPixel(out, x, t[index]);
  }
}

void floatRowToRgbe(const FIRGBF* px, int width, RgbePlanes out) {
  for (int x = 0; x < width; ++x) putPixel(out, x, floatToRgbe(px[x].red, px[x].green, px[x].blue));
}

}  // namespace

Rgbe rgbeFromBytes(uint8_t red, uint8_t green, uint8_t blue) {
  const ByteRgbeTable& t = byteTable();
  const uint8_t m = red > green ? (red > blue ? red : blue) : (green > blue ? green : blue);
  return {t.mantissa[m][red], t.mantissa[m][green], t.mantissa[m][blue], t.exponent[m]};
}

void rgbRowToRgbe(const uint8_t* rgb, int width, RgbePlanes out) { bytesToRgbe<3, 0, 1, 2>(rgb, width, out); }

void rgbxRowToRgbe(const uint8_t* rgbx, int width, RgbePlanes out) { quadsToRgbe<0, 1, 2>(rgbx, width, out); }

void greyRowToRgbe(const uint8_t* grey, int width, RgbePlanes out) {
  const PixelTable& t = greyTable();
  for (int x = 0; x < width; ++x) putPixel(out, x, t[grey[x]]);
}

bool canWriteBitmapRadiance(FIBITMAP* bitmap) {
  if (bitmap == nullptr || !FreeImage_HasPixels(bitmap)) return false;
  switch (FreeImage_GetImageType(bitmap)) {
    case FIT_RGBF:
      return true;
    case FIT_BITMAP:
      switch (FreeImage_GetBPP(bitmap)) {
        case 1:
        case 4:
        case 8:
        case 24:
        case 32:
          return true;
        default:
          return false;
      }
    default:
      return false;
  }
}

bool writeBitmapRadiance(FIBITMAP* bitmap, RadianceWriter& writer) {
  if (!canWriteBitmapRadiance(bitmap)) return false;
  const int width = static_cast<int>(FreeImage_GetWidth(bitmap));
  const int height = static_cast<int>(FreeImage_GetHeight(bitmap));
  const bool isFloat = FreeImage_GetImageType(bitmap) == FIT_RGBF;
  const unsigned bpp = FreeImage_GetBPP(bitmap);
  const PixelTable palette = !isFloat && bpp <= 8 ? paletteTable(bitmap) : PixelTable{};
  if (!writer.begin(width, height)) return false;
  for (int y = 0; y < height; ++y) {
    // FreeImage keeps the bottom row first; the file starts with the top row.
    const uint8_t* bits = FreeImage_GetScanLine(bitmap, height - 1 - y);
    const RgbePlanes out = writer.nextRow();
    if (isFloat) {
      floatRowToRgbe(reinterpret_cast<const FIRGBF*>(bits), width, out);
    } else if (bpp == 24) {
      bytesToRgbe<3, FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE>(bits, width, out);
    } else if (bpp == 32) {
      quadsToRgbe<FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE>(bits, width, out);
    } else {
      indexRowToRgbe(bits, width, bpp, palette, out);
    }
    if (!writer.commitRow()) return false;
  }
  return writer.finish();
}
