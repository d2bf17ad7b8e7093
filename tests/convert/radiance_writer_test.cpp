#include "convert/radiance_writer.h"
#include "convert/hdr_test_support.h"
#include "convert/rgbe_rows.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using Fill = std::function<void(int x, int y, FIRGBF& pixel)>;

BitmapPtr floatBitmap(int width, int height, const Fill& fill) {
  return makeBitmap(FIT_RGBF, width, height, 96,
                    [&](int x, int y, BYTE* bits) { fill(x, y, reinterpret_cast<FIRGBF*>(bits)[x]); });
}

// Run lengths that exercise the coder's decisions: short runs, runs of exactly four, runs
// around the 127 limit.
int runLength(std::mt19937& rng) {
  static const int kLengths[] = {1, 1, 1, 2, 2, 3, 3, 4, 5, 8, 126, 127, 128, 130, 300};
  return kLengths[rng() % std::size(kLengths)];
}

// One value per pixel, in runs of random length over a small alphabet.
std::vector<int> runs(size_t count, int alphabet, std::mt19937& rng) {
  std::vector<int> out;
  while (out.size() < count) {
    const int value = static_cast<int>(rng() % alphabet);
    out.insert(out.end(), runLength(rng), value);
  }
  out.resize(count);
  return out;
}

// Each component plane gets its own runs: mantissas from values in [0.5, 1) per channel, and
// the shared exponent from a power of two per pixel.
Fill runsFill(int width, int height, unsigned seed) {
  std::mt19937 rng(seed);
  const size_t n = static_cast<size_t>(width) * height;
  auto r = std::make_shared<std::vector<int>>(runs(n, 4, rng));
  auto g = std::make_shared<std::vector<int>>(runs(n, 3, rng));
  auto b = std::make_shared<std::vector<int>>(runs(n, 5, rng));
  auto e = std::make_shared<std::vector<int>>(runs(n, 3, rng));
  return [=](int x, int y, FIRGBF& p) {
    const size_t i = static_cast<size_t>(y) * width + x;
    const float scale = std::ldexp(1.0f, (*e)[i] - 1);
    p.red = (0.5f + (*r)[i] / 8.0f) * scale;
    p.green = (0.5f + (*g)[i] / 8.0f) * scale;
    p.blue = (0.5f + (*b)[i] / 10.0f) * scale;
  };
}

Fill gradientFill(int width, int height) {
  return [=](int x, int y, FIRGBF& p) {
    p.red = static_cast<float>(x) / width;
    p.green = static_cast<float>(y) / height;
    p.blue = static_cast<float>((x + y) % 97) / 96.0f;
  };
}

Fill constantFill(float r, float g, float b) {
  return [=](int, int, FIRGBF& p) { p = {r, g, b}; };
}

struct Case {
  const char* name;
  int width, height;
  Fill fill;
};

// The sample photo, decoded and converted to floats by FreeImage.
Fill photoFill(int& width, int& height) {
  ensureFreeImage();
  BitmapPtr photo(FreeImage_Load(FIF_JPEG, QUILLET_SAMPLES_DIR "/cheetah_1024x768.jpg", JPEG_ACCURATE));
  auto rgbf = std::shared_ptr<FIBITMAP>(FreeImage_ConvertToRGBF(photo.get()), FreeImage_Unload);
  width = static_cast<int>(FreeImage_GetWidth(rgbf.get()));
  height = static_cast<int>(FreeImage_GetHeight(rgbf.get()));
  const int h = height;
  return [rgbf, h](int x, int y, FIRGBF& p) {
    p = reinterpret_cast<const FIRGBF*>(FreeImage_GetScanLine(rgbf.get(), h - 1 - y))[x];
  };
}

