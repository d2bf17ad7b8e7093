#include "convert/jpeg_rows.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace {

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

constexpr size_t kInputBufferBytes = 64 * 1024;

// libjpeg reports through these. A fatal error jumps back to the guard that made the failing
// call (see guarded()); warnings are only counted, and nothing is ever printed.
struct ErrorManager {
  jpeg_error_mgr pub;  // first, so that libjpeg's pointer is also ours
  std::jmp_buf jump;
  char firstWarning[JMSG_LENGTH_MAX];
  char error[JMSG_LENGTH_MAX];
};

extern "C" void onJpegMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  if (err->pub.num_warnings == 0) (*cinfo->err->format_message)(cinfo, err->firstWarning);
  ++err->pub.num_warnings;
}

// FreeImage's loader lets a marker of unknown type pass (libjpeg then looks for the next marker,
// with a warning) and fails on every other error; so do we, so that both accept the same files.
extern "C" void onJpegError(j_common_ptr cinfo) {
  if (cinfo->err->msg_code == JERR_UNKNOWN_MARKER) {
    onJpegMessage(cinfo, -1);
    return;
  }
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->error);
  std::longjmp(err->jump, 1);
}

extern "C" void onJpegOutput(j_common_ptr) {}

// Reads the file in large blocks; a file that ends early gets a fake end-of-image marker and
// a warning, as libjpeg's own stdio source does.
struct Source {
  jpeg_source_mgr pub;  // first, as above
  FILE* file;
  JOCTET* buffer;
  bool startOfFile;
};

extern "C" void initSource(j_decompress_ptr cinfo) {
  reinterpret_cast<Source*>(cinfo->src)->startOfFile = true;
}

