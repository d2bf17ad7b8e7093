// Run preparation shared by both front ends, and the graphical start's checks.
#include "convert/batch.h"
#include "convert/format_tables.h"
#include "convert/layers.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "settings/fields.h"

bool prepareConversionRun(const Settings& settings, ConversionJob& job) {
  const OutputFormatRow row = outputFormat(job.outputExtension);
  if (row.extension.isEmpty()) return false;
  job.outputFormatId = row.formatId;
  job.outputBpp = outputBpp(settings, job.outputExtension);
  job.saveFlags = saveFlags(job.outputExtension, settings);
  job.automaticDepth = job.outputBpp == 0 ? 1 : 0;
  return true;
}

StartCheck checkConversionStart(const Settings& settings, const FileQueue& queue,
                                const QString& outputFolderText, ConversionJob& job,
                                const FontLoader& loadFont) {
  if (queue.empty()) return {StartProblem::EmptyInput, {}};
  const QString folder = outputFolderText.trimmed();
  if (folder.isEmpty()) return {StartProblem::EmptyOutputFolder, {}};
  const QString withSeparator = platform::withTrailingSeparator(folder);
  if (!platform::isFolder(withSeparator)) return {StartProblem::InvalidOutputFolder, withSeparator};
  job.outputFolder = withSeparator;

  const Settings::Transform& t = settings.transform;
  if (t.doImageResize != 0 && t.imageWidth == 0) return {StartProblem::InvalidWidth, {}};
  if (t.doImageResize != 0 && t.imageHeight == 0) return {StartProblem::InvalidHeight, {}};

  const Settings::Watermark& w = settings.watermark;
  if (w.doWatermark == 1) {
    job.watermarkFont = loadFont ? loadFont(settings) : loadWatermarkFont(settings);
    if (!job.watermarkFont) return {StartProblem::InvalidWatermarkFont, w.font};
  }
  if (w.doWatermark == 2) {
    if (w.image.isEmpty()) return {StartProblem::EmptyWatermarkImage, {}};
    if (platform::fileSize(w.image) <= 0) return {StartProblem::InvalidWatermarkImage, w.image};
  }
  return {};
}
