// The two roads of a conversion. A plain JPEG to Radiance conversion streams row by row; it must
// give the file and the job fields that decoding the whole image and running the chain give,
// and both must give the bytes of FreeImage's float image saved by FreeImage.
#include "convert/batch.h"
#include "convert/layers.h"
#include "convert/pipeline.h"
#include "convert/stream_road.h"
#include "convert/transforms.h"
#include "jpeg_writer.h"
#include "platform/files.h"
#include "settings/temp_folder.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <jpeglib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace testing_support;

const ConversionRoad kRoads[] = {ConversionRoad::General, ConversionRoad::Automatic};

const char* roadName(ConversionRoad road) {
  return road == ConversionRoad::General ? "general" : "automatic";
}

// What one conversion left behind.
struct Outcome {
  bool ok = false;
  ConversionJob job;
  QByteArray file;      // the output, when one was written
  QStringList entries;  // the output folder afterwards
};

// The fields both roads must agree on.
void expectSameFields(const Outcome& general, const Outcome& automatic, const std::string& name) {
  EXPECT_EQ(automatic.ok, general.ok) << name;
  EXPECT_EQ(automatic.job.lastFailure, general.job.lastFailure) << name;
  EXPECT_EQ(automatic.job.lastDecodeWarning, general.job.lastDecodeWarning) << name;
  EXPECT_EQ(automatic.job.inputBpp, general.job.inputBpp) << name;
  EXPECT_EQ(automatic.job.outputBpp, general.job.outputBpp) << name;
  EXPECT_EQ(automatic.job.resultWidth, general.job.resultWidth) << name;
  EXPECT_EQ(automatic.job.resultHeight, general.job.resultHeight) << name;
  EXPECT_EQ(automatic.job.outputPath, general.job.outputPath) << name;
  EXPECT_EQ(automatic.entries, general.entries) << name;
  EXPECT_EQ(automatic.file.size(), general.file.size()) << name;
  EXPECT_TRUE(automatic.file == general.file) << name;
}

class Roads : public ::testing::Test {
 protected:
  QString in(const QString& name) const { return dir_.path() + QStringLiteral("/in/") + name; }
  QString out() const { return dir_.path() + QStringLiteral("/out/"); }
  QStringList outEntries() const {
    return QDir(out()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                 QDir::Name);
  }

  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(dir_.path() + QStringLiteral("/in")));
    ASSERT_TRUE(QDir().mkpath(out()));
    settings_.advanced.filenameMask = QStringLiteral("%filename%_%width%x%height%_%bpp%.%ext%");
  }

  // Converts by one road into out() with a job whose fields start from values no conversion
  // gives, then takes the output away so that the next run starts from the same folder.
  Outcome convert(ConversionRoad road, const QString& input, const Settings& settings,
                  const std::function<void(ConversionJob&)>& prepare = {}) {
    Outcome o;
    o.job = hdrJob(input, out());
    o.job.outputPath = QStringLiteral("previous.hdr");
    o.job.inputBpp = 99;
    o.job.resultWidth = o.job.resultHeight = 99;
    if (prepare) prepare(o.job);
    const QStringList before = outEntries();
    o.ok = convertFileBy(road, settings, o.job);
    EXPECT_EQ(o.job.lastStreamed && road == ConversionRoad::General, false);
    o.entries = outEntries();
    if (o.ok) {
      o.file = readBytes(o.job.outputPath);
      EXPECT_TRUE(QFile::remove(o.job.outputPath));
      EXPECT_EQ(outEntries(), before);
    }
    return o;
  }

  // Both roads on one input; the automatic road must have streamed when `streams` says so.
  void expectSameByBothRoads(const QString& input, bool streams, const std::string& name,
                             const std::function<void(ConversionJob&)>& prepare = {}) {
    const Outcome general = convert(ConversionRoad::General, input, settings_, prepare);
    const Outcome automatic = convert(ConversionRoad::Automatic, input, settings_, prepare);
    EXPECT_EQ(automatic.job.lastStreamed, streams) << name;
    expectSameFields(general, automatic, name);
  }

  // FreeImage's own road for an unchanged JPEG: the float image saved by FreeImage.
  QByteArray freeImageFile(FIBITMAP* bitmap) const {
    const BitmapPtr rgbf(FreeImage_ConvertToRGBF(bitmap));
    const QString path = dir_.path() + QStringLiteral("/freeimage.hdr");
    if (!rgbf || !FreeImage_Save(FIF_HDR, rgbf.get(), QFile::encodeName(path).constData(), 0)) return {};
    return readBytes(path);
  }

  QString saveJpeg(FIBITMAP* bitmap, const char* name, int flags) const {
    const QString path = in(QString::fromLatin1(name));
    EXPECT_TRUE(FreeImage_Save(FIF_JPEG, bitmap, QFile::encodeName(path).constData(), flags)) << name;
    return path;
  }

  QString writeJpeg(const char* name, const QByteArray& bytes) const {
    const QString path = in(QString::fromLatin1(name));
    EXPECT_TRUE(writeBytes(path, bytes)) << name;
    return path;
  }

  QTemporaryDir dir_;
  Settings settings_ = defaultSettings();
};