extern "C" boolean fillInput(j_decompress_ptr cinfo) {
  auto* src = reinterpret_cast<Source*>(cinfo->src);
  size_t n = std::fread(src->buffer, 1, kInputBufferBytes, src->file);
  if (n == 0) {
    if (src->startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
    WARNMS(cinfo, JWRN_JPEG_EOF);
    src->buffer[0] = 0xFF;
    src->buffer[1] = JPEG_EOI;
    n = 2;
  }
  src->pub.next_input_byte = src->buffer;
  src->pub.bytes_in_buffer = n;
  src->startOfFile = false;
  return TRUE;
}

extern "C" void skipInput(j_decompress_ptr cinfo, long count) {
  auto* src = reinterpret_cast<Source*>(cinfo->src);
  if (count <= 0) return;
  while (count > static_cast<long>(src->pub.bytes_in_buffer)) {
    count -= static_cast<long>(src->pub.bytes_in_buffer);
    fillInput(cinfo);
  }
  src->pub.next_input_byte += count;
  src->pub.bytes_in_buffer -= static_cast<size_t>(count);
}

extern "C" void termSource(j_decompress_ptr) {}

unsigned read16(const uint8_t* p, bool little) { return little ? p[0] | (p[1] << 8) : (p[0] << 8) | p[1]; }

uint32_t read32(const uint8_t* p, bool little) {
  return little ? p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24)
                : (uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// Orientation tags in the first directory of a TIFF structure (the Exif block after
// "Exif\0\0"), each a SHORT, handed to `found` in file order. False when the structure is
// damaged or a tag has another form.
template <typename Found>
bool tiffOrientations(const uint8_t* tiff, size_t size, Found&& found) {
  if (size < 8) return false;
  const bool little = tiff[0] == 'I' && tiff[1] == 'I';
  if (!little && !(tiff[0] == 'M' && tiff[1] == 'M')) return false;
  if (read16(tiff + 2, little) != 42) return false;
  const uint32_t directory = read32(tiff + 4, little);
  if (directory > size || size - directory < 2) return false;
  const unsigned entries = read16(tiff + directory, little);
  if ((size - directory - 2) / 12 < entries) return false;
  for (unsigned i = 0; i < entries; ++i) {
    const uint8_t* entry = tiff + directory + 2 + 12 * i;
    if (read16(entry, little) != 0x0112) continue;
    if (read16(entry + 2, little) != 3 || read32(entry + 4, little) != 1) return false;
    found(static_cast<int>(read16(entry + 8, little)));
  }
  return true;
}

// FreeImage reads every Exif block and keeps the last orientation tag of their first
// directories. Here the answer is given only where it is beyond doubt: 0 when there is no
// tag, the value when every tag says the same, and -1 when a block is damaged or tags differ.
int exifOrientation(const jpeg_decompress_struct& cinfo) {
  static const uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
  int orientation = 0;
  bool seen = false;
  bool conflicting = false;
  const auto found = [&](int value) {
    conflicting = conflicting || (seen && orientation != value);
    orientation = value;
    seen = true;
  };
  for (jpeg_saved_marker_ptr m = cinfo.marker_list; m != nullptr; m = m->next) {
    if (m->marker != JPEG_APP0 + 1 || m->data_length < sizeof kExif) continue;
    if (std::memcmp(m->data, kExif, sizeof kExif) != 0) continue;
    if (!tiffOrientations(m->data + sizeof kExif, m->data_length - sizeof kExif, found)) return -1;
  }
  return conflicting ? -1 : orientation;
}

// One decoder over one file, shared by the probe and the row reader.
struct Decoder {
  jpeg_decompress_struct cinfo{};
  ErrorManager err{};
  Source source{};
  std::vector<JOCTET> buffer;
  FilePtr file;
  bool created = false;
  bool started = false;
  JpegHeader header;
  JpegStatus status = JpegStatus::CannotOpen;
  int rowsRead = 0;
  std::string errorMessage;
  std::string firstWarning;

  Decoder() = default;
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;
  ~Decoder() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }

  // Runs body (libjpeg calls only, no objects with destructors) and catches a fatal libjpeg
  // error there: the jump lands here, the decoder is released and failure is recorded.
  template <typename Body>
  bool guarded(JpegStatus onError, Body&& body) {
    if (setjmp(err.jump) != 0) {
      fail(onError);
      return false;
    }
    body();
    return true;
  }

  void fail(JpegStatus why) {
    status = why;
    errorMessage = err.error;
    noteWarnings();
    if (created) jpeg_destroy_decompress(&cinfo);
    created = false;
    started = false;
  }

  void noteWarnings() {
    if (firstWarning.empty() && err.pub.num_warnings > 0) firstWarning = err.firstWarning;
  }

  // Opens the file and reads the header (markers kept: the Exif block for the orientation).
  JpegStatus readHeader(const std::string& path, uint64_t maxPixels) {
    file.reset(std::fopen(path.c_str(), "rb"));
    if (!file) return status = JpegStatus::CannotOpen;
    buffer.resize(kInputBufferBytes);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onJpegError;
    err.pub.emit_message = onJpegMessage;
    err.pub.output_message = onJpegOutput;
    source.pub.init_source = initSource;
    source.pub.fill_input_buffer = fillInput;
    source.pub.skip_input_data = skipInput;
    source.pub.resync_to_restart = jpeg_resync_to_restart;
    source.pub.term_source = termSource;
    source.file = file.get();
    source.buffer = buffer.data();
    const bool ok = guarded(JpegStatus::NotJpeg, [this] {
      jpeg_create_decompress(&cinfo);
      created = true;
      cinfo.src = &source.pub;
      jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xffff);
      jpeg_read_header(&cinfo, TRUE);
    });
    if (!ok) return status;
    header.width = static_cast<int>(cinfo.image_width);
    header.height = static_cast<int>(cinfo.image_height);
    header.components = cinfo.num_components;
    header.progressive = cinfo.progressive_mode != 0;
    header.orientation = exifOrientation(cinfo);
    if (uint64_t{cinfo.image_width} * cinfo.image_height > maxPixels) return status = JpegStatus::TooLarge;
    return status = JpegStatus::Ok;
  }
};

}  // namespace

