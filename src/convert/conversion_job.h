// Per-run and per-file values shared by the callers of a conversion, the worker, the pipeline
// and the naming.
#pragma once

#include <QFont>
#include <QString>

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>

// Why the last file failed, kept so that the console can say it on standard error.
enum class ConversionFailure {
  None,
  CannotOpen,  // missing, unreadable or not a JPEG
  TooLarge,    // more pixels than the decoder is allowed to reserve
  StepFailed,  // a transform or the depth conversion yielded no image
  CannotSave,  // the output could not be written
};

// Largest image, in pixels, that the pipeline decodes or creates by resizing.
inline constexpr int64_t kDefaultPixelLimit = int64_t{1} << 28;

struct ConversionJob {
  QString programFolder;      // folder of the executable, with trailing "/"
  QString inputPath;          // file being converted
  QString baseInputFolder;    // always empty here, so relative subfolders are empty
  QString relativeSubfolder;  // current entry's relative subfolder
  QString outputPath;         // last path built by expandMask
  QString outputFolder;       // target folder, ends with "/" once validated
  int32_t randomValue = 1;    // 1..99999, for "%rnd%"
  int32_t counter = 1;        // for "%n%"
  int32_t inputBpp = 0;       // bits per pixel of the file as loaded
  int32_t outputFormatId = 0; // FreeImage format identifier
  QString outputExtension;    // e.g. "hdr"
  int32_t outputBpp = 0;      // target depth; re-chosen per file when automatic
  int32_t saveFlags = 0;
  int8_t automaticDepth = 0;
  int8_t consoleMode = 0;
  QString consoleOutputMode;  // "DEBUG" turns on the worker's debug lines
  int32_t resultWidth = 0;    // size after rotation and resizing
  int32_t resultHeight = 0;

  // Values owned by other subsystems, only reset here.
  QString listName = QStringLiteral("untitled.lvq");
  QString consoleInputExtension;
  int32_t preferencesPage = 0;
  int32_t interfaceChangeFlag = 0;

  // The run's watermark font, loaded once per run by the run preparation.
  std::optional<QFont> watermarkFont;

  // Images with more pixels than this are refused before decoding (TooLarge).
  int64_t pixelLimit = kDefaultPixelLimit;

  // Outcome details of the last file.
  ConversionFailure lastFailure = ConversionFailure::None;
  bool lastDecodeWarning = false;  // the JPEG decoded with a warning (for example truncated data)
  bool lastStreamed = false;       // it went row by row from JPEG to Radiance, not through the chain

  // Local clock read by the date tokens; replaceable in tests.
  std::function<std::tm()> clock;
};