TEST_F(Roads, EveryStreamableJpegGivesTheSameFileByBothRoads) {
  const BitmapPtr cheetah = loadJpeg(cheetahPath());
  ASSERT_TRUE(cheetah);
  const BitmapPtr grey(FreeImage_ConvertToGreyscale(cheetah.get()));
  const BitmapPtr odd(FreeImage_Copy(cheetah.get(), 3, 100, 1004, 137));
  const BitmapPtr narrow(FreeImage_Copy(cheetah.get(), 500, 500, 505, 509));
  const QByteArray baseline = readBytes(cheetahPath());
  const QString progressive = saveJpeg(cheetah.get(), "progressive.jpg", JPEG_PROGRESSIVE | JPEG_QUALITYGOOD);
  const QByteArray progressiveBytes = readBytes(progressive);
  struct Case {
    const char* name;
    QString path;
    bool warns;  // decodes with a warning (truncated data, an unknown marker)
  };
  const Case cases[] = {
      {"cheetah, baseline 4:2:0", cheetahPath(), false},
      {"greyscale", saveJpeg(grey.get(), "grey.jpg", JPEG_QUALITYGOOD), false},
      {"greyscale progressive",
       writeJpeg("grey-progressive.jpg",
                 encodeJpeg(testPicture(301, 203), {.colour = JpegColour::Grey, .progressive = true})),
       false},
      {"progressive", progressive, false},
      {"4:2:2", saveJpeg(cheetah.get(), "422.jpg", JPEG_SUBSAMPLING_422 | 90), false},
      {"4:4:4", saveJpeg(cheetah.get(), "444.jpg", JPEG_SUBSAMPLING_444 | 95), false},
      {"odd size 1001x37", saveJpeg(odd.get(), "odd.jpg", JPEG_QUALITYNORMAL), false},
      {"width 5, rows stored flat", saveJpeg(narrow.get(), "narrow.jpg", JPEG_QUALITYNORMAL), false},
      {"written by libjpeg", writeJpeg("libjpeg.jpg", encodeJpeg(testPicture(333, 171), {})), false},
      {"Exif orientation 1", writeJpeg("upright.jpg", withExifOrientation(baseline, 1)), false},
      {"truncated baseline", writeJpeg("cut.jpg", baseline.left(baseline.size() * 3 / 5)), true},
      {"truncated progressive",
       writeJpeg("cut-progressive.jpg", progressiveBytes.left(progressiveBytes.size() / 2)), true},
      {"marker of unknown type",
       writeJpeg("unknown-marker.jpg",
                 baseline.left(2) + QByteArray("\xff\xf0\x00\x04\x00\x00", 6) + baseline.mid(2)),
       true},
  };
  for (const Case& c : cases) {
    const BitmapPtr decoded = loadJpeg(c.path);
    ASSERT_TRUE(decoded) << c.name;
    const QByteArray expected = freeImageFile(decoded.get());
    ASSERT_FALSE(expected.isEmpty()) << c.name;
    const Outcome general = convert(ConversionRoad::General, c.path, settings_);
    const Outcome automatic = convert(ConversionRoad::Automatic, c.path, settings_);
    ASSERT_TRUE(general.ok) << c.name;
    EXPECT_FALSE(general.job.lastStreamed) << c.name;
    EXPECT_TRUE(automatic.job.lastStreamed) << c.name;
    EXPECT_EQ(general.job.lastDecodeWarning, c.warns) << c.name;
    EXPECT_EQ(general.job.outputBpp, 96) << c.name;
    EXPECT_TRUE(general.job.outputPath.endsWith(QStringLiteral("_96.hdr"))) << c.name;
    EXPECT_TRUE(general.file == expected) << c.name;
    expectSameFields(general, automatic, c.name);
  }
}

