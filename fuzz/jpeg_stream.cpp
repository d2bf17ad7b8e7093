// Fuzzes the JPEG probe and the row-by-row conversion to Radiance: any bytes are probed and
// streamed without a fault; the probe and the stream agree on what they refuse; the stream
// decoding on a second thread writes exactly what it writes on one.
#include "fuzz_support.h"

#include "convert/hdr_stream.h"
#include "convert/jpeg_rows.h"

#include <QFile>

#include <string>

namespace {

// Small images only, so that each input runs in milliseconds.
constexpr uint64_t kMaxPixels = uint64_t{1} << 18;

struct Streamed {
  StreamResult result;
  std::string bytes;
};

Streamed streamToMemory(const std::string& path, bool overlap) {
  Streamed s;
  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  if (out == nullptr) std::abort();
  {
    RadianceWriter writer(out);
    s.result = streamJpegToRadiance(path, writer, {.maxPixels = kMaxPixels, .overlap = overlap});
  }
  std::fclose(out);
  s.bytes.assign(buffer, size);
  std::free(buffer);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::MemoryFile file;
  const std::string path = QFile::encodeName(file.write(fuzz::bytesOf(data, size))).toStdString();

  const JpegProbe probe = probeJpeg(path, kMaxPixels);
  const Streamed one = streamToMemory(path, false);
  const Streamed two = streamToMemory(path, true);

  FUZZ_CHECK(one.result.status == two.result.status);
  FUZZ_CHECK(one.bytes == two.bytes);
  FUZZ_CHECK(one.result.warnings == two.result.warnings);
  switch (probe.status) {
    case JpegStatus::Ok:
      FUZZ_CHECK(probe.header.width > 0 && probe.header.height > 0);
      FUZZ_CHECK(static_cast<uint64_t>(probe.header.width) * probe.header.height <= kMaxPixels);
      if (!canStreamJpeg(probe.header)) FUZZ_CHECK(one.result.status == StreamStatus::NotStreamable);
      break;
    case JpegStatus::TooLarge:
      FUZZ_CHECK(one.result.status == StreamStatus::TooLarge);
      break;
    default:
      FUZZ_CHECK(one.result.status == StreamStatus::CannotOpen || one.result.status == StreamStatus::NotJpeg);
      break;
  }
  // Nothing is written unless decoding started; a finished file holds the header and every row.
  if (one.result.status == StreamStatus::Ok) {
    const std::string header = radianceHeader(probe.header.width, probe.header.height);
    FUZZ_CHECK(one.bytes.compare(0, header.size(), header) == 0);
    FUZZ_CHECK(one.bytes.size() > header.size());
  } else if (one.result.status != StreamStatus::DecodeFailed) {
    FUZZ_CHECK(one.bytes.empty());
  }
  return 0;
}
