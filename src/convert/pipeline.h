// One input file to one output file through the fixed chain of steps.
#pragma once

#include "convert/conversion_job.h"
#include "settings/settings.h"

// Loads job.inputPath, applies the chain, names the output and saves it. True when the save
// succeeded; on failure job.lastFailure says why.
bool convertFile(const Settings& settings, ConversionJob& job);
