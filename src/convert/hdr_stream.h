// JPEG file to Radiance file in one pass, row by row: the bytes of the FreeImage road
// (accurate load, FreeImage_ConvertToRGBF, FreeImage_Save(FIF_HDR)) without a whole image in
// memory. Applies to upright grey or colour JPEGs; everything else is left to that road.
#pragma once

#include "convert/jpeg_rows.h"
#include "convert/radiance_writer.h"

#include <cstdint>
#include <string>

enum class StreamStatus {
  Ok,
  CannotOpen,     // the input cannot be read
  NotJpeg,        // not a JPEG or a header the decoder rejects
  TooLarge,       // more pixels than the limit
  NotStreamable,  // needs the FreeImage road (see canStreamJpeg); nothing was written
  DecodeFailed,   // fatal error in the image data; the output is incomplete
  WriteFailed,    // the output could not be written
  NoMemory,       // the buffers could not be reserved
};

struct StreamResult {
  StreamStatus status = StreamStatus::Ok;
  JpegHeader header;
  long warnings = 0;    // decoder warnings, e.g. a truncated file (the file is still written)
  std::string warning;  // the first warning's text
  std::string message;  // the decoder's error text
  int writeError = 0;   // errno of a failed write
};

struct StreamOptions {
  uint64_t maxPixels = kMaxImagePixels;
  // Decode and make RGBE on a second thread while this one codes the runs and writes.
  bool overlap = true;
};

// True when the stream gives the FreeImage road's file: 1 or 3 components, upright.
bool canStreamJpeg(const JpegHeader& header);

// Into a writer that has not begun; the writer is finished on success.
StreamResult streamJpegToRadiance(const std::string& jpegPath, RadianceWriter& writer,
                                  const StreamOptions& options = {});
// Into a file descriptor the caller owns (and removes if the result is not Ok).
StreamResult streamJpegToRadiance(const std::string& jpegPath, int outFd, const StreamOptions& options = {});
