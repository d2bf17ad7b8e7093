#include "settings/defaults.h"
#include "settings/fields.h"

#include <gtest/gtest.h>

namespace {

DefaultsEnvironment environment(int width, int height) { return {width, height, 1700000000}; }

TEST(Defaults, WindowIsCentredOnWideDesktopsOnly) {
  struct Case {
    int width, height;
    int32_t x, y;
  };
  for (const Case& c : {Case{500, 200, 100, 100}, Case{1920, 1080, 705, 410}, Case{511, 261, 0, 0},
                        Case{510, 260, 100, 100}, Case{0, 0, 100, 100}}) {
    Settings s;
    applyDefaults(s, false, environment(c.width, c.height));
    EXPECT_EQ(s.window.x, c.x) << c.width;
    EXPECT_EQ(s.window.y, c.y) << c.height;
  }
}

TEST(Defaults, ConsoleFlagOnlyChangesKeepAspectRatio) {
  Settings gui, console;
  gui.configPath = console.configPath = QStringLiteral("/tmp/config.ini");
  applyDefaults(gui, false, environment(1920, 1080));
  applyDefaults(console, true, environment(1920, 1080));
  EXPECT_EQ(gui.transform.keepAspectRatio, 1);
  EXPECT_EQ(console.transform.keepAspectRatio, 0);
  console.transform.keepAspectRatio = 1;
  for (const SettingField& field : settingFields()) {
    std::visit([&](auto* a) { EXPECT_EQ(*a, *std::get<decltype(a)>(field.get(console))) << field.key; },
               field.get(gui));
  }
  EXPECT_EQ(console.configPath, QStringLiteral("/tmp/config.ini"));
}

TEST(Defaults, NotableValues) {
  Settings s;
  s.output.hdrBpp = 96;
  s.watermark.text.clear();
  applyDefaults(s, false, environment(1920, 1080));
  EXPECT_EQ(s.general.cfg, 17);
  EXPECT_EQ(s.general.updateDate, 1700000000);
  EXPECT_EQ(s.advanced.customTimestamp, 1700000000);
  EXPECT_EQ(s.input.format, QStringLiteral("jpg"));
  EXPECT_EQ(s.input.rawToneMapping, 2);
  EXPECT_EQ(s.output.format, QStringLiteral("hdr"));
  EXPECT_EQ(s.output.hdrBpp, 0);
  EXPECT_EQ(s.output.jpgQuality, 95);
  EXPECT_EQ(s.transform.imageResizeAlgorithm, 3);
  EXPECT_FLOAT_EQ(s.adjustment.imageGamma, 1.0f);
  EXPECT_EQ(s.frame.solidOpacity, 255);
  EXPECT_EQ(s.watermark.backOpacity, 1);
  EXPECT_EQ(s.watermark.textPosition, 8);
  EXPECT_EQ(s.watermark.font, QStringLiteral("Arial"));
  EXPECT_FALSE(s.watermark.text.isEmpty());
  EXPECT_EQ(s.advanced.filenameMask, QStringLiteral("%filename%.%ext%"));
  EXPECT_EQ(s.advanced.outFoldersNumber, 5);
}

TEST(Fields, TableCoversEveryFieldOnceAndFindsBppKeys) {
  EXPECT_EQ(settingFields().size(), 132u);
  Settings s;
  ASSERT_NE(outputBppField(s, QStringLiteral("hdr")), nullptr);
  *outputBppField(s, QStringLiteral("hdr")) = 96;
  EXPECT_EQ(s.output.hdrBpp, 96);
  EXPECT_EQ(outputBpp(s, QStringLiteral("webp")), 0);
  EXPECT_EQ(outputBppField(s, QStringLiteral("xyz")), nullptr);
  EXPECT_NE(findSettingField(QStringLiteral("general"), QStringLiteral("cfg")), nullptr);
  EXPECT_EQ(findSettingField(QStringLiteral("Transform"), QStringLiteral("\u212Aeep Aspect Ratio")), nullptr);
}

}  // namespace
