// One input file to one output file through the fixed chain of steps.
#pragma once

#include "convert/conversion_job.h"
#include "settings/settings.h"

// Loads job.inputPath, applies the chain, names the output and saves it. True when the save
// succeeded; on failure job.lastFailure says why. A plain JPEG to Radiance conversion streams
// (job.lastStreamed): the same file and job fields, without the whole image in memory.
bool convertFile(const Settings& settings, ConversionJob& job);

enum class ConversionRoad {
  Automatic,  // streams when it can
  General,    // always decodes the whole image and runs the chain
};
bool convertFileBy(ConversionRoad road, const Settings& settings, ConversionJob& job);
