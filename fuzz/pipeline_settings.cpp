// Fuzzes the conversion chain with any config.ini: every setting the loader reads (rotation,
// resizing, colour, threshold, frame, text or image watermark, output depth) reaches a real
// conversion of a small JPEG. The output name and the watermark image are fixed, so nothing is
// read or written outside a scratch folder.
#include "fuzz_support.h"

#include "convert/batch.h"
#include "convert/layers.h"
#include "convert/pipeline.h"
#include "settings/config_file.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

namespace {

struct Scene {
  QTemporaryDir dir;
  QString input;
  QString mark;
  QString output;
};

Scene* scene = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);  // fonts for text watermarks
  scene = new Scene;
  scene->input = scene->dir.filePath(QStringLiteral("in.jpg"));
  scene->mark = scene->dir.filePath(QStringLiteral("mark.png"));
  scene->output = scene->dir.filePath(QStringLiteral("out")) + QLatin1Char('/');
  QImage picture(24, 16, QImage::Format_RGB32);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 24; ++x) picture.setPixel(x, y, qRgb(x * 10, y * 15, 128));
  QImage mark(6, 4, QImage::Format_ARGB32);
  mark.fill(qRgba(255, 0, 0, 100));
  if (!picture.save(scene->input, "JPG") || !mark.save(scene->mark, "PNG") || !QDir().mkpath(scene->output))
    std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::MemoryFile config;
  Settings settings;
  settings.configPath = config.write(fuzz::bytesOf(data, size));
  loadConfig(settings, DefaultsEnvironment{1920, 1080, 0});
  settings.advanced.filenameMask = QStringLiteral("%filename%.%ext%");
  settings.advanced.keepSubfolders = 0;
  settings.watermark.image = scene->mark;

  ConversionJob job;
  job.inputPath = scene->input;
  job.outputFolder = scene->output;
  job.outputExtension = QStringLiteral("hdr");
  job.pixelLimit = int64_t{1} << 20;  // bounds what a resize may reserve
  if (!prepareConversionRun(settings, job)) return 0;
  if (settings.watermark.doWatermark == 1) job.watermarkFont = loadWatermarkFont(settings);
  const bool ok = convertFile(settings, job);
  FUZZ_CHECK(ok == (job.lastFailure == ConversionFailure::None));
  const QStringList left = QDir(scene->output).entryList(QDir::Files | QDir::Hidden);
  FUZZ_CHECK(left.size() == (ok ? 1 : 0));
  for (const QString& name : left) QFile::remove(scene->output + name);
  return 0;
}
