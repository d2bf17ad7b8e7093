#include "convert/stream_road.h"

#include "convert/format_tables.h"
#include "convert/hdr_stream.h"
#include "convert/naming.h"
#include "convert/output_file.h"

#include <FreeImage.h>

#include <QFile>

#include <vector>

namespace {

// Decodes the whole file and discards the rows. A stream cut short by its output still owes
// the general road's verdict on the input, which decodes everything before it saves.
StreamResult decodeWhole(const std::string& path, uint64_t maxPixels) {
  StreamResult result;
  JpegRowReader reader;
  if (reader.open(path, maxPixels) == JpegStatus::Ok && reader.start() == JpegStatus::Ok) {
    std::vector<uint8_t> row(reader.rowBytes());
    while (reader.readRows(row.data(), row.size(), 1) == 1) {
    }
    if (reader.rowsRead() == reader.header().height) reader.finish();
  }
  switch (reader.status()) {
    case JpegStatus::Ok:
      result.status =
          reader.rowsRead() == reader.header().height ? StreamStatus::Ok : StreamStatus::DecodeFailed;
      break;
    case JpegStatus::TooLarge:
      result.status = StreamStatus::TooLarge;
      break;
    default:
      result.status = StreamStatus::DecodeFailed;
      break;
  }
  result.warnings = reader.warningCount();
  return result;
}

}  // namespace

bool chainIsIdle(const Settings& settings) {
  const Settings::Transform& t = settings.transform;
  const Settings::Adjustment& a = settings.adjustment;
  return t.doImageRotation == 0 && t.doImageResize == 0 && t.doImageFlipHorizontal == 0 &&
         t.doImageFlipVertical == 0 && a.doImageColorCorrection == 0 && a.doImageGreyscale == 0 &&
         a.doImageThreshold == 0 && settings.frame.doFrame == 0 && settings.watermark.doWatermark == 0;
}

bool canStreamConversion(const Settings& settings, const ConversionJob& job, const JpegHeader& header) {
  if (!chainIsIdle(settings) || !canStreamJpeg(header)) return false;
  if (job.outputFormatId != FIF_HDR || job.outputExtension != QLatin1String("hdr")) return false;
  const int32_t target =
      job.automaticDepth != 0 ? autoDepth(job.outputExtension, 8 * header.components) : job.outputBpp;
  return target == 96;
}

StreamOutcome streamConversion(const Settings& settings, ConversionJob& job, const JpegHeader& header,
                               uint64_t maxPixels) {
  // What a failed load leaves as it was in the general road.
  const int32_t previousInputBpp = job.inputBpp;
  const int32_t previousOutputBpp = job.outputBpp;
  const int32_t previousWidth = job.resultWidth;
  const int32_t previousHeight = job.resultHeight;
  const QString previousPath = job.outputPath;

  job.inputBpp = 8 * header.components;
  if (job.automaticDepth != 0) job.outputBpp = autoDepth(job.outputExtension, job.inputBpp);
  job.resultWidth = header.width;
  job.resultHeight = header.height;
  job.outputPath = expandMask(settings, job);

  const std::string input = QFile::encodeName(job.inputPath).toStdString();
  const StreamOptions options{.maxPixels = maxPixels};
  StreamResult result;
  bool ran = false;
  const bool saved = writeReplacing(job.outputPath, [&](FILE* file) {
    RadianceWriter writer(file);
    result = streamJpegToRadiance(input, writer, options);
    ran = true;
    return result.status == StreamStatus::Ok;
  });
  // The output failed before the input was read to its end: decode the rest for the verdict.
  if (!saved && (!ran || result.status == StreamStatus::WriteFailed)) result = decodeWhole(input, maxPixels);
  if (result.status == StreamStatus::Ok) {
    job.lastDecodeWarning = result.warnings > 0;
    if (saved) return StreamOutcome::Saved;
    job.lastFailure = ConversionFailure::CannotSave;
    return StreamOutcome::Failed;
  }
  job.inputBpp = previousInputBpp;
  job.outputBpp = previousOutputBpp;
  job.resultWidth = previousWidth;
  job.resultHeight = previousHeight;
  job.outputPath = previousPath;
  if (result.status == StreamStatus::NotStreamable) return StreamOutcome::NotStreamable;
  job.inputBpp = 0;
  job.lastDecodeWarning = false;
  job.lastFailure =
      result.status == StreamStatus::TooLarge ? ConversionFailure::TooLarge : ConversionFailure::CannotOpen;
  return StreamOutcome::Failed;
}