struct JpegRowReader::Impl : Decoder {};

bool isUpright(const JpegHeader& header) { return header.orientation == 0 || header.orientation == 1; }

JpegProbe probeJpeg(const std::string& path, uint64_t maxPixels) {
  Decoder d;
  JpegProbe probe;
  probe.status = d.readHeader(path, maxPixels);
  probe.header = d.header;
  probe.message = d.errorMessage;
  return probe;
}

JpegRowReader::JpegRowReader() : d_(std::make_unique<Impl>()) {}
JpegRowReader::~JpegRowReader() = default;

JpegStatus JpegRowReader::open(const std::string& path, uint64_t maxPixels) {
  if (d_->created || d_->file) return d_->status = JpegStatus::CannotOpen;  // one file per reader
  return d_->readHeader(path, maxPixels);
}

JpegStatus JpegRowReader::start(bool paddedColour) {
  Impl* d = d_.get();
  if (!d->created || d->started || d->status != JpegStatus::Ok) return d->status;
  if (d->header.components != 1 && d->header.components != 3) return d->status = JpegStatus::Unsupported;
#if defined(JCS_EXTENSIONS)
  const J_COLOR_SPACE colour = paddedColour ? JCS_EXT_RGBX : JCS_RGB;
#else
  const J_COLOR_SPACE colour = JCS_RGB;
  (void)paddedColour;
#endif
  const bool ok = d->guarded(JpegStatus::DecodeFailed, [d, colour] {
    d->cinfo.out_color_space = d->header.components == 1 ? JCS_GRAYSCALE : colour;
    d->cinfo.dct_method = JDCT_ISLOW;
    d->cinfo.do_fancy_upsampling = TRUE;
    jpeg_start_decompress(&d->cinfo);
    d->started = true;
  });
  d->noteWarnings();
  return ok ? JpegStatus::Ok : d->status;
}

const JpegHeader& JpegRowReader::header() const { return d_->header; }

int JpegRowReader::pixelBytes() const {
  return d_->started ? d_->cinfo.output_components : d_->header.components;
}

size_t JpegRowReader::rowBytes() const {
  return static_cast<size_t>(d_->header.width) * static_cast<size_t>(pixelBytes());
}

int JpegRowReader::rowsRead() const { return d_->rowsRead; }

int JpegRowReader::readRows(uint8_t* dst, size_t stride, int maxRows) {
  Impl* d = d_.get();
  if (!d->started || d->status != JpegStatus::Ok) return 0;
  const int before = d->rowsRead;
  d->guarded(JpegStatus::DecodeFailed, [d, dst, stride, maxRows, before] {
    while (d->rowsRead - before < maxRows && d->cinfo.output_scanline < d->cinfo.output_height) {
      JSAMPROW row = dst + static_cast<size_t>(d->rowsRead - before) * stride;
      d->rowsRead += static_cast<int>(jpeg_read_scanlines(&d->cinfo, &row, 1));
    }
  });
  d->noteWarnings();
  return d->rowsRead - before;
}

JpegStatus JpegRowReader::finish() {
  Impl* d = d_.get();
  if (!d->started || d->status != JpegStatus::Ok) return d->status;
  if (d->cinfo.output_scanline < d->cinfo.output_height) {
    d->guarded(JpegStatus::DecodeFailed, [d] { jpeg_abort_decompress(&d->cinfo); });
  } else {
    d->guarded(JpegStatus::DecodeFailed, [d] { jpeg_finish_decompress(&d->cinfo); });
  }
  d->noteWarnings();
  d->started = false;
  return d->status;
}

JpegStatus JpegRowReader::status() const { return d_->status; }
const std::string& JpegRowReader::errorMessage() const { return d_->errorMessage; }
long JpegRowReader::warningCount() const { return d_->err.pub.num_warnings; }
const std::string& JpegRowReader::firstWarning() const { return d_->firstWarning; }
