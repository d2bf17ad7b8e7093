// The console conversion run: checks, debug printout, import, worker run and result lines.
#pragma once

#include "cli/parameters.h"
#include "convert/batch.h"
#include "convert/conversion_job.h"
#include "i18n/string_table.h"
#include "settings/settings.h"

#include <QString>
#include <QStringList>

// The records a console run reads and fills; start-up owns them.
struct ConsoleRecords {
  Settings& settings;
  ConversionJob& job;
  FileQueue& queue;
  ConsoleState& state;
  StringTable& strings;
};

// Why a console run refused to start converting, in the order the checks run.
enum class ConsoleCheck {
  Passed,
  InvalidInputFile,
  IncorrectOutputFolder,
  InvalidOutputFolder,
  InvalidConversionType,
  InvalidBitDepth,
  InvalidJpgQuality,
  InvalidWidth,
  InvalidHeight,
  InvalidBrightness,
  InvalidContrast,
  InvalidGamma,
  InvalidWatermarkFont,
  InvalidWatermarkImage,
};

// The "Error: ..." line of a failed check; `extension` names the format of a bit-depth error.
QString consoleCheckLine(ConsoleCheck check, const QString& extension);

// True when `type` is an entry of the output-format list (letter case counts).
bool isOutputFormat(const QString& type);

// 0 always; otherwise one of the numbers of the format's bit-depth list.
bool isAllowedBitDepth(const QString& extension, int32_t bitsPerPixel);

// The debug lines that follow "<EXT> BPP: " for the formats that have save options.
QStringList formatDebugLines(const QString& extension, const Settings& settings);

// Converts the input file of `records.state`, printing the status, debug, error and result
// lines. True when the file was converted.
bool consoleRun(ConsoleRecords& records);
