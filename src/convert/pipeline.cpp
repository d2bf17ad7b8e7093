#include "convert/pipeline.h"

#include "convert/bitmap.h"
#include "convert/layers.h"
#include "convert/naming.h"
#include "convert/transforms.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QFile>

#include <cstdio>

namespace {

constexpr int kJpegLoadFlags = JPEG_ACCURATE | JPEG_EXIFROTATE;

// Reads the JPEG header alone, so that an oversized image is refused before any pixel memory
// is reserved; then decodes it. Sets the failure reason and the decode-warning flag.
BitmapPtr loadInput(ConversionJob& job) {
  const QByteArray path = QFile::encodeName(job.inputPath);
  {
    const BitmapPtr header(FreeImage_Load(FIF_JPEG, path.constData(), FIF_LOAD_NOPIXELS));
    if (!header) {
      job.lastFailure = ConversionFailure::CannotOpen;
      return nullptr;
    }
    const int64_t pixels =
        static_cast<int64_t>(FreeImage_GetWidth(header.get())) * FreeImage_GetHeight(header.get());
    if (pixels > job.pixelLimit) {
      job.lastFailure = ConversionFailure::TooLarge;
      return nullptr;
    }
  }
  FreeImageMessages messages;
  BitmapPtr bitmap(FreeImage_Load(FIF_JPEG, path.constData(), kJpegLoadFlags));
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

// FreeImage_Save ignores the result of closing its file, so a write that fails only when the
// last buffered bytes go out (a full disk) would pass as a complete file. The stream is ours
// here, and every step of writing it out is checked.
bool saveToFile(FIBITMAP* bitmap, const ConversionJob& job, const QString& path) {
  FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
  if (file == nullptr) return false;
  FreeImageIO io{readFromFile, writeToFile, seekInFile, tellInFile};
  bool saved = FreeImage_SaveToHandle(static_cast<FREE_IMAGE_FORMAT>(job.outputFormatId), bitmap, &io,
                                      static_cast<fi_handle>(file), job.saveFlags) != FALSE;
  saved = std::fflush(file) == 0 && std::ferror(file) == 0 && saved;
  return std::fclose(file) == 0 && saved;
}

// Writes into a new file beside the target and moves it over the target only once complete: a
// failed save leaves no partial file and an existing target untouched.
bool saveReplacing(const BitmapPtr& bitmap, const ConversionJob& job) {
  const QString temporary =
      platform::createUniqueFile(platform::folderOf(job.outputPath), QStringLiteral(".quillet-"));
  if (temporary.isEmpty()) return false;
  const bool saved = saveToFile(bitmap.get(), job, temporary);
  if (saved && platform::replaceFile(temporary, job.outputPath)) return true;
  platform::removeFile(temporary);
  return false;
}

}  // namespace

bool convertFile(const Settings& settings, ConversionJob& job) {
  ensureFreeImage();
  job.lastFailure = ConversionFailure::None;
  job.lastDecodeWarning = false;

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
  if (!saveReplacing(bitmap, job)) {
    job.lastFailure = ConversionFailure::CannotSave;
    return false;
  }
  return true;
}