TEST_F(Roads, AnyActingStepOrOtherOutputTakesTheGeneralRoad) {
  const QString turned = writeJpeg("turned.jpg", withExifOrientation(readBytes(cheetahPath()), 6));
  // FreeImage follows the last of several Exif blocks.
  const QString turnedLast =
      writeJpeg("turned-last.jpg", withExifOrientation(withExifOrientation(readBytes(cheetahPath()), 6), 1));
  const QString cmyk = writeJpeg("cmyk.jpg", encodeJpeg(testPicture(64, 48), {.colour = JpegColour::Cmyk}));
  const QString logo = samplePath("logo_rgba_256.png");
  struct Case {
    const char* name;
    std::function<void(Settings&)> settings;
    QString input;
    std::function<void(ConversionJob&)> job;
  };
  const Case cases[] = {
      {"rotation", [](Settings& s) { s.transform.doImageRotation = 1; }, {}, {}},
      {"resize", [](Settings& s) { s.transform.doImageResize = 1; }, {}, {}},
      {"horizontal flip", [](Settings& s) { s.transform.doImageFlipHorizontal = 1; }, {}, {}},
      {"vertical flip", [](Settings& s) { s.transform.doImageFlipVertical = 1; }, {}, {}},
      {"colour correction", [](Settings& s) { s.adjustment.doImageColorCorrection = 1; }, {}, {}},
      {"greyscale", [](Settings& s) { s.adjustment.doImageGreyscale = 1; }, {}, {}},
      {"threshold", [](Settings& s) { s.adjustment.doImageThreshold = 1; }, {}, {}},
      {"frame", [](Settings& s) { s.frame.doFrame = 1; }, {}, {}},
      {"text watermark", [](Settings& s) { s.watermark.doWatermark = 1; }, {}, {}},
      {"image watermark",
       [&](Settings& s) {
         s.watermark.doWatermark = 2;
         s.watermark.image = logo;
       },
       {},
       {}},
      {"Exif orientation 6", {}, turned, {}},
      {"Exif orientation 1, then 6", {}, turnedLast, {}},
      {"CMYK JPEG", {}, cmyk, {}},
      {"Radiance at a fixed 96 bits streams",
       {},
       {},
       [](ConversionJob& j) {
         j.automaticDepth = 0;
         j.outputBpp = 96;
       }},
      {"PNG output",
       {},
       {},
       [](ConversionJob& j) {
         j.outputExtension = QStringLiteral("png");
         j.outputFormatId = FIF_PNG;
       }},
  };
  for (const Case& c : cases) {
    Settings settings = defaultSettings();
    if (c.settings) c.settings(settings);
    const QString input = c.input.isEmpty() ? cheetahPath() : c.input;
    const bool streams = QString::fromLatin1(c.name).endsWith(QStringLiteral("streams"));
    const JpegProbe probe = probeJpeg(QFile::encodeName(input).toStdString());
    ASSERT_EQ(probe.status, JpegStatus::Ok) << c.name;
    ConversionJob job = hdrJob(input, out());
    if (c.job) c.job(job);
    EXPECT_EQ(chainIsIdle(settings), !c.settings) << c.name;
    EXPECT_EQ(canStreamConversion(settings, job, probe.header), streams) << c.name;
    job.watermarkFont.reset();
    EXPECT_TRUE(convertFile(settings, job)) << c.name;
    EXPECT_EQ(job.lastStreamed, streams) << c.name;
    if (!c.settings) {
      const BitmapPtr decoded = loadJpeg(input);
      EXPECT_EQ(job.resultWidth, static_cast<int>(FreeImage_GetWidth(decoded.get()))) << c.name;
    }
    EXPECT_TRUE(QFile::remove(job.outputPath)) << c.name;
  }
  EXPECT_TRUE(outEntries().isEmpty());
}

// Settings whose steps are on but change nothing still go through the chain, whose file is the
// stream's.
TEST_F(Roads, StepsThatChangeNothingGiveTheStreamedFile) {
  const Outcome streamed = convert(ConversionRoad::Automatic, cheetahPath(), settings_);
  ASSERT_TRUE(streamed.job.lastStreamed);
  settings_.transform.doImageRotation = 1;
  settings_.transform.imageRotation = 0;
  settings_.transform.doImageResize = 1;
  settings_.transform.imageWidth = settings_.transform.imageHeight = 100;
  settings_.transform.imageWidthUnit = settings_.transform.imageHeightUnit = 1;
  settings_.frame.doFrame = 2;  // a frame type that draws nothing
  const Outcome chained = convert(ConversionRoad::Automatic, cheetahPath(), settings_);
  EXPECT_FALSE(chained.job.lastStreamed);
  expectSameFields(chained, streamed, "idle steps");
}

