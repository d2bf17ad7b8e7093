// The streaming road of a conversion: a JPEG that no step of the chain changes goes to a
// Radiance file row by row, in memory that does not grow with the image height, giving the
// file and the job fields of the general road.
#pragma once

#include "convert/conversion_job.h"
#include "convert/jpeg_rows.h"
#include "settings/settings.h"

#include <cstdint>

// True when every step of the chain is switched off: rotation, resize, both flips, colour
// correction, greyscale, threshold, frame and watermark.
bool chainIsIdle(const Settings& settings);

// True when a JPEG with this header may take the streaming road: the chain is idle, the JPEG
// is grey or colour and stands upright as stored, and the output is Radiance at 96 bits.
bool canStreamConversion(const Settings& settings, const ConversionJob& job, const JpegHeader& header);

enum class StreamOutcome {
  Saved,
  Failed,         // job.lastFailure says why
  NotStreamable,  // the file changed since its header was read; the job is as it was
};

// Converts job.inputPath, whose header is `header`, by the streaming road, through a temporary
// file renamed over the target. Images above `maxPixels` are refused.
StreamOutcome streamConversion(const Settings& settings, ConversionJob& job, const JpegHeader& header,
                               uint64_t maxPixels);
