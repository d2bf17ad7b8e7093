#include "convert/hdr_stream.h"
#include "convert/hdr_test_support.h"
#include "convert/jpeg_rows.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <jpeglib.h>
#include <unistd.h>

namespace {

const std::string kCheetah = QUILLET_SAMPLES_DIR "/cheetah_1024x768.jpg";

BitmapPtr loadCheetah() {
  ensureFreeImage();
  return BitmapPtr(FreeImage_Load(FIF_JPEG, kCheetah.c_str(), JPEG_ACCURATE));
}

std::string saveJpeg(FIBITMAP* bitmap, const std::string& path, int flags) {
  EXPECT_TRUE(FreeImage_Save(FIF_JPEG, bitmap, path.c_str(), flags)) << path;
  return path;
}

// Segment APP1 holding an Exif block whose first directory has a Make entry and then one
// SHORT orientation entry per value, in order.
std::string exifSegmentWith(const std::vector<uint16_t>& orientations) {
  std::string tiff = std::string("II*\0\x08\0\0\0", 8);
  const auto put16 = [&](unsigned v) { tiff += char(v & 0xff), tiff += char(v >> 8); };
  put16(static_cast<unsigned>(orientations.size() + 1));
  put16(0x010f), put16(2), put16(4), put16(0), tiff += std::string("Cam\0", 4);
  for (const uint16_t value : orientations)
    put16(0x0112), put16(3), put16(1), put16(0), put16(value), put16(0);
  put16(0), put16(0);
  const std::string payload = std::string("Exif\0\0", 6) + tiff;
  const size_t length = payload.size() + 2;
  return std::string("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + payload;
}

// Segment APP1 holding an Exif block whose first directory has the given entry for 0x0112.
std::string exifSegment(bool littleEndian, uint16_t type, uint16_t value) {
  std::string tiff;
  const auto put16 = [&](unsigned v) {
    tiff += littleEndian ? char(v & 0xff) : char(v >> 8);
    tiff += littleEndian ? char(v >> 8) : char(v & 0xff);
  };
  const auto put32 = [&](uint32_t v) {
    if (littleEndian) {
      put16(v & 0xffff);
      put16(v >> 16);
    } else {
      put16(v >> 16);
      put16(v & 0xffff);
    }
  };
  tiff += littleEndian ? "II" : "MM";
  put16(42);
  put32(8);
  put16(2);                                                            // two entries
  put16(0x010f), put16(2), put32(4), tiff += std::string("Cam\0", 4);  // Make
  put16(0x0112), put16(type), put32(1), put16(value), put16(0);
  put32(0);
  const std::string payload = std::string("Exif\0\0", 6) + tiff;
  const size_t length = payload.size() + 2;
  return std::string("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + payload;
}

// The same JPEG with a segment inserted right after the start-of-image marker.
std::string withSegment(const std::string& jpeg, const std::string& segment) {
  return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

// A JPEG whose frame header claims another size (the scan data no longer fits, but the header
// is all that is read).
std::string withSize(std::string jpeg, unsigned width, unsigned height) {
  const size_t sof = jpeg.find("\xff\xc0", 2);
  EXPECT_NE(sof, std::string::npos);
  jpeg[sof + 5] = char(height >> 8), jpeg[sof + 6] = char(height & 0xff);
  jpeg[sof + 7] = char(width >> 8), jpeg[sof + 8] = char(width & 0xff);
  return jpeg;
}

// A small four-component (CMYK) JPEG written with libjpeg.
void writeCmykJpeg(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = 16;
  cinfo.image_height = 8;
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(16 * 4, 100);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::fclose(file);
}

std::string streamed(const TempDir& dir, const std::string& jpeg, const StreamOptions& options,
                     StreamResult* result) {
  const std::string out = dir.path("streamed.hdr");
  const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  EXPECT_GE(fd, 0);
  *result = streamJpegToRadiance(jpeg, fd, options);
  ::close(fd);
  return readFile(out);
}

// The JPEGs the stream must turn into exactly the FreeImage road's file.
std::vector<std::pair<std::string, std::string>> streamableJpegs(const TempDir& dir) {
  const BitmapPtr cheetah = loadCheetah();
  EXPECT_TRUE(cheetah);
  const BitmapPtr grey(FreeImage_ConvertToGreyscale(cheetah.get()));
  const BitmapPtr odd(FreeImage_Copy(cheetah.get(), 3, 100, 1004, 137));
  const BitmapPtr narrow(FreeImage_Copy(cheetah.get(), 500, 500, 505, 509));
  const std::string upright = dir.path("upright.jpg");
  writeFile(upright, withSegment(readFile(kCheetah), exifSegment(true, 3, 1)));
  return {
      {"cheetah, baseline 4:2:0", kCheetah},
      {"greyscale", saveJpeg(grey.get(), dir.path("grey.jpg"), JPEG_QUALITYGOOD)},
      {"progressive",
       saveJpeg(cheetah.get(), dir.path("progressive.jpg"), JPEG_PROGRESSIVE | JPEG_QUALITYGOOD)},
      {"4:2:2", saveJpeg(cheetah.get(), dir.path("422.jpg"), JPEG_SUBSAMPLING_422 | 90)},
      {"4:4:4", saveJpeg(cheetah.get(), dir.path("444.jpg"), JPEG_SUBSAMPLING_444 | 95)},
      {"odd size 1001x37", saveJpeg(odd.get(), dir.path("odd.jpg"), JPEG_QUALITYNORMAL)},
      {"width 5, flat rows", saveJpeg(narrow.get(), dir.path("narrow.jpg"), JPEG_QUALITYNORMAL)},
      {"Exif orientation 1", upright},
  };
}

TEST(HdrStream, EqualsTheFreeImageRoad) {
  TempDir dir;
  for (const auto& [name, jpeg] : streamableJpegs(dir)) {
    const std::string expected = freeImageRoad(jpeg, dir);
    ASSERT_FALSE(expected.empty()) << name;
    for (const bool overlap : {false, true}) {
      StreamResult result;
      const std::string actual = streamed(dir, jpeg, {.overlap = overlap}, &result);
      EXPECT_EQ(result.status, StreamStatus::Ok) << name;
      EXPECT_EQ(result.warnings, 0) << name;
      EXPECT_EQ(actual.size(), expected.size()) << name << " overlap " << overlap;
      EXPECT_TRUE(actual == expected) << name << " overlap " << overlap;
    }
  }
}

TEST(HdrStream, TruncatedFileIsWrittenWithAWarning) {
  TempDir dir;
  const std::string cheetah = readFile(kCheetah);
  const BitmapPtr bitmap = loadCheetah();
  writeFile(dir.path("p.jpg"), "");
  const std::string progressive =
      readFile(saveJpeg(bitmap.get(), dir.path("p.jpg"), JPEG_PROGRESSIVE | JPEG_QUALITYGOOD));
  for (const auto& [name, bytes] : {std::pair{"baseline", cheetah}, std::pair{"progressive", progressive}}) {
    const std::string jpeg = dir.path("truncated.jpg");
    writeFile(jpeg, bytes.substr(0, bytes.size() * 3 / 5));
    const std::string expected = freeImageRoad(jpeg, dir);
    ASSERT_FALSE(expected.empty()) << name;
    for (const bool overlap : {false, true}) {
      StreamResult result;
      const std::string actual = streamed(dir, jpeg, {.overlap = overlap}, &result);
      EXPECT_EQ(result.status, StreamStatus::Ok) << name;
      EXPECT_GE(result.warnings, 1) << name;
      EXPECT_NE(result.warning.find("Premature end of JPEG file"), std::string::npos) << result.warning;
      EXPECT_TRUE(actual == expected) << name;
    }
  }
}

TEST(HdrStream, RefusesWithoutWritingAnything) {
  TempDir dir;
  const std::string cheetah = readFile(kCheetah);
  writeFile(dir.path("text.jpg"), "This is not a picture.\n");
  writeFile(dir.path("empty.jpg"), "");
  writeFile(dir.path("huge.jpg"), withSize(cheetah, 20000, 20000));
  writeFile(dir.path("turned.jpg"), withSegment(cheetah, exifSegment(false, 3, 6)));
  writeFile(dir.path("bad-exif.jpg"), withSegment(cheetah, exifSegment(true, 4, 1)));
  writeCmykJpeg(dir.path("cmyk.jpg"));
  const struct {
    std::string file;
    StreamStatus status;
  } cases[] = {
      {dir.path("missing.jpg"), StreamStatus::CannotOpen},
      {dir.path("text.jpg"), StreamStatus::NotJpeg},
      {dir.path("empty.jpg"), StreamStatus::NotJpeg},
      {QUILLET_SAMPLES_DIR "/logo_rgba_256.png", StreamStatus::NotJpeg},
      {dir.path("huge.jpg"), StreamStatus::TooLarge},
      {dir.path("turned.jpg"), StreamStatus::NotStreamable},
      {dir.path("bad-exif.jpg"), StreamStatus::NotStreamable},
      {dir.path("cmyk.jpg"), StreamStatus::NotStreamable},
  };
  for (const auto& c : cases) {
    StreamResult result;
    EXPECT_EQ(streamed(dir, c.file, {}, &result), "") << c.file;
    EXPECT_EQ(result.status, c.status) << c.file;
  }
  StreamResult small;
  EXPECT_EQ(streamed(dir, kCheetah, {.maxPixels = 1024 * 768 - 1}, &small), "");
  EXPECT_EQ(small.status, StreamStatus::TooLarge);
}

TEST(HdrStream, ReportsAFailedWrite) {
  TempDir dir;
  const std::string path = dir.path("readonly.hdr");
  writeFile(path, "");
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  for (const bool overlap : {false, true}) {
    const StreamResult result = streamJpegToRadiance(kCheetah, fd, {.overlap = overlap});
    EXPECT_EQ(result.status, StreamStatus::WriteFailed);
    EXPECT_EQ(result.writeError, EBADF);
  }
  ::close(fd);
}

TEST(JpegProbe, ReadsTheHeader) {
  TempDir dir;
  const BitmapPtr cheetah = loadCheetah();
  const BitmapPtr grey(FreeImage_ConvertToGreyscale(cheetah.get()));
  const std::string bytes = readFile(kCheetah);
  writeFile(dir.path("6-ii.jpg"), withSegment(bytes, exifSegment(true, 3, 6)));
  writeFile(dir.path("8-mm.jpg"), withSegment(bytes, exifSegment(false, 3, 8)));
  writeFile(dir.path("long.jpg"), withSegment(bytes, exifSegment(true, 4, 1)));
  writeFile(dir.path("huge.jpg"), withSize(bytes, 20000, 20000));
  writeCmykJpeg(dir.path("cmyk.jpg"));
  // FreeImage keeps the last orientation tag of all Exif blocks; only agreeing tags count here.
  writeFile(dir.path("1-1.jpg"), withSegment(bytes, exifSegmentWith({1, 1})));
  writeFile(dir.path("1-6.jpg"), withSegment(bytes, exifSegmentWith({1, 6})));
  writeFile(dir.path("none-6.jpg"),
            withSegment(withSegment(bytes, exifSegmentWith({6})), exifSegmentWith({})));
  writeFile(dir.path("1-then-6.jpg"),
            withSegment(withSegment(bytes, exifSegmentWith({6})), exifSegmentWith({1})));
  writeFile(dir.path("6-then-long.jpg"),
            withSegment(withSegment(bytes, exifSegment(true, 4, 1)), exifSegmentWith({6})));
  // FreeImage lets a marker of unknown type pass; so does the probe.
  writeFile(dir.path("unknown-marker.jpg"), withSegment(bytes, std::string("\xff\xf0\x00\x04\x00\x00", 6)));
  const struct {
    std::string file;
    JpegStatus status;
    JpegHeader header;
  } cases[] = {
      {kCheetah, JpegStatus::Ok, {1024, 768, 3, false, 0}},
      {saveJpeg(grey.get(), dir.path("grey.jpg"), 0), JpegStatus::Ok, {1024, 768, 1, false, 0}},
      {saveJpeg(cheetah.get(), dir.path("p.jpg"), JPEG_PROGRESSIVE), JpegStatus::Ok, {1024, 768, 3, true, 0}},
      {dir.path("6-ii.jpg"), JpegStatus::Ok, {1024, 768, 3, false, 6}},
      {dir.path("8-mm.jpg"), JpegStatus::Ok, {1024, 768, 3, false, 8}},
      {dir.path("long.jpg"), JpegStatus::Ok, {1024, 768, 3, false, -1}},
      {dir.path("cmyk.jpg"), JpegStatus::Ok, {16, 8, 4, false, 0}},
      {dir.path("huge.jpg"), JpegStatus::TooLarge, {20000, 20000, 3, false, 0}},
      {dir.path("1-1.jpg"), JpegStatus::Ok, {1024, 768, 3, false, 1}},
      {dir.path("1-6.jpg"), JpegStatus::Ok, {1024, 768, 3, false, -1}},
      {dir.path("none-6.jpg"), JpegStatus::Ok, {1024, 768, 3, false, 6}},
      {dir.path("1-then-6.jpg"), JpegStatus::Ok, {1024, 768, 3, false, -1}},
      {dir.path("6-then-long.jpg"), JpegStatus::Ok, {1024, 768, 3, false, -1}},
      {dir.path("unknown-marker.jpg"), JpegStatus::Ok, {1024, 768, 3, false, 0}},
  };
  for (const auto& c : cases) {
    const JpegProbe probe = probeJpeg(c.file);
    EXPECT_EQ(probe.status, c.status) << c.file;
    EXPECT_EQ(probe.header.width, c.header.width) << c.file;
    EXPECT_EQ(probe.header.height, c.header.height) << c.file;
    EXPECT_EQ(probe.header.components, c.header.components) << c.file;
    EXPECT_EQ(probe.header.progressive, c.header.progressive) << c.file;
    EXPECT_EQ(probe.header.orientation, c.header.orientation) << c.file;
  }
  // FreeImage reads the same orientation tag: it turns the image upright.
  ensureFreeImage();
  const BitmapPtr turned(
      FreeImage_Load(FIF_JPEG, dir.path("6-ii.jpg").c_str(), JPEG_ACCURATE | JPEG_EXIFROTATE));
  ASSERT_TRUE(turned);
  EXPECT_EQ(FreeImage_GetWidth(turned.get()), 768u);
  for (const char* name : {"none-6.jpg", "1-then-6.jpg"}) {
    const BitmapPtr last(FreeImage_Load(FIF_JPEG, dir.path(name).c_str(), JPEG_ACCURATE | JPEG_EXIFROTATE));
    ASSERT_TRUE(last) << name;
    EXPECT_EQ(FreeImage_GetWidth(last.get()), 768u) << name;
  }
  const JpegProbe text = probeJpeg(kCheetah.substr(0, kCheetah.size() - 4) + ".none");
  EXPECT_EQ(text.status, JpegStatus::CannotOpen);
}

TEST(JpegRowReader, RowsEqualFreeImagePixels) {
  const BitmapPtr expected = loadCheetah();
  JpegRowReader reader;
  ASSERT_EQ(reader.open(kCheetah), JpegStatus::Ok);
  ASSERT_EQ(reader.start(), JpegStatus::Ok);
  std::vector<uint8_t> rows(reader.rowBytes() * 7);
  int y = 0;
  int differing = 0;
  for (int n; (n = reader.readRows(rows.data(), reader.rowBytes(), 7)) > 0;) {
    for (int i = 0; i < n; ++i, ++y) {
      const BYTE* fi = FreeImage_GetScanLine(expected.get(), 767 - y);
      const uint8_t* own = rows.data() + i * reader.rowBytes();
      for (int x = 0; x < 1024; ++x) {
        differing += own[3 * x] != fi[3 * x + FI_RGBA_RED] || own[3 * x + 1] != fi[3 * x + FI_RGBA_GREEN] ||
                     own[3 * x + 2] != fi[3 * x + FI_RGBA_BLUE];
      }
    }
  }
  EXPECT_EQ(y, 768);
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(reader.finish(), JpegStatus::Ok);
  EXPECT_EQ(reader.warningCount(), 0);
  EXPECT_EQ(reader.readRows(rows.data(), reader.rowBytes(), 1), 0);
}

}  // namespace