// The chain's result at 8, 24 or 32 bits goes to RGBE without a float image; the file is the one
// FreeImage writes for the float image of the same steps.
TEST_F(Roads, ChainResultsAreWrittenAsTheirFloatImageWouldBe) {
  struct Case {
    const char* name;
    std::function<void(Settings&)> settings;
    unsigned bpp;  // of the bitmap that reaches the depth step
  };
  const Case cases[] = {
      {"greyscale", [](Settings& s) { s.adjustment.doImageGreyscale = 1; }, 8},
      {"resize to 50 %",
       [](Settings& s) {
         s.transform.doImageResize = 1;
         s.transform.imageWidth = s.transform.imageHeight = 50;
         s.transform.imageWidthUnit = s.transform.imageHeightUnit = 1;
       },
       24},
      {"flips and colour correction",
       [](Settings& s) {
         s.transform.doImageFlipHorizontal = s.transform.doImageFlipVertical = 1;
         s.adjustment.doImageColorCorrection = 1;
         s.adjustment.imageBrightness = 20;
         s.adjustment.imageGamma = 1.4f;
       },
       24},
      {"frame",
       [](Settings& s) {
         s.frame.doFrame = 1;
         s.frame.solidLeft = s.frame.solidTop = 20;
         s.frame.solidLeftColor = QStringLiteral("3366FF");
       },
       24},
      {"threshold, 1 bit, takes the float image", [](Settings& s) { s.adjustment.doImageThreshold = 1; }, 1},
  };
  for (const Case& c : cases) {
    Settings settings = defaultSettings();
    settings.advanced.filenameMask = settings_.advanced.filenameMask;
    c.settings(settings);
    // The same steps as the chain, then FreeImage's float image and FreeImage's writer.
    BitmapPtr bitmap = loadJpeg(cheetahPath());
    const auto width = [&] { return static_cast<int>(FreeImage_GetWidth(bitmap.get())); };
    const auto height = [&] { return static_cast<int>(FreeImage_GetHeight(bitmap.get())); };
    bitmap = resize(std::move(bitmap), width(), height(), settings);
    flip(bitmap.get(), settings);
    bitmap = adjustColours(std::move(bitmap), settings);
    bitmap = greyscale(std::move(bitmap), settings);
    bitmap = threshold(std::move(bitmap), settings);
    bitmap = frame(std::move(bitmap), width(), height(), settings);
    ASSERT_TRUE(bitmap) << c.name;
    EXPECT_EQ(FreeImage_GetBPP(bitmap.get()), c.bpp) << c.name;
    const QByteArray expected = freeImageFile(bitmap.get());
    ASSERT_FALSE(expected.isEmpty()) << c.name;

    const Outcome o = convert(ConversionRoad::Automatic, cheetahPath(), settings);
    ASSERT_TRUE(o.ok) << c.name;
    EXPECT_FALSE(o.job.lastStreamed) << c.name;
    EXPECT_EQ(o.job.outputBpp, 96) << c.name;
    EXPECT_TRUE(o.job.outputPath.endsWith(QStringLiteral("_96.hdr"))) << c.name;
    EXPECT_TRUE(o.file == expected) << c.name;
  }
}

TEST(OutputDepth, RadianceTakesEightBitImagesAsTheyAre) {
  for (const unsigned bpp : {8u, 24u, 32u}) {
    BitmapPtr bitmap = solidBitmap(8, 4, 10, 200, 30);
    if (bpp == 8) bitmap.reset(FreeImage_ConvertToGreyscale(bitmap.get()));
    if (bpp == 32) bitmap.reset(FreeImage_ConvertTo32Bits(bitmap.get()));
    ASSERT_EQ(FreeImage_GetBPP(bitmap.get()), bpp);
    ConversionJob job = hdrJob(QString(), QString());
    job.inputBpp = 24;
    FIBITMAP* original = bitmap.get();
    bitmap = outputDepth(std::move(bitmap), job);
    EXPECT_EQ(bitmap.get(), original) << bpp;
    EXPECT_EQ(job.outputBpp, 96) << bpp;
    EXPECT_TRUE(radianceFromBytes(bitmap.get(), job)) << bpp;
  }
  // Other formats at 96 bits keep FreeImage's conversion.
  for (const auto& [extension, id] :
       {std::pair{"exr", FIF_EXR}, std::pair{"pfm", FIF_PFM}, std::pair{"tiff", FIF_TIFF}}) {
    ConversionJob job;
    job.outputExtension = QString::fromLatin1(extension);
    job.outputFormatId = id;
    job.outputBpp = 96;
    const BitmapPtr bitmap = outputDepth(solidBitmap(8, 4, 10, 200, 30), job);
    ASSERT_TRUE(bitmap) << extension;
    EXPECT_EQ(FreeImage_GetImageType(bitmap.get()), FIT_RGBF) << extension;
  }
}

