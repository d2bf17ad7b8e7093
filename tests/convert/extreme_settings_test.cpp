// Every number the pipeline reads from Settings at its extremes. config.ini values are not
// range-checked (a hand-edited file reaches the engine as it is), so no value may crash the
// conversion or overflow; a value that makes no sense only fails the file.
#include "convert/layers.h"
#include "convert/pipeline.h"
#include "jpeg_writer.h"
#include "settings/fields.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <type_traits>

namespace {

using namespace testing_support;

const char* const kPipelineGroups[] = {"Transform", "Adjustment", "Frame", "Watermark"};

bool readByPipeline(const SettingField& field) {
  for (const char* group : kPipelineGroups)
    if (qstrcmp(field.group, group) == 0) return true;
  return false;
}

class ExtremeSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(writeBytes(input(), encodeJpeg(testPicture(48, 32), {})));
    ASSERT_TRUE(writeBytes(dir_.path() + "/mark.png", QByteArray()));
    QImage mark(12, 8, QImage::Format_ARGB32);
    mark.fill(qRgba(200, 10, 10, 128));
    ASSERT_TRUE(mark.save(dir_.path() + "/mark.png"));
  }
  QString input() const { return dir_.path() + "/in.jpg"; }

  // Every step on: rotation, resizing, colour, greyscale, threshold, frame and a watermark.
  Settings everythingOn(int watermarkType) const {
    Settings settings = defaultSettings();
    settings.transform.doImageRotation = 1;
    settings.transform.doImageResize = 1;
    settings.transform.imageWidth = 40;
    settings.transform.imageHeight = 30;
    settings.adjustment.doImageColorCorrection = 1;
    settings.adjustment.doImageGreyscale = 1;
    settings.adjustment.doImageThreshold = 1;
    settings.frame.doFrame = 1;
    settings.watermark.doWatermark = watermarkType;
    settings.watermark.image = dir_.path() + "/mark.png";
    settings.watermark.text = QStringLiteral("first line%eol%second%eol%%filename% %n%");
    settings.watermark.textAlignment = 2;
    return settings;
  }

  // Converts with the settings; the outcome is either a saved file or a clean failure.
  void convertChecked(const Settings& settings, const std::string& what) {
    ConversionJob job = hdrJob(input(), dir_.path() + "/out/");
    job.pixelLimit = int64_t{1} << 22;  // keeps a huge resize from reserving gigabytes here
    if (settings.watermark.doWatermark == 1) job.watermarkFont = loadWatermarkFont(settings);
    const bool ok = convertFile(settings, job);
    EXPECT_EQ(ok, job.lastFailure == ConversionFailure::None) << what;
    const QStringList left = QDir(dir_.path() + "/out").entryList(QDir::Files | QDir::Hidden);
    EXPECT_TRUE(ok ? left.size() == 1 : left.isEmpty()) << what;
    for (const QString& name : left) QFile::remove(dir_.path() + "/out/" + name);
  }

  QTemporaryDir dir_;
};

TEST_F(ExtremeSettings, NoNumberCrashesTheConversion) {
  ASSERT_TRUE(QDir(dir_.path()).mkpath("out"));
  int tried = 0;
  for (int watermarkType : {1, 2}) {
    for (const SettingField& field : settingFields()) {
      if (!readByPipeline(field)) continue;
      const std::string name = std::string(field.group) + "/" + field.key;
      Settings probe = everythingOn(watermarkType);
      std::visit(
          [&](auto* value) {
            using T = std::remove_pointer_t<decltype(value)>;
            if constexpr (std::is_same_v<T, QString>) {
              return;  // texts: colours and paths are covered by their own tests
            } else {
              std::vector<T> values;
              if constexpr (std::is_same_v<T, float>) {
                values = {std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity(),
                          -std::numeric_limits<float>::infinity(),
                          0.0f,
                          -1.0f,
                          1e30f};
              } else {
                values = {std::numeric_limits<T>::min(), T(-1), T(0), std::numeric_limits<T>::max()};
                if constexpr (std::is_same_v<T, int32_t>) values.push_back(1 << 20);
              }
              for (const T extreme : values) {
                Settings settings = probe;
                *std::get<T*>(field.get(settings)) = extreme;
                convertChecked(settings, name + " = " + std::to_string(extreme) + ", watermark type " +
                                             std::to_string(watermarkType));
                ++tried;
              }
            }
          },
          field.get(probe));
    }
  }
  EXPECT_GT(tried, 100);
}

}  // namespace
