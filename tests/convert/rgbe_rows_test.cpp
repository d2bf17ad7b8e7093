#include "convert/rgbe_rows.h"
#include "convert/hdr_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Every colour through every 8-bit road: single pixels, RGB rows and RGBX rows (whose
// vector code handles sixteen pixels at a time; the odd row width leaves a tail).
TEST(RgbeRows, EveryEightBitColourFollowsTheFloatRule) {
  constexpr int kWidth = 256 * 256 + 7;
  std::vector<uint8_t> rgb(3 * kWidth), rgbx(4 * kWidth, 0xee);
  std::vector<uint8_t> planes[2];
  for (auto& p : planes) p.assign(4 * kWidth, 0);
  const auto view = [](std::vector<uint8_t>& p) {
    return RgbePlanes{p.data(), p.data() + kWidth, p.data() + 2 * kWidth, p.data() + 3 * kWidth};
  };
  int mismatches = 0;
  for (int r = 0; r < 256; ++r) {
    for (int x = 0; x < kWidth; ++x) {
      const uint8_t c[3] = {static_cast<uint8_t>(r), static_cast<uint8_t>(x >> 8), static_cast<uint8_t>(x)};
      std::copy(c, c + 3, &rgb[3 * x]);
      std::copy(c, c + 3, &rgbx[4 * x]);
    }
    rgbRowToRgbe(rgb.data(), kWidth, view(planes[0]));
    rgbxRowToRgbe(rgbx.data(), kWidth, view(planes[1]));
    for (int x = 0; x < kWidth; ++x) {
      const uint8_t* c = &rgb[3 * x];
      const Rgbe rule = floatToRgbe(c[0] / 255.0f, c[1] / 255.0f, c[2] / 255.0f);
      const Rgbe single = rgbeFromBytes(c[0], c[1], c[2]);
      bool same = single == rule;
      for (auto& p : planes) {
        const RgbePlanes v = view(p);
        same = same && Rgbe{v.r[x], v.g[x], v.b[x], v.e[x]} == rule;
      }
      if (!same && ++mismatches < 5) ADD_FAILURE() << int(c[0]) << " " << int(c[1]) << " " << int(c[2]);
    }
  }
  EXPECT_EQ(mismatches, 0);
}

void setPalette(FIBITMAP* bitmap, const std::function<RGBQUAD(unsigned)>& colour) {
  RGBQUAD* palette = FreeImage_GetPalette(bitmap);
  for (unsigned i = 0; i < FreeImage_GetColorsUsed(bitmap); ++i) palette[i] = colour(i);
}

RGBQUAD grey(unsigned v) { return {static_cast<BYTE>(v), static_cast<BYTE>(v), static_cast<BYTE>(v), 0}; }

// An index image: index(x, y) packed at the bitmap's depth.
BitmapPtr indexBitmap(int width, int height, int bpp, const std::function<unsigned(int, int)>& index) {
  return makeBitmap(FIT_BITMAP, width, height, bpp, [&](int x, int y, BYTE* bits) {
    const unsigned i = index(x, y);
    if (bpp == 8) {
      bits[x] = static_cast<BYTE>(i);
    } else if (bpp == 4) {
      bits[x / 2] =
          static_cast<BYTE>((x % 2 == 0) ? (bits[x / 2] & 0x0f) | (i << 4) : (bits[x / 2] & 0xf0) | i);
    } else {
      const BYTE mask = static_cast<BYTE>(0x80 >> (x % 8));
      bits[x / 8] = static_cast<BYTE>(i != 0 ? bits[x / 8] | mask : bits[x / 8] & ~mask);
    }
  });
}

BitmapPtr colourBitmap(int width, int height, int bpp, const std::function<RGBQUAD(int, int)>& colour) {
  return makeBitmap(FIT_BITMAP, width, height, bpp, [&](int x, int y, BYTE* bits) {
    const RGBQUAD c = colour(x, y);
    BYTE* p = bits + x * (bpp / 8);
    p[FI_RGBA_RED] = c.rgbRed;
    p[FI_RGBA_GREEN] = c.rgbGreen;
    p[FI_RGBA_BLUE] = c.rgbBlue;
    if (bpp == 32) p[FI_RGBA_ALPHA] = c.rgbReserved;
  });
}

struct Case {
  const char* name;
  std::function<BitmapPtr()> make;
};

