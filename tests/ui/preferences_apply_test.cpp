// How the Preferences window ends: OK stores every control and saves config.ini, "Defaults"
// resets after its question, Cancel, Escape and the close box discard; the change flag tells
// the main window what to rebuild.
#include "preferences_fixture.h"
#include "settings/config_file.h"
#include "ui/range_spin_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <limits>

namespace {

using PreferencesApply = PreferencesTest;

Settings loadSaved(const Settings& settings) {
  Settings loaded;
  loaded.configPath = settings.configPath;
  loadConfig(loaded, kTestEnv);
  return loaded;
}

void typeInto(RangeSpinBox* spin, const QString& text) {
  spin->selectAll();
  QTest::keyClick(spin, Qt::Key_Backspace);
  QTest::keyClicks(spin, text);
}

TEST_F(PreferencesApply, OkStoresOneChangePerPageAndSaves) {
  const Settings before = settings;
  open();
  control<QComboBox>("General/Update Range")->setCurrentIndex(0);
  control<QComboBox>("Interface/UI Size")->setCurrentIndex(1);
  // The Input page offers nothing to change: "jpg" has no panel.
  control<QComboBox>("Output/HDR BPP")->setCurrentIndex(1);
  control<QCheckBox>("Transform/Do Image Rotation")->setChecked(true);
  typeInto(control<RangeSpinBox>("Adjustment/Image Brightness.spin"), "-20");
  control<QComboBox>("Frame/Do Frame")->setCurrentIndex(1);
  control<QLineEdit>("Watermark/Text")->setText("  Proof %yyyy%");
  control<QLineEdit>("Advanced/Filename Mask")->setText("%filename%_hdr.%ext%");
  control<QPushButton>("ok")->click();

  EXPECT_EQ(changedFields(before, settings),
            (std::set<std::string>{"General/Update Range", "Interface/UI Size", "Output/HDR BPP",
                                   "Transform/Do Image Rotation", "Adjustment/Image Brightness",
                                   "Adjustment/Do Image Color Correction", "Frame/Do Frame", "Watermark/Text",
                                   "Advanced/Filename Mask"}));
  EXPECT_EQ(settings.general.updateRange, 0);
  EXPECT_EQ(settings.ui.uiSize, 1);
  EXPECT_EQ(settings.output.hdrBpp, 96);
  EXPECT_EQ(settings.adjustment.imageBrightness, -20);
  EXPECT_EQ(settings.adjustment.doImageColorCorrection, 1);
  EXPECT_EQ(settings.watermark.text, "Proof %yyyy%");
  EXPECT_EQ(settings.advanced.filenameMask, "%filename%_hdr.%ext%");

  ASSERT_TRUE(configSaved());
  const Settings saved = loadSaved(settings);
  for (const std::string& name : changedFields(settings, saved))
    ADD_FAILURE() << name << ": " << fieldTexts(settings)[name].toStdString() << " saved as "
                  << fieldTexts(saved)[name].toStdString();
  EXPECT_EQ(changeFlag, 2);
  EXPECT_EQ(appliedIndexes, std::vector<int>{0});
  EXPECT_EQ(appliedWhileOpen, std::vector<bool>{true});
  settle();
  EXPECT_TRUE(window.isNull());
}

// Every field the window shows, set to a value other than its default, comes back unchanged.
TEST_F(PreferencesApply, OkWithoutChangesKeepsEveryField) {
  Settings& s = settings;
  s.general.updateRange = 4;
  s.general.saveWindowPosition = 0;
  s.ui.uiTheme = "classic";
  s.ui.uiSize = 0;
  s.input = {"jpg", 1, 2, 3, 4, 5, 6, 7, 8, 3};
  s.output.hdrBpp = 96;
  s.output.bmpBpp = 16;
  s.output.tiffBpp = 48;
  s.output.jpgQuality = 42;
  s.output.jpgChroma = 3;
  s.output.jpgSaveAs = 2;
  s.output.pngCompression = 3;
  s.output.pngInterlaced = 1;
  s.output.tiffCompression = 8;
  s.output.tiffColorModel = 1;
  s.output.exrCompression = 4;
  s.output.bmpCompression = 1;
  s.output.bmpColorTable = 1;
  s.output.tgaCompression = 1;
  s.transform = {1, 1, 270, "FF8000", 1, 50, 1, 480, 0, 0, 1, 5, 1, 1};
  s.adjustment = {1, -7, 33, 0.45f, 1, 1, 1, 128};
  s.frame = {1, 1, 2, 3, 4, "C0C0C0", "800000", "008080", "000080", 200};
  s.watermark.doWatermark = 1;
  s.watermark.text = "%filename% (c)";
  s.watermark.font = "Verdana";
  s.watermark.fontSize = 31;
  s.watermark.fontLeading = 4;
  s.watermark.fontColor = "FF8000";
  s.watermark.fontStyle = 3;
  s.watermark.fontEffect = 2;
  s.watermark.textAntialiasing = 1;
  s.watermark.textAlignment = 2;
  s.watermark.textPadding = 6;
  s.watermark.textOpacity = 77;
  s.watermark.backColor = "0000FF";
  s.watermark.backOpacity = 99;
  s.watermark.textBoundary = 1;
  s.watermark.textPosition = 4;
  s.watermark.textXOffset = 12;
  s.watermark.textYOffset = 13;
  s.watermark.textRotation = 45;
  s.watermark.textScale = 150;
  s.watermark.image = "/pictures/logo.png";
  s.watermark.imageGreyscale = 1;
  s.watermark.imageOpacity = 11;
  s.watermark.imageBoundary = 1;
  s.watermark.imagePosition = 2;
  s.watermark.imageXOffset = 21;
  s.watermark.imageYOffset = 22;
  s.watermark.imageRotation = 300;
  s.watermark.imageScale = 2;
  s.advanced = {"%n%.%ext%", 1, 1234567890, 0, 17, 0};
  const Settings before = settings;
  open();
  control<QPushButton>("ok")->click();
  EXPECT_TRUE(changedFields(before, settings).empty());
  EXPECT_EQ(changeFlag, 0);
}

TEST_F(PreferencesApply, CancelEscapeAndCloseBoxDiscard) {
  const Settings before = settings;
  for (int way = 0; way < 3; ++way) {
    open();
    control<QComboBox>("Interface/UI Size")->setCurrentIndex(0);
    control<QLineEdit>("Watermark/Text")->setText("changed");
    typeInto(control<RangeSpinBox>("Adjustment/Image Gamma.spin"), "3");
    if (way == 0) control<QPushButton>("cancel")->click();
    if (way == 1) QTest::keyClick(window.data(), Qt::Key_Escape);
    if (way == 2) window->close();
    settle();
    EXPECT_TRUE(window.isNull()) << way;
    EXPECT_TRUE(changedFields(before, settings).empty()) << way;
  }
  EXPECT_FALSE(configSaved());
  EXPECT_EQ(changeFlag, 0);
  EXPECT_TRUE(appliedIndexes.empty());
}

TEST_F(PreferencesApply, ChangeFlagFromThemeAndIconSize) {
  const struct {
    int theme;  // position in the theme list; "handdrawn" is 1
    int size;   // the default is 2
    int flag;
  } cases[] = {{1, 2, 0}, {1, 0, 2}, {0, 2, 1}, {0, 1, 1}};
  for (const auto& c : cases) {
    applyDefaults(settings, false, kTestEnv);
    changeFlag = 0;
    open();
    control<QComboBox>("Interface/UI Theme")->setCurrentIndex(c.theme);
    control<QComboBox>("Interface/UI Size")->setCurrentIndex(c.size);
    control<QPushButton>("ok")->click();
    settle();
    EXPECT_EQ(changeFlag, c.flag) << c.theme << " " << c.size;
    EXPECT_EQ(settings.ui.uiTheme, c.theme == 0 ? "classic" : "handdrawn");
    EXPECT_EQ(settings.ui.uiSize, c.size);
  }
}

TEST_F(PreferencesApply, EdgeValuesStoredOnOk) {
  settings.output.hdrBpp = 24;                     // not offered: nothing selected, stored as Auto
  settings.watermark.fontColor = "123456";         // not offered: the first colour is stored
  settings.adjustment.doImageColorCorrection = 1;  // neutral values turn it off
  settings.ui.uiSize = 4;                          // a size the list does not offer stays
  open();
  control<QLineEdit>("Watermark/Text")->setText(" \tHello\tWorld\r\n");
  control<QLineEdit>("Watermark/Image")->setText("  /pictures/a\tb.png\n");
  control<QLineEdit>("Advanced/Filename Mask")->setText("\t%filename%.%ext% ");
  control<QPushButton>("ok")->click();
  EXPECT_EQ(settings.output.hdrBpp, 0);
  EXPECT_EQ(settings.watermark.fontColor, "000000");
  EXPECT_EQ(settings.adjustment.doImageColorCorrection, 0);
  EXPECT_EQ(settings.ui.uiSize, 4);
  EXPECT_EQ(changeFlag, 0);
  EXPECT_EQ(settings.watermark.text, "HelloWorld");
  EXPECT_EQ(settings.watermark.image, "/pictures/ab.png");
  EXPECT_EQ(settings.advanced.filenameMask, "%filename%.%ext%");
}

TEST_F(PreferencesApply, ColourCorrectionFollowsTheFourAdjustments) {
  const struct {
    const char* control;
    const char* value;
    int expected;
  } cases[] = {{nullptr, nullptr, 0},
               {"Adjustment/Image Brightness.spin", "1", 1},
               {"Adjustment/Image Contrast.spin", "-1", 1},
               {"Adjustment/Image Gamma.spin", "1.01", 1},
               {"Adjustment/Image Invert", nullptr, 1},
               {"Adjustment/Image Threshold.spin", "100", 0}};
  for (const auto& c : cases) {
    applyDefaults(settings, false, kTestEnv);
    open();
    if (c.control != nullptr && c.value != nullptr) typeInto(control<RangeSpinBox>(c.control), c.value);
    if (c.control != nullptr && c.value == nullptr) control<QCheckBox>(c.control)->setChecked(true);
    control<QPushButton>("ok")->click();
    settle();
    EXPECT_EQ(settings.adjustment.doImageColorCorrection, c.expected) << (c.control ? c.control : "none");
  }
}

TEST_F(PreferencesApply, TypedValuesAreStoredClamped) {
  open();
  typeInto(control<RangeSpinBox>("Adjustment/Image Gamma.spin"), "2.345");
  typeInto(control<RangeSpinBox>("Watermark/Text Opacity.spin"), "300");
  control<QPushButton>("ok")->click();
  EXPECT_FLOAT_EQ(settings.adjustment.imageGamma, 2.35f);
  EXPECT_EQ(settings.watermark.textOpacity, 255);
}

TEST_F(PreferencesApply, DefaultsAnsweredNoChangesNothing) {
  settings.watermark.text = "mine";
  const Settings before = settings;
  open();
  control<QLineEdit>("Watermark/Text")->setText("typed");
  dialogs.questionAnswer = false;
  control<QPushButton>("defaults")->click();
  EXPECT_EQ(dialogs.questions, 1);
  EXPECT_EQ(dialogs.questionIcon, MessageIcon::Question);
  EXPECT_EQ(dialogs.questionTitle, "Reset to Defaults");
  EXPECT_EQ(dialogs.questionText, "Are you sure you want to reset all your settings to the default values?");
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(control<QLineEdit>("Watermark/Text")->text(), "typed");
  EXPECT_TRUE(changedFields(before, settings).empty());
  EXPECT_FALSE(configSaved());
  EXPECT_TRUE(appliedIndexes.empty());
}

TEST_F(PreferencesApply, DefaultsAnsweredYesResetsSavesAndCloses) {
  settings.ui.uiSize = 0;
  settings.watermark.text = "mine";
  settings.general.updateRange = 5;
  open();
  control<QLineEdit>("Advanced/Filename Mask")->setText("typed");
  dialogs.questionAnswer = true;
  control<QPushButton>("defaults")->click();

  Settings expected;
  expected.configPath = settings.configPath;
  applyDefaults(expected, false, kTestEnv);
  EXPECT_TRUE(changedFields(expected, settings).empty());
  ASSERT_TRUE(configSaved());
  EXPECT_TRUE(changedFields(expected, loadSaved(settings)).empty());
  EXPECT_EQ(changeFlag, 2);  // the window showed "Small", the defaults say "Large"
  EXPECT_EQ(appliedWhileOpen, std::vector<bool>{true});
  settle();
  EXPECT_TRUE(window.isNull());
}

TEST_F(PreferencesApply, UnwritableConfigStillAppliesInMemory) {
  settings.configPath = folder.filePath("missing-folder/config.ini");
  open();
  control<QComboBox>("General/Update Range")->setCurrentIndex(1);
  control<QPushButton>("ok")->click();
  EXPECT_EQ(settings.general.updateRange, 1);
  EXPECT_FALSE(QFile::exists(settings.configPath));
  EXPECT_EQ(appliedIndexes.size(), 1u);
}

// Every number field at the end of its width (as a hand-edited config.ini can hold): the window
// opens, and OK stores values the controls can show.
TEST_F(PreferencesApply, ExtremeValuesOpenAndComeBackInRange) {
  for (const bool high : {true, false}) {
    applyDefaults(settings, false, kTestEnv);
    for (const SettingField& field : settingFields()) {
      std::visit(
          [high](auto* value) {
            using T = std::remove_pointer_t<decltype(value)>;
            if constexpr (std::is_same_v<T, float>)
              *value =
                  high ? std::numeric_limits<float>::infinity() : std::numeric_limits<float>::quiet_NaN();
            else if constexpr (!std::is_same_v<T, QString>)
              *value = high ? std::numeric_limits<T>::max() : std::numeric_limits<T>::min();
          },
          field.get(settings));
    }
    const Settings before = settings;
    open();
    control<QPushButton>("ok")->click();
    settle();
    EXPECT_FLOAT_EQ(settings.adjustment.imageGamma, high ? 9.99f : 1.0f);
    EXPECT_EQ(settings.watermark.textOpacity, high ? 255 : 1);
    EXPECT_EQ(settings.adjustment.imageBrightness, high ? 100 : -100);
    EXPECT_EQ(settings.advanced.outFoldersNumber, high ? 50 : 1);
    EXPECT_EQ(settings.advanced.customTimestamp, high ? std::numeric_limits<int32_t>::max() : 0);
    EXPECT_EQ(settings.output.hdrBpp, 0);
    // Lists that offer no item for the value keep it.
    EXPECT_EQ(settings.general.updateRange, before.general.updateRange);
    EXPECT_EQ(settings.watermark.textPosition, before.watermark.textPosition);
    // Number edits show the value and store it back.
    EXPECT_EQ(settings.frame.solidLeft, before.frame.solidLeft);
  }
}

}  // namespace
