#include "convert/pipeline.h"

#include "convert/bitmap.h"
#include "convert/jpeg_rows.h"
#include "convert/layers.h"
#include "convert/naming.h"
#include "convert/output_file.h"
#include "convert/radiance_writer.h"
#include "convert/rgbe_rows.h"
#include "convert/stream_road.h"
#include "convert/transforms.h"

#include <QFile>

#include <cstdio>

namespace {

constexpr int kJpegLoadFlags = JPEG_ACCURATE | JPEG_EXIFROTATE;

// The probe has already refused an oversized image; this decodes it and sets the failure
// reason and the decode-warning flag.
BitmapPtr loadInput(ConversionJob& job) {
  FreeImageMessages messages;
  BitmapPtr bitmap(FreeImage_Load(FIF_JPEG, QFile::encodeName(job.inputPath).constData(), kJpegLoadFlags));
  if (!bitmap) {
    job.lastFailure = ConversionFailure::CannotOpen;
    return nullptr;
  }
  job.lastDecodeWarning = messages.any();
  return bitmap;
}

unsigned DLL_CALLCONV writeToFile(void* buffer, unsigned size, unsigned count, fi_handle handle) {
  return static_cast<unsigned>(std::fwrite(buffer, size, count, static_cast<FILE*>(handle)));
}
unsigned DLL_CALLCONV readFromFile(void* buffer, unsigned size, unsigned count, fi_handle handle) {
  return static_cast<unsigned>(std::fread(buffer, size, count, static_cast<FILE*>(handle)));
}
int DLL_CALLCONV seekInFile(fi_handle handle, long offset, int origin) {
  return std::fseek(static_cast<FILE*>(handle), offset, origin);
}
long DLL_CALLCONV tellInFile(fi_handle handle) { return std::ftell(static_cast<FILE*>(handle)); }

// Radiance files go through the own writer: float images as FreeImage's writer stores them,
// and the 8-bit images the depth step left for it. Other formats go through FreeImage, on a
// stream whose every write is checked (FreeImage_Save ignores the result of closing its file).
bool saveBitmap(FIBITMAP* bitmap, const ConversionJob& job, FILE* file) {
  if (job.outputFormatId == FIF_HDR) {
    if (FreeImage_GetImageType(bitmap) != FIT_RGBF && !radianceFromBytes(bitmap, job)) return false;
    RadianceWriter writer(file);
    return writeBitmapRadiance(bitmap, writer);
  }
  FreeImageIO io{readFromFile, writeToFile, seekInFile, tellInFile};
  return FreeImage_SaveToHandle(static_cast<FREE_IMAGE_FORMAT>(job.outputFormatId), bitmap, &io,
                                static_cast<fi_handle>(file), job.saveFlags) != FALSE;
}

// The whole chain on a decoded bitmap, then the save.
bool convertByChain(const Settings& settings, ConversionJob& job) {
  ensureFreeImage();
  BitmapPtr bitmap = loadInput(job);
  const int loadedWidth = bitmap ? static_cast<int>(FreeImage_GetWidth(bitmap.get())) : 0;
  const int loadedHeight = bitmap ? static_cast<int>(FreeImage_GetHeight(bitmap.get())) : 0;
  job.inputBpp = bitmap ? static_cast<int32_t>(FreeImage_GetBPP(bitmap.get())) : 0;
  if (loadedWidth == 0 || loadedHeight == 0) {
    if (job.lastFailure == ConversionFailure::None) job.lastFailure = ConversionFailure::CannotOpen;
    return false;
  }

  bitmap = rotate(std::move(bitmap), settings);
  const auto width = [&] { return bitmap ? static_cast<int>(FreeImage_GetWidth(bitmap.get())) : 0; };
  const auto height = [&] { return bitmap ? static_cast<int>(FreeImage_GetHeight(bitmap.get())) : 0; };
  // The size is read before the call: in one argument list the move may come first.
  const int rotatedWidth = width();
  const int rotatedHeight = height();
  bitmap = resize(std::move(bitmap), rotatedWidth, rotatedHeight, settings, job.pixelLimit);
  const int resultWidth = width();
  const int resultHeight = height();

  flip(bitmap.get(), settings);
  bitmap = adjustColours(std::move(bitmap), settings);
  bitmap = greyscale(std::move(bitmap), settings);
  bitmap = threshold(std::move(bitmap), settings);
  if (bitmap) bitmap = frame(std::move(bitmap), resultWidth, resultHeight, settings);
  if (bitmap) bitmap = watermark(std::move(bitmap), resultWidth, resultHeight, settings, job);
  bitmap = outputDepth(std::move(bitmap), job);

  job.resultWidth = resultWidth;
  job.resultHeight = resultHeight;
  job.outputPath = expandMask(settings, job);

  if (!bitmap) {
    job.lastFailure = ConversionFailure::StepFailed;
    return false;
  }
  const bool saved =
      writeReplacing(job.outputPath, [&](FILE* file) { return saveBitmap(bitmap.get(), job, file); });
  if (!saved) {
    job.lastFailure = ConversionFailure::CannotSave;
    return false;
  }
  return true;
}

}  // namespace

bool convertFile(const Settings& settings, ConversionJob& job) {
  return convertFileBy(ConversionRoad::Automatic, settings, job);
}

bool convertFileBy(ConversionRoad road, const Settings& settings, ConversionJob& job) {
  job.lastFailure = ConversionFailure::None;
  job.lastDecodeWarning = false;
  job.lastStreamed = false;

  // One header read decides everything that comes before decoding: an oversized image is
  // refused before any pixel memory is reserved, and the road is chosen.
  const uint64_t maxPixels = job.pixelLimit > 0 ? static_cast<uint64_t>(job.pixelLimit) : 0;
  const JpegProbe probe = probeJpeg(QFile::encodeName(job.inputPath).toStdString(), maxPixels);
  if (probe.status != JpegStatus::Ok) {
    job.inputBpp = 0;
    job.lastFailure =
        probe.status == JpegStatus::TooLarge ? ConversionFailure::TooLarge : ConversionFailure::CannotOpen;
    return false;
  }
  if (road == ConversionRoad::Automatic && canStreamConversion(settings, job, probe.header)) {
    const StreamOutcome outcome = streamConversion(settings, job, probe.header, maxPixels);
    job.lastStreamed = outcome != StreamOutcome::NotStreamable;
    if (job.lastStreamed) return outcome == StreamOutcome::Saved;
  }
  return convertByChain(settings, job);
}