std::vector<Case> bitmapCases() {
  const auto noise = [](unsigned seed) {
    auto rng = std::make_shared<std::mt19937>(seed);
    return [rng](int, int) {
      const unsigned v = (*rng)();
      return RGBQUAD{static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
                     static_cast<BYTE>(v >> 24)};
    };
  };
  const auto randomPalette = [](unsigned seed) {
    auto rng = std::make_shared<std::mt19937>(seed);
    return [rng](unsigned) {
      const unsigned v = (*rng)();
      return RGBQUAD{static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16), 0};
    };
  };
  return {
      // Red and green cover every pair (largest channel, other channel).
      {"24-bit, every pair of samples",
       [] {
         return colourBitmap(256, 256, 24, [](int x, int y) {
           return RGBQUAD{static_cast<BYTE>((x * 7 + y * 13) & 255), static_cast<BYTE>(y),
                          static_cast<BYTE>(x), 0};
         });
       }},
      {"24-bit noise", [=] { return colourBitmap(1001, 97, 24, noise(1)); }},
      {"32-bit noise, alpha ignored", [=] { return colourBitmap(333, 50, 32, noise(2)); }},
      {"8-bit grey ramp",
       [] {
         BitmapPtr b =
             indexBitmap(300, 40, 8, [](int x, int y) { return static_cast<unsigned>(x * 3 + y) & 255; });
         setPalette(b.get(), grey);
         return b;
       }},
      {"8-bit inverted ramp",
       [] {
         BitmapPtr b = indexBitmap(256, 8, 8, [](int x, int) { return static_cast<unsigned>(x); });
         setPalette(b.get(), [](unsigned i) { return grey(255 - i); });
         return b;
       }},
      {"8-bit colour palette",
       [=] {
         BitmapPtr b =
             indexBitmap(256, 30, 8, [](int x, int y) { return static_cast<unsigned>(x ^ y) & 255; });
         setPalette(b.get(), randomPalette(3));
         return b;
       }},
      {"4-bit palette, odd width",
       [=] {
         BitmapPtr b = indexBitmap(37, 20, 4, [](int x, int y) { return static_cast<unsigned>(x + y) % 16; });
         setPalette(b.get(), randomPalette(4));
         return b;
       }},
      {"1-bit black and white, odd width",
       [] {
         BitmapPtr b =
             indexBitmap(45, 20, 1, [](int x, int y) { return static_cast<unsigned>((x / 3 + y) % 2); });
         setPalette(b.get(), [](unsigned i) { return grey(i * 255); });
         return b;
       }},
      {"1-bit two colours",
       [=] {
         BitmapPtr b = indexBitmap(19, 5, 1, [](int x, int y) { return static_cast<unsigned>((x * y) % 2); });
         setPalette(b.get(), randomPalette(5));
         return b;
       }},
  };
}

TEST(RgbeRows, BitmapsMatchConvertToRgbfAndFreeImageSave) {
  TempDir dir;
  for (const Case& c : bitmapCases()) {
    const BitmapPtr bitmap = c.make();
    ASSERT_TRUE(bitmap) << c.name;
    ASSERT_TRUE(canWriteBitmapRadiance(bitmap.get())) << c.name;
    const std::string expected = freeImageHdrOfConverted(bitmap.get(), dir);
    ASSERT_FALSE(expected.empty()) << c.name;
    bool ok = false;
    const std::string actual = writtenBytes(
        dir, [&](RadianceWriter& w) { return writeBitmapRadiance(bitmap.get(), w); }, &ok);
    EXPECT_TRUE(ok) << c.name;
    EXPECT_TRUE(actual == expected) << c.name;
  }
}

TEST(RgbeRows, OtherBitmapsAreLeftToFreeImage) {
  TempDir dir;
  ensureFreeImage();
  const BitmapPtr bitmaps[] = {
      BitmapPtr(FreeImage_AllocateT(FIT_BITMAP, 4, 4, 16)),
      BitmapPtr(FreeImage_AllocateT(FIT_UINT16, 4, 4, 16)),
      BitmapPtr(FreeImage_AllocateT(FIT_RGBAF, 4, 4, 128)),
      BitmapPtr(FreeImage_Load(FIF_JPEG, QUILLET_SAMPLES_DIR "/cheetah_1024x768.jpg", FIF_LOAD_NOPIXELS))};
  for (const BitmapPtr& b : bitmaps) {
    EXPECT_FALSE(canWriteBitmapRadiance(b.get()));
    bool ok = true;
    EXPECT_EQ(writtenBytes(
                  dir, [&](RadianceWriter& w) { return writeBitmapRadiance(b.get(), w); }, &ok),
              "");
    EXPECT_FALSE(ok);
  }
  EXPECT_FALSE(canWriteBitmapRadiance(nullptr));
}

}  // namespace
