#include "test_support.h"

#include "settings/defaults.h"

#include <QFile>

#include <algorithm>
#include <cmath>

namespace testing_support {

QString samplePath(const char* name) {
  return QStringLiteral(QUILLET_SAMPLES_DIR "/") + QString::fromUtf8(name);
}

QString cheetahPath() { return samplePath("cheetah_1024x768.jpg"); }

Settings defaultSettings() {
  Settings settings;
  applyDefaults(settings, true, DefaultsEnvironment{1920, 1080, 1700000000});
  return settings;
}

ConversionJob hdrJob(const QString& input, const QString& outputFolder) {
  ConversionJob job;
  job.inputPath = input;
  job.outputFolder = outputFolder;
  job.outputExtension = QStringLiteral("hdr");
  job.outputFormatId = FIF_HDR;
  job.automaticDepth = 1;
  return job;
}

QByteArray readBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray withExifOrientation(const QByteArray& jpeg, uint16_t orientation) {
  QByteArray tiff("II*\0\x08\0\0\0", 8);  // little-endian header, first IFD at offset 8
  const char entry[] = {1,
                        0,  // one entry
                        0x12,
                        0x01,
                        3,
                        0,
                        1,
                        0,
                        0,
                        0,  // Orientation, SHORT, count 1
                        static_cast<char>(orientation & 0xff),
                        static_cast<char>(orientation >> 8),
                        0,
                        0,
                        0,
                        0,
                        0,
                        0};  // no next IFD
  tiff.append(entry, sizeof entry);
  const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
  const int length = static_cast<int>(payload.size()) + 2;
  QByteArray segment("\xff\xe1", 2);
  segment.append(static_cast<char>(length >> 8)).append(static_cast<char>(length & 0xff)).append(payload);
  return jpeg.left(2) + segment + jpeg.mid(2);
}

QByteArray withFrameSize(const QByteArray& jpeg, uint16_t width, uint16_t height) {
  QByteArray result = jpeg;
  qsizetype at = 2;
  while (at + 4 <= result.size() && static_cast<uint8_t>(result[at]) == 0xff) {
    const auto marker = static_cast<uint8_t>(result[at + 1]);
    const int length = (static_cast<uint8_t>(result[at + 2]) << 8) | static_cast<uint8_t>(result[at + 3]);
    if (marker == 0xc0) {
      result[at + 5] = static_cast<char>(height >> 8);
      result[at + 6] = static_cast<char>(height & 0xff);
      result[at + 7] = static_cast<char>(width >> 8);
      result[at + 8] = static_cast<char>(width & 0xff);
      return result;
    }
    at += 2 + length;
  }
  return {};
}

bool writeGreyscaleJpeg(const QString& path) {
  const BitmapPtr colour = loadJpeg(cheetahPath());
  const BitmapPtr grey(FreeImage_ConvertToGreyscale(colour.get()));
  return grey && FreeImage_Save(FIF_JPEG, grey.get(), QFile::encodeName(path).constData(), 90) != FALSE;
}

BitmapPtr loadJpeg(const QString& path) {
  ensureFreeImage();
  return BitmapPtr(
      FreeImage_Load(FIF_JPEG, QFile::encodeName(path).constData(), JPEG_ACCURATE | JPEG_EXIFROTATE));
}

BitmapPtr loadHdr(const QString& path) {
  ensureFreeImage();
  return BitmapPtr(FreeImage_Load(FIF_HDR, QFile::encodeName(path).constData(), 0));
}

BitmapPtr solidBitmap(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
  ensureFreeImage();
  BitmapPtr bitmap(FreeImage_Allocate(width, height, 24));
  const RGBQUAD colour{blue, green, red, 0};
  FreeImage_FillBackground(bitmap.get(), &colour);
  return bitmap;
}

Rgb pixel(FIBITMAP* bitmap, int x, int y) {
  const int row = static_cast<int>(FreeImage_GetHeight(bitmap)) - 1 - y;
  const BYTE* line = FreeImage_GetScanLine(bitmap, row);
  const unsigned bpp = FreeImage_GetBPP(bitmap);
  if (bpp == 8) {
    const int v = line[x];
    return {v, v, v};
  }
  const BYTE* p = line + x * (bpp / 8);
  return {p[FI_RGBA_RED], p[FI_RGBA_GREEN], p[FI_RGBA_BLUE]};
}

RgbF pixelF(FIBITMAP* bitmap, int x, int y) {
  const int row = static_cast<int>(FreeImage_GetHeight(bitmap)) - 1 - y;
  const auto* line = reinterpret_cast<const FIRGBF*>(FreeImage_GetScanLine(bitmap, row));
  return {line[x].red, line[x].green, line[x].blue};
}

bool closeToHdr(const RgbF& stored, float red, float green, float blue) {
  const float tolerance = std::max({red, green, blue}) / 128.0f + 1e-6f;
  return std::fabs(stored.red - red) <= tolerance && std::fabs(stored.green - green) <= tolerance &&
         std::fabs(stored.blue - blue) <= tolerance;
}

}  // namespace testing_support