// A JPEG whose decoder fails fatally after the last row: a second start-of-scan where the end
// of the image belongs.
QByteArray withBadScanAtTheEnd(const QByteArray& jpeg) {
  return jpeg.left(jpeg.size() - 2) + QByteArray("\xff\xda\x00\x06\x00\x00\xff\xd9", 8);
}

TEST_F(Roads, FailuresLeaveTheSameTracesByBothRoads) {
  const QByteArray cheetah = readBytes(cheetahPath());
  const QString text = writeJpeg("notes.jpg", "this is not a picture\n");
  const QString huge = writeJpeg("huge.jpg", withFrameSize(cheetah, 65000, 65000));
  const QString badEnd = writeJpeg("bad-end.jpg", withBadScanAtTheEnd(cheetah));
  ASSERT_FALSE(loadJpeg(badEnd)) << "FreeImage must refuse it too";
  const QString cut = writeJpeg("cut.jpg", cheetah.left(cheetah.size() / 2));
  struct Case {
    const char* name;
    QString input;
    ConversionFailure failure;
    std::function<void(ConversionJob&)> job;
  };
  const Case cases[] = {
      {"not a JPEG", text, ConversionFailure::CannotOpen, {}},
      {"missing", in(QStringLiteral("missing.jpg")), ConversionFailure::CannotOpen, {}},
      {"too large", huge, ConversionFailure::TooLarge, {}},
      {"below the job's limit", cheetahPath(), ConversionFailure::TooLarge,
       [](ConversionJob& j) { j.pixelLimit = 1024 * 768 - 1; }},
      {"fatal error after the last row", badEnd, ConversionFailure::CannotOpen, {}},
      {"missing output folder", cut, ConversionFailure::CannotSave,
       [&](ConversionJob& j) { j.outputFolder = out() + QStringLiteral("missing/"); }},
      {"fatal error, missing output folder", badEnd, ConversionFailure::CannotOpen,
       [&](ConversionJob& j) { j.outputFolder = out() + QStringLiteral("missing/"); }},
  };
  for (const Case& c : cases) {
    const Outcome general = convert(ConversionRoad::General, c.input, settings_, c.job);
    const Outcome automatic = convert(ConversionRoad::Automatic, c.input, settings_, c.job);
    EXPECT_FALSE(general.ok) << c.name;
    EXPECT_EQ(general.job.lastFailure, c.failure) << c.name;
    EXPECT_TRUE(general.entries.isEmpty()) << c.name;
    expectSameFields(general, automatic, c.name);
  }
  // A cut file decodes with a warning, which a failed save still reports.
  const Outcome cutAway = convert(ConversionRoad::Automatic, cut, settings_, [&](ConversionJob& j) {
    j.outputFolder = out() + QStringLiteral("missing/");
  });
  EXPECT_TRUE(cutAway.job.lastDecodeWarning);
}

TEST_F(Roads, AFullDiskFailsTheStreamCleanly) {
  const QString target = out() + QStringLiteral("cheetah_1024x768_1024x768_96.hdr");
  const QByteArray cheetah = readBytes(cheetahPath());
  const QString cut = writeJpeg("cheetah_1024x768.jpg", cheetah.left(cheetah.size() * 9 / 10));
  const Outcome whole = convert(ConversionRoad::Automatic, cut, settings_);
  ASSERT_TRUE(whole.ok);
  const qint64 size = whole.file.size();
  for (const qint64 limit : {qint64{0}, size / 3, size - 1}) {
    for (const ConversionRoad road : kRoads) {
      ASSERT_TRUE(writeBytes(target, "old"));
      Outcome o;
      {
        const FileSizeLimit full(static_cast<rlim_t>(limit));
        o = convert(road, cut, settings_);
      }
      EXPECT_FALSE(o.ok) << roadName(road) << " limit " << limit;
      EXPECT_EQ(o.job.lastFailure, ConversionFailure::CannotSave) << roadName(road) << " limit " << limit;
      EXPECT_TRUE(o.job.lastDecodeWarning) << roadName(road) << " limit " << limit;
      EXPECT_EQ(o.job.lastStreamed, road == ConversionRoad::Automatic);
      EXPECT_EQ(readBytes(target), QByteArray("old")) << roadName(road) << " limit " << limit;
      EXPECT_EQ(o.entries, QStringList{QFileInfo(target).fileName()}) << roadName(road) << " limit " << limit;
    }
  }
}