std::vector<Case> writerCases() {
  std::mt19937 rng(7);
  std::vector<float> wide(3 * 64 * 64);
  for (float& v : wide) {
    const float sign = rng() % 5 == 0 ? -1.0f : 1.0f;
    v = rng() % 11 == 0
            ? 0.0f
            : sign * std::ldexp(static_cast<float>(rng() % 100000) / 100000.0f, rng() % 220 - 120);
  }
  const auto wideFill = [wide](int x, int y, FIRGBF& p) {
    const size_t i = 3 * (static_cast<size_t>(y) * 64 + x);
    p = {wide[i], wide[i + 1], wide[i + 2]};
  };
  const auto tinyFill = [](int x, int, FIRGBF& p) {
    static const float kValues[] = {0.0f, 1e-33f, 9.9e-33f, 1e-32f, 1.1e-32f, 3e-32f, 1e-20f, 0.5f};
    p = {kValues[x % 8], kValues[(x / 8) % 8], kValues[(x / 64) % 8]};
  };
  const auto greyFill = [](int x, int y, FIRGBF& p) {
    const float v = static_cast<float>((x + 3 * y) % 256) / 255.0f;
    p = {v, v, v};
  };
  int photoWidth = 0, photoHeight = 0;
  Fill photo = photoFill(photoWidth, photoHeight);
  return {
      {"decoded photo", photoWidth, photoHeight, photo},
      {"one pixel", 1, 1, constantFill(0.3f, 0.6f, 0.9f)},
      {"width 7 is flat", 7, 5, gradientFill(7, 5)},
      {"width 8 is coded", 8, 5, runsFill(8, 5, 1)},
      {"width 32767 is coded", 32767, 2, runsFill(32767, 2, 2)},
      {"width 32768 is flat", 32768, 2, gradientFill(32768, 2)},
      {"flat colour", 300, 20, constantFill(0.25f, 0.5f, 0.75f)},
      {"black", 40, 3, constantFill(0.0f, 0.0f, 0.0f)},
      {"runs of every length", 1500, 200, runsFill(1500, 200, 3)},
      {"large gradient", 2048, 600, gradientFill(2048, 600)},
      {"grey", 256, 16, greyFill},
      {"values around 1e-32", 512, 2, tinyFill},
      {"wide range with negatives", 64, 64, wideFill},
  };
}

TEST(RadianceWriter, MatchesFreeImageByteForByte) {
  TempDir dir;
  for (const Case& c : writerCases()) {
    const BitmapPtr bitmap = floatBitmap(c.width, c.height, c.fill);
    ASSERT_TRUE(bitmap) << c.name;
    const std::string expected = freeImageHdr(bitmap.get(), dir);
    ASSERT_FALSE(expected.empty()) << c.name;
    bool ok = false;
    const std::string actual = writtenBytes(
        dir, [&](RadianceWriter& w) { return writeBitmapRadiance(bitmap.get(), w); }, &ok);
    EXPECT_TRUE(ok) << c.name;
    EXPECT_EQ(actual.size(), expected.size()) << c.name;
    EXPECT_TRUE(actual == expected) << c.name;
  }
}

// The coder looks at 16 and 64 bytes at a time: every width around those steps, with runs that
// cross them.
TEST(RadianceWriter, EveryShortWidthMatchesFreeImage) {
  TempDir dir;
  for (int width = 8; width <= 200; ++width) {
    const BitmapPtr bitmap = floatBitmap(width, 3, runsFill(width, 3, static_cast<unsigned>(width)));
    ASSERT_TRUE(bitmap) << width;
    const std::string expected = freeImageHdr(bitmap.get(), dir);
    const std::string actual =
        writtenBytes(dir, [&](RadianceWriter& w) { return writeBitmapRadiance(bitmap.get(), w); });
    EXPECT_TRUE(actual == expected) << "width " << width;
  }
}

