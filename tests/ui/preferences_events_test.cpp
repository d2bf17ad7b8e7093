// What the Preferences controls do while the window is open: slider and spin pairs, the gamma
// scale, number edits, and the colour, font and image dialogs.
#include "preferences_fixture.h"
#include "ui/range_spin_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

namespace {

using PreferencesEvents = PreferencesTest;

// Replaces the spin box's text by typing, key by key.
void type(RangeSpinBox* spin, const QString& text) {
  spin->selectAll();
  QTest::keyClick(spin, Qt::Key_Backspace);
  QTest::keyClicks(spin, text);
}

// Leaving the box (focus moving on) normalizes its text.
void leave(RangeSpinBox* spin) { emit spin->editingFinished(); }

TEST_F(PreferencesEvents, TypedNumbersAreClampedIntoSpinAndSlider) {
  const struct {
    const char* row;
    const char* typed;
    const char* shown;
    int slider;
  } cases[] = {
      {"Output/JPG Quality", "150", "100", 100},         {"Output/JPG Quality", "7", "7", 7},
      {"Adjustment/Image Brightness", "-20", "-20", 80}, {"Adjustment/Image Brightness", "-250", "-100", 0},
      {"Adjustment/Image Contrast", "45", "45", 145},    {"Adjustment/Image Threshold", "999", "255", 255},
      {"Transform/Image Rotation", "400", "360", 360},   {"Frame/Solid Opacity", "0", "1", 1},
      {"Advanced/Out Folders Number", "51", "50", 50},
  };
  settings.transform.doImageRotation = 1;  // the angle and threshold rows take input only when enabled
  settings.adjustment.doImageThreshold = 1;
  open();
  for (const auto& c : cases) {
    auto* spin = control<RangeSpinBox>(QString(c.row) + ".spin");
    type(spin, c.typed);
    leave(spin);
    EXPECT_EQ(spin->text(), c.shown) << c.row << " " << c.typed;
    EXPECT_EQ(control<QSlider>(QString(c.row) + ".slider")->value(), c.slider) << c.row << " " << c.typed;
  }
}

TEST_F(PreferencesEvents, OutOfRangeShowsTheLimitWhileTyping) {
  open();
  auto* spin = control<RangeSpinBox>("Output/JPG Quality.spin");
  type(spin, "150");
  EXPECT_EQ(spin->text(), "100");
  EXPECT_EQ(control<QSlider>("Output/JPG Quality.slider")->value(), 100);
  // A lone minus sign is left for the user to finish.
  auto* brightness = control<RangeSpinBox>("Adjustment/Image Brightness.spin");
  type(brightness, "-");
  EXPECT_EQ(brightness->text(), "-");
}

TEST_F(PreferencesEvents, SliderMovesTheSpinBox) {
  open();
  const struct {
    const char* row;
    int slider;
    const char* shown;
  } cases[] = {
      {"Adjustment/Image Brightness", 0, "-100"},
      {"Adjustment/Image Contrast", 200, "100"},
      {"Output/JPG Quality", 5, "5"},
      {"Watermark/Text Opacity", 128, "128"},
      {"Adjustment/Image Gamma", 50, "0.50"},
  };
  for (const auto& c : cases) {
    control<QSlider>(QString(c.row) + ".slider")->setValue(c.slider);
    EXPECT_EQ(control<RangeSpinBox>(QString(c.row) + ".spin")->text(), c.shown) << c.row;
  }
}

TEST_F(PreferencesEvents, GammaTyping) {
  const struct {
    const char* typed;
    const char* shown;
    int slider;
  } cases[] = {
      {"2.345", "2.35", 235},  // 2.3450000286 as a float, x 100, rounded
      {"0", "0.01", 1},       {"2.2", "2.20", 220}, {"12", "9.99", 999}, {".5", "0.50", 50}, {"", "0.01", 1},
  };
  open();
  auto* spin = control<RangeSpinBox>("Adjustment/Image Gamma.spin");
  auto* slider = control<QSlider>("Adjustment/Image Gamma.slider");
  for (const auto& c : cases) {
    type(spin, c.typed);
    EXPECT_EQ(slider->value(), c.slider) << c.typed;
    leave(spin);
    EXPECT_EQ(spin->text(), c.shown) << c.typed;
    EXPECT_EQ(spin->position(), c.slider) << c.typed;
  }
  // More decimals than shown are rounded at once.
  type(spin, "2.345");
  EXPECT_EQ(spin->text(), "2.35");
}

TEST_F(PreferencesEvents, GammaArrowsStepByOneHundredth) {
  settings.adjustment.imageGamma = 9.98f;
  open();
  auto* spin = control<RangeSpinBox>("Adjustment/Image Gamma.spin");
  auto* slider = control<QSlider>("Adjustment/Image Gamma.slider");
  spin->stepBy(1);
  EXPECT_EQ(spin->text(), "9.99");
  EXPECT_EQ(slider->value(), 999);
  spin->stepBy(1);
  EXPECT_EQ(spin->text(), "9.99");
  QTest::keyClick(spin, Qt::Key_Down);
  EXPECT_EQ(spin->text(), "9.98");
  EXPECT_EQ(slider->value(), 998);
}

TEST_F(PreferencesEvents, NumberEditsTakeDigitsOnly) {
  open();
  auto* edit = control<QLineEdit>("Frame/Solid Left");
  edit->selectAll();
  QTest::keyClicks(edit, "-5a7 1234567890");
  EXPECT_EQ(edit->text(), "571234567");
}

TEST_F(PreferencesEvents, ColourRowDialog) {
  settings.frame.solidTopColor = "00FF00";
  open();
  auto* edit = control<QLineEdit>("Frame/Solid Top Color");
  auto* button = control<QPushButton>("Frame/Solid Top Color.button");
  const Settings before = settings;

  dialogs.colourAnswer.reset();
  button->click();
  EXPECT_EQ(dialogs.colourAsked, QColor(0, 255, 0));
  EXPECT_EQ(edit->text(), "00FF00");

  dialogs.colourAnswer = QColor(0x12, 0xab, 0xcd);
  button->click();
  EXPECT_EQ(edit->text(), "12ABCD");
  EXPECT_EQ(button->icon().pixmap(QSize(34, 12)).toImage().pixelColor(17, 6), QColor(0x12, 0xab, 0xcd));
  EXPECT_TRUE(changedFields(before, settings).empty());  // Settings change only on OK
}

TEST_F(PreferencesEvents, ColourListDialogSelectsOrAppends) {
  open();
  auto* list = control<QComboBox>("Watermark/Font Color");
  auto* browse = control<QPushButton>("Watermark/Font Color.browse");
  const QString offered = settings.watermark.fontColors;
  const int count = list->count();
  ASSERT_EQ(list->currentText(), "White");

  dialogs.colourAnswer = QColor(0xFF, 0x80, 0x00);
  browse->click();
  EXPECT_EQ(dialogs.colourAsked, QColor(255, 255, 255));
  EXPECT_EQ(list->currentText(), "Orange");
  EXPECT_EQ(list->count(), count);
  EXPECT_EQ(settings.watermark.fontColors, offered);

  dialogs.colourAnswer = QColor(0x12, 0x34, 0x56);
  browse->click();
  EXPECT_EQ(list->count(), count + 1);
  EXPECT_EQ(list->currentText(), "Color #123456");
  EXPECT_EQ(list->currentIndex(), count);
  EXPECT_EQ(settings.watermark.fontColors, offered + ",123456");

  dialogs.colourAnswer.reset();
  browse->click();
  EXPECT_EQ(list->currentText(), "Color #123456");
  EXPECT_EQ(settings.watermark.fontColors, offered + ",123456");

  // The background list extends its own field.
  dialogs.colourAnswer = QColor(0x80, 0x40, 0x00);
  control<QPushButton>("Watermark/Back Color.browse")->click();
  EXPECT_EQ(control<QComboBox>("Watermark/Back Color")->currentText(), "Brown");
  EXPECT_EQ(settings.watermark.backColors, offered + ",804000");
  EXPECT_EQ(settings.watermark.fontColors, offered + ",123456");
}

TEST_F(PreferencesEvents, FontDialogAddsTheFontAtOnceAndSetsSizeAndStyle) {
  open();
  auto* fonts = control<QComboBox>("Watermark/Font");
  fonts->setCurrentText("Tahoma");
  control<QLineEdit>("Watermark/Font Size")->setText("22");

  QFont chosen;
  chosen.setFamilies({"Courier, New"});
  chosen.setPointSize(20);
  chosen.setBold(true);
  chosen.setItalic(true);
  dialogs.fontAnswer = chosen;
  control<QPushButton>("Watermark/Font.browse")->click();

  EXPECT_EQ(dialogs.fontAsked.family(), "Tahoma");
  EXPECT_EQ(dialogs.fontAsked.pointSize(), 22);
  EXPECT_EQ(fonts->currentText(), "Courier New");
  EXPECT_EQ(fonts->count(), 4);
  EXPECT_EQ(settings.watermark.fonts, "Arial,Tahoma,Verdana,Courier New");
  EXPECT_EQ(control<QLineEdit>("Watermark/Font Size")->text(), "20");
  EXPECT_EQ(control<QComboBox>("Watermark/Font Style")->currentText(), "Bold Italic");

  // A font already offered is selected, not added again.
  QFont plain("Verdana");
  plain.setPointSize(9);
  dialogs.fontAnswer = plain;
  control<QPushButton>("Watermark/Font.browse")->click();
  EXPECT_EQ(fonts->currentText(), "Verdana");
  EXPECT_EQ(fonts->count(), 4);
  EXPECT_EQ(control<QComboBox>("Watermark/Font Style")->currentText(), "Regular");

  // The offer stays extended after Cancel and is saved with the next save.
  window->reject();
  settle();
  EXPECT_EQ(settings.watermark.fonts, "Arial,Tahoma,Verdana,Courier New");
  EXPECT_EQ(settings.watermark.font, "Arial");
}

TEST_F(PreferencesEvents, CancelledFontDialogChangesNothing) {
  open();
  dialogs.fontAnswer.reset();
  control<QPushButton>("Watermark/Font.browse")->click();
  EXPECT_EQ(control<QComboBox>("Watermark/Font")->currentText(), "Arial");
  EXPECT_EQ(control<QLineEdit>("Watermark/Font Size")->text(), "14");
  EXPECT_EQ(settings.watermark.fonts, "Arial,Tahoma,Verdana");
}

TEST_F(PreferencesEvents, ImageFileDialog) {
  settings.watermark.image = "  /pictures/logo.png ";
  open();
  auto* edit = control<QLineEdit>("Watermark/Image");
  dialogs.fileAnswer.clear();
  control<QPushButton>("Watermark/Image.browse")->click();
  EXPECT_EQ(dialogs.fileTitle, "Select Watermark Image");
  EXPECT_EQ(dialogs.fileStart, "/pictures/logo.png");
  const QList<std::pair<QString, QString>> expected = {
      {"All Supported Files", "*.jpg;*.jpeg;*.jpe;*.jif;*.png;*.bmp;*.rle;*.dib"},
      {"JPEG File", "*.jpg;*.jpeg;*.jpe;*.jif"},
      {"Portable Network Graphics", "*.png"},
      {"Windows or OS/2 Bitmap", "*.bmp;*.rle;*.dib"},
      {"All Files (*.*)", "*.*"},
  };
  ASSERT_EQ(dialogs.fileFilters.size(), expected.size());
  for (qsizetype i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(dialogs.fileFilters[i].label, expected[i].first);
    EXPECT_EQ(dialogs.fileFilters[i].patterns, expected[i].second);
  }
  EXPECT_EQ(edit->text(), "  /pictures/logo.png ");

  dialogs.fileAnswer = "/home/me/mark.bmp";
  control<QPushButton>("Watermark/Image.browse")->click();
  EXPECT_EQ(edit->text(), "/home/me/mark.bmp");
}

}  // namespace
