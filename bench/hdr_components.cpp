// One conversion of a JPEG to a Radiance file by one road, for bench/hdr_components.sh:
//   hdr_components freeimage|stream|stream-1thread|table|decode INPUT.jpg OUTPUT.hdr
// freeimage: FreeImage_Load (accurate), FreeImage_ConvertToRGBF, FreeImage_Save(FIF_HDR).
// stream:    JPEG rows straight to RGBE and the own writer, decoding on a second thread.
// table:     FreeImage_Load, then the own writer through the 8-bit table (no float image).
// decode:    the streaming road's decoding alone (rows discarded; OUTPUT unused): its floor.
// Prints the wall and CPU time in milliseconds and the peak resident memory in kilobytes.
#include "convert/bitmap.h"
#include "convert/hdr_stream.h"
#include "convert/rgbe_rows.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

bool viaFreeImage(const char* input, const char* output) {
  ensureFreeImage();
  BitmapPtr loaded(FreeImage_Load(FIF_JPEG, input, JPEG_ACCURATE | JPEG_EXIFROTATE));
  if (!loaded) return false;
  BitmapPtr rgbf(FreeImage_ConvertToRGBF(loaded.get()));
  loaded.reset();
  return rgbf && FreeImage_Save(FIF_HDR, rgbf.get(), output, 0);
}

bool viaTable(const char* input, const char* output) {
  ensureFreeImage();
  BitmapPtr loaded(FreeImage_Load(FIF_JPEG, input, JPEG_ACCURATE | JPEG_EXIFROTATE));
  const int fd = ::open(output, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (!loaded || fd < 0) return false;
  RadianceWriter writer(fd);
  const bool ok = writeBitmapRadiance(loaded.get(), writer);
  return ::close(fd) == 0 && ok;
}

bool viaStream(const char* input, const char* output, bool overlap) {
  const int fd = ::open(output, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const StreamResult result = streamJpegToRadiance(input, fd, {.overlap = overlap});
  return ::close(fd) == 0 && result.status == StreamStatus::Ok;
}

bool decodeOnly(const char* input) {
  JpegRowReader reader;
  if (reader.open(input) != JpegStatus::Ok || reader.start(true) != JpegStatus::Ok) return false;
  std::vector<uint8_t> row(reader.rowBytes());
  while (reader.readRows(row.data(), row.size(), 1) == 1) {
  }
  return reader.finish() == JpegStatus::Ok && reader.rowsRead() == reader.header().height;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s freeimage|stream|stream-1thread|table|decode INPUT.jpg OUTPUT.hdr\n",
                 argv[0]);
    return 2;
  }
  const std::string road = argv[1];
  const auto start = std::chrono::steady_clock::now();
  bool ok = false;
  if (road == "freeimage") {
    ok = viaFreeImage(argv[2], argv[3]);
  } else if (road == "decode") {
    ok = decodeOnly(argv[2]);
  } else if (road == "table") {
    ok = viaTable(argv[2], argv[3]);
  } else if (road == "stream" || road == "stream-1thread") {
    ok = viaStream(argv[2], argv[3], road == "stream");
  } else {
    std::fprintf(stderr, "unknown road %s\n", argv[1]);
    return 2;
  }
  const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  const double cpuMs = 1000 * (seconds(usage.ru_utime) + seconds(usage.ru_stime));
  std::printf("%.1f ms wall %.1f ms cpu %ld KB\n", ms, cpuMs, usage.ru_maxrss);
  return ok ? 0 : 1;
}
