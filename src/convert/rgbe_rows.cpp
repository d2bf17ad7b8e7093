#include "convert/rgbe_rows.h"

#include <array>
#include <cstddef>

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
      bytesToRgbe<4, FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE>(bits, width, out);
    } else {
      indexRowToRgbe(bits, width, bpp, palette, out);
    }
    if (!writer.commitRow()) return false;
  }
  return writer.finish();
}