// Writes a colour JPEG of the given size row by row, without the whole picture in memory.
bool writeTallJpeg(const QString& path, int width, int height) {
  FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
  if (file == nullptr) return false;
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 80, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<JSAMPLE>(x ^ y);
      row[3 * x + 1] = static_cast<JSAMPLE>(y >> 4);
      row[3 * x + 2] = static_cast<JSAMPLE>((x * 7) >> 3);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(file) == 0;
}

long residentKilobytes() {
  long pages = 0, resident = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return -1;
  const bool read = std::fscanf(statm, "%ld %ld", &pages, &resident) == 2;
  std::fclose(statm);
  return read ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

// How much the peak resident memory grows while one conversion runs, in kilobytes; measured in
// a child process, whose peak starts where this process stands.
long peakGrowthKilobytes(ConversionRoad road, const Settings& settings, const ConversionJob& job) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeFds[0]);
    const long before = residentKilobytes();
    ConversionJob own = job;
    long growth = -1;
    if (convertFileBy(road, settings, own)) {
      rusage usage{};
      ::getrusage(RUSAGE_SELF, &usage);
      growth = usage.ru_maxrss - before;
    }
    const ssize_t written = ::write(pipeFds[1], &growth, sizeof growth);
    ::_exit(written == sizeof growth ? 0 : 1);
  }
  ::close(pipeFds[1]);
  long growth = -1;
  if (child < 0 || ::read(pipeFds[0], &growth, sizeof growth) != sizeof growth) growth = -1;
  ::close(pipeFds[0]);
  int status = 0;
  if (child > 0) ::waitpid(child, &status, 0);
  return growth;
}

TEST_F(Roads, StreamingMemoryDoesNotGrowWithTheHeight) {
  // 1024 x 16384 pixels: 48 MB decoded, 64 MB as RGBE.
  const QString tall = in(QStringLiteral("tall.jpg"));
  ASSERT_TRUE(writeTallJpeg(tall, 1024, 16384));
  const ConversionJob job = hdrJob(tall, out());
  const long streamed = peakGrowthKilobytes(ConversionRoad::Automatic, settings_, job);
  const long chained = peakGrowthKilobytes(ConversionRoad::General, settings_, job);
  ASSERT_GT(streamed, 0);
  EXPECT_LT(streamed, 16 * 1024) << "kilobytes";
  // The general road holds the decoded image whole: the measure sees it.
  EXPECT_GT(chained, 40 * 1024) << "kilobytes";
}

// The worker sets the file date once the conversion has renamed its file over the target.
TEST_F(Roads, TheFileDateLandsOnTheRenamedFile) {
  const QString input = in(QStringLiteral("dated.jpg"));
  ASSERT_TRUE(QFile::copy(cheetahPath(), input));
  const int64_t original = 1000000000;  // 2001
  ASSERT_TRUE(platform::setModificationTime(input, original));
  FileQueue queue;
  queue[input] = {};
  settings_.advanced.fileTimestamp = 1;
  for (const ConversionRoad road : kRoads) {
    ConversionJob job = hdrJob(input, out());
    ConversionWorker worker(settings_, job, queue, [road](const Settings& settings, ConversionJob& j) {
      return convertFileBy(road, settings, j);
    });
    worker.start();
    worker.wait();
    EXPECT_EQ(worker.convertedCount(), 1) << roadName(road);
    EXPECT_EQ(job.lastStreamed, road == ConversionRoad::Automatic);
    int64_t written = 0;
    ASSERT_TRUE(platform::modificationTime(job.outputPath, &written)) << roadName(road);
    EXPECT_EQ(written, original) << roadName(road);
    EXPECT_EQ(outEntries(), QStringList{QFileInfo(job.outputPath).fileName()}) << roadName(road);
    EXPECT_TRUE(QFile::remove(job.outputPath));
  }
}

}  // namespace
