#include "convert/format_tables.h"
#include "convert/rgbe_rows.h"
#include "convert/transforms.h"

namespace {

BitmapPtr to24BitsUnless(BitmapPtr bitmap, bool keep) {
  if (keep) return bitmap;
  return BitmapPtr(FreeImage_ConvertTo24Bits(bitmap.get()));
}

}  // namespace

bool radianceFromBytes(FIBITMAP* bitmap, const ConversionJob& job) {
  if (job.outputBpp != 96 || job.outputFormatId != FIF_HDR || job.outputExtension != QLatin1String("hdr")) {
    return false;
  }
  if (FreeImage_GetImageType(bitmap) != FIT_BITMAP) return false;
  const unsigned bpp = FreeImage_GetBPP(bitmap);
  return (bpp == 8 || bpp == 24 || bpp == 32) && canWriteBitmapRadiance(bitmap);
}

BitmapPtr outputDepth(BitmapPtr bitmap, ConversionJob& job) {
  if (!bitmap) return bitmap;
  if (job.automaticDepth != 0) job.outputBpp = autoDepth(job.outputExtension, job.inputBpp);
  if (radianceFromBytes(bitmap.get(), job)) return bitmap;

  const unsigned bpp = FreeImage_GetBPP(bitmap.get());
  const int32_t target = job.outputBpp;
  if (static_cast<int32_t>(bpp) == target) return bitmap;

  const QString& extension = job.outputExtension;
  FIBITMAP* source = bitmap.get();
  switch (target) {
    case 1:
      return BitmapPtr(FreeImage_Dither(source, FID_FS));
    case 4:
      return BitmapPtr(FreeImage_ConvertTo4Bits(source));
    case 8: {
      if (extension == QLatin1String("j2k") || extension == QLatin1String("jp2") ||
          extension == QLatin1String("jpg") || extension == QLatin1String("jxr")) {
        return BitmapPtr(FreeImage_ConvertTo8Bits(source));
      }
      bitmap = to24BitsUnless(std::move(bitmap), bpp == 24);
      if (!bitmap) return bitmap;
      return BitmapPtr(FreeImage_ColorQuantizeEx(bitmap.get(), FIQ_WUQUANT, 256, 0, nullptr));
    }
    case 16: {
      bitmap = to24BitsUnless(std::move(bitmap), bpp <= 32);
      if (!bitmap) return bitmap;
      if (extension == QLatin1String("ico") || extension == QLatin1String("tga")) {
        return BitmapPtr(FreeImage_ConvertTo16Bits555(bitmap.get()));
      }
      return BitmapPtr(FreeImage_ConvertTo16Bits565(bitmap.get()));
    }
    case 24:
      return BitmapPtr(FreeImage_ConvertTo24Bits(source));
    case 32:
      return BitmapPtr(FreeImage_ConvertTo32Bits(source));
    case 48:
      return BitmapPtr(FreeImage_ConvertToRGB16(source));
    case 96:
      return BitmapPtr(FreeImage_ConvertToRGBF(source));
    default:
      return nullptr;
  }
}
