// JPEG header probe and row-by-row decoding. The decoder uses the settings of FreeImage's
// accurate load (islow DCT, fancy upsampling, RGB or grey output), so its rows equal the pixels
// of FreeImage_Load(FIF_JPEG, path, JPEG_ACCURATE). Memory does not grow with the image height
// (except for progressive files, which the decoder must hold whole as coefficients).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

enum class JpegStatus {
  Ok,
  CannotOpen,    // missing or unreadable file
  NotJpeg,       // not a JPEG, or a header the decoder rejects
  TooLarge,      // more pixels than the limit
  Unsupported,   // the row reader takes 1 (grey) or 3 (colour) components only
  DecodeFailed,  // a fatal error in the image data
};

// Images above this many pixels are refused before any pixel memory is reserved.
inline constexpr uint64_t kMaxImagePixels = uint64_t{1} << 28;

struct JpegHeader {
  int width = 0;
  int height = 0;
  int components = 0;  // 1 grey, 3 colour, 4 CMYK or YCCK
  bool progressive = false;
  // Exif orientation (tag 0x0112 in the first directory of the Exif blocks): 0 when there is
  // none, -1 when a block cannot be read or the tags disagree, otherwise the stored value.
  int orientation = 0;
};

// True when FreeImage's Exif rotation leaves the pixels as stored: no tag, or orientation 1.
bool isUpright(const JpegHeader& header);

struct JpegProbe {
  JpegStatus status = JpegStatus::CannotOpen;
  JpegHeader header;    // filled whenever the header could be read (also for TooLarge)
  std::string message;  // the decoder's text when it rejected the file
};

// Reads the header only. TooLarge when width * height exceeds maxPixels.
JpegProbe probeJpeg(const std::string& path, uint64_t maxPixels = kMaxImagePixels);

// Decodes one file top row first. Nothing throws and nothing is printed: decoder warnings
// (corrupt or truncated data) are counted and their first text kept for the caller.
class JpegRowReader {
 public:
  JpegRowReader();
  ~JpegRowReader();
  JpegRowReader(const JpegRowReader&) = delete;
  JpegRowReader& operator=(const JpegRowReader&) = delete;

  // Reads the header (what probeJpeg reports); TooLarge above maxPixels.
  JpegStatus open(const std::string& path, uint64_t maxPixels = kMaxImagePixels);
  // Starts decoding after a successful open(); Unsupported unless 1 or 3 components. For a
  // progressive file this reads the whole file. paddedColour asks for colour rows of four
  // bytes a pixel (R, G, B, unused) where the library offers them; see pixelBytes().
  JpegStatus start(bool paddedColour = false);

  const JpegHeader& header() const;
  // Bytes of one decoded pixel: 1 (grey), 3 (R, G, B) or 4 (R, G, B, unused).
  int pixelBytes() const;
  // Bytes of one decoded row: width * pixelBytes().
  size_t rowBytes() const;
  int rowsRead() const;

  // Decodes up to maxRows further rows into dst, stride bytes apart. Returns the number of rows
  // decoded: fewer than asked only at the end of the image or after a failure (see status()).
  int readRows(uint8_t* dst, size_t stride, int maxRows);

  // After the last row: reads the rest of the file (which may add warnings) and releases the
  // decoder. Returns status().
  JpegStatus finish();

  JpegStatus status() const;
  const std::string& errorMessage() const;
  long warningCount() const;
  const std::string& firstWarning() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};