TEST(RadianceWriter, HeaderFieldByField) {
  TempDir dir;
  const BitmapPtr bitmap = floatBitmap(5, 3, constantFill(1, 1, 1));
  const std::string file = freeImageHdr(bitmap.get(), dir);
  std::istringstream in(file);
  std::vector<std::string> lines;
  for (std::string line; lines.size() < 7 && std::getline(in, line);) lines.push_back(line);
  const std::vector<std::string> expected = {"#?RADIANCE",
                                             std::string("# Made with FreeImage ") + FreeImage_GetVersion(),
                                             "FORMAT=32-bit_rle_rgbe",
                                             "GAMMA=1",
                                             "EXPOSURE=1",
                                             "",
                                             "-Y 3 +X 5"};
  EXPECT_EQ(lines, expected);
  const std::string header = radianceHeader(5, 3);
  EXPECT_EQ(file.substr(0, header.size()), header);
  EXPECT_EQ(file.size(), header.size() + 5 * 3 * 4);  // width 5: flat pixels
}

TEST(RadianceWriter, EveryInputFormGivesTheSameFile) {
  TempDir dir;
  const int width = 300, height = 9;
  const BitmapPtr bitmap = floatBitmap(width, height, runsFill(width, height, 4));
  std::vector<float> rgb;
  std::vector<Rgbe> pixels;
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const FIRGBF*>(FreeImage_GetScanLine(bitmap.get(), height - 1 - y));
    for (int x = 0; x < width; ++x) {
      rgb.insert(rgb.end(), {row[x].red, row[x].green, row[x].blue});
      pixels.push_back(floatToRgbe(row[x].red, row[x].green, row[x].blue));
    }
  }
  const std::string expected = freeImageHdr(bitmap.get(), dir);
  const auto floats = [&](RadianceWriter& w) {
    return w.begin(width, height) && w.writeFloatRows(rgb.data(), 4) &&
           w.writeFloatRows(rgb.data() + 4 * 3 * width, height - 4) && w.finish();
  };
  const auto rgbes = [&](RadianceWriter& w) {
    return w.begin(width, height) && w.writeRows(pixels.data(), height) && w.finish();
  };
  EXPECT_TRUE(writtenBytes(dir, floats) == expected);
  EXPECT_TRUE(writtenBytes(dir, rgbes) == expected);

  const std::string path = dir.path("stdio.hdr");
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  RadianceWriter writer(file);
  EXPECT_TRUE(rgbes(writer));
  std::fclose(file);
  EXPECT_TRUE(readFile(path) == expected);
}

TEST(RadianceWriter, RefusesMisuse) {
  TempDir dir;
  const std::vector<Rgbe> row(10, Rgbe{128, 128, 128, 129});
  struct Misuse {
    const char* name;
    std::function<bool(RadianceWriter&)> body;
  };
  const Misuse cases[] = {
      {"zero width", [](RadianceWriter& w) { return w.begin(0, 5); }},
      {"negative height", [](RadianceWriter& w) { return w.begin(5, -1); }},
      {"rows before begin", [&](RadianceWriter& w) { return w.writeRows(row.data(), 1); }},
      {"begin twice", [](RadianceWriter& w) { return w.begin(10, 2) && w.begin(10, 2); }},
      {"a row missing",
       [&](RadianceWriter& w) { return w.begin(10, 2) && w.writeRows(row.data(), 1) && w.finish(); }},
      {"a row too many",
       [&](RadianceWriter& w) {
         return w.begin(10, 1) && w.writeRows(row.data(), 1) && w.writeRows(row.data(), 1);
       }},
  };
  for (const Misuse& m : cases) {
    bool ok = true;
    writtenBytes(dir, m.body, &ok);
    EXPECT_FALSE(ok) << m.name;
  }
}

TEST(RadianceWriter, ReportsAFailedWrite) {
  TempDir dir;
  const std::string path = dir.path("readonly.hdr");
  writeFile(path, "");
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  RadianceWriter writer(fd);
  const std::vector<Rgbe> row(10, Rgbe{128, 128, 128, 129});
  const bool ok = writer.begin(10, 1) && writer.writeRows(row.data(), 1) && writer.finish();
  ::close(fd);
  EXPECT_FALSE(ok);
  EXPECT_TRUE(writer.failed());
  EXPECT_EQ(writer.writeError(), EBADF);
  EXPECT_FALSE(writer.writeRows(row.data(), 1));
}

}  // namespace
