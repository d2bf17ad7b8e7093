// The Preferences window as it opens: pages and navigation, the place and kind of every row,
// filling from Settings and the dependent rules.
#include "preferences_fixture.h"
#include "ui/range_spin_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTreeWidget>

namespace {

QStringList itemTexts(const QComboBox* list) {
  QStringList texts;
  for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
  return texts;
}

using PreferencesWindowTest = PreferencesTest;

TEST_F(PreferencesWindowTest, WindowFrameTreeHeaderAndButtons) {
  PreferencesWindow& w = open();
  EXPECT_EQ(w.size(), QSize(600, 350));
  EXPECT_EQ(w.minimumSize(), w.maximumSize());
  EXPECT_EQ(w.windowTitle(), "Preferences...");
  EXPECT_EQ(w.windowModality(), Qt::ApplicationModal);
  EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);

  QTreeWidget* tree = w.pageTree();
  EXPECT_EQ(tree->geometry(), QRect(10, 10, 120, 295));
  QStringList pages;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) pages << tree->topLevelItem(i)->text(0);
  EXPECT_EQ(pages, QStringList({"General", "Interface", "Input", "Output", "Transform", "Adjustment", "Frame",
                                "Watermark", "Advanced"}));

  auto* header = control<QLabel>("header");
  EXPECT_EQ(header->geometry(), QRect(150, 17, 330, 20));
  EXPECT_TRUE(header->font().bold());
  EXPECT_EQ(header->font().pointSize(), 10);

  const struct {
    const char* name;
    const char* text;
    QRect geometry;
  } buttons[] = {{"defaults", "Defaults", {10, 315, 80, 25}},
                 {"ok", "OK", {420, 315, 80, 25}},
                 {"cancel", "Cancel", {510, 315, 80, 25}}};
  for (const auto& b : buttons) {
    auto* button = control<QPushButton>(b.name);
    EXPECT_EQ(button->text(), b.text);
    EXPECT_EQ(button->geometry(), b.geometry) << b.name;
  }
  for (int i = 0; i < kPageCount; ++i) EXPECT_EQ(w.page(i)->geometry(), QRect(140, 50, 450, 255)) << i;
}

TEST_F(PreferencesWindowTest, StartPageIsShownOnceThenGeneral) {
  PreferencesWindow& w = open(kOutputPage);
  EXPECT_EQ(w.currentPage(), kOutputPage);
  EXPECT_EQ(w.pageTree()->currentItem()->text(0), "Output");
  EXPECT_EQ(w.headerText(), "Output");
  for (int i = 0; i < kPageCount; ++i) EXPECT_EQ(w.page(i)->isVisible(), i == kOutputPage) << i;
  EXPECT_EQ(startPage, 0);

  w.reject();
  settle();
  PreferencesWindow* again = openPreferences(context(), nullptr);
  window = again;
  EXPECT_EQ(again->currentPage(), 0);
  EXPECT_EQ(again->headerText(), "General");
  EXPECT_TRUE(again->page(0)->isVisible());
}

TEST_F(PreferencesWindowTest, TreeSelectionSwitchesPageAndHeader) {
  PreferencesWindow& w = open();
  for (int page : {7, 4, 0, 8}) {
    w.pageTree()->setCurrentItem(w.pageTree()->topLevelItem(page));
    EXPECT_EQ(w.currentPage(), page);
    EXPECT_EQ(w.headerText(), w.pageTree()->topLevelItem(page)->text(0));
    for (int i = 0; i < kPageCount; ++i) EXPECT_EQ(w.page(i)->isVisible(), i == page) << page << " " << i;
  }
}

// One row of each control kind, at its row index within its page or panel.
TEST_F(PreferencesWindowTest, RowsSitAtTheirPositionsWithTheirSizes) {
  open();
  const struct {
    const char* name;
    QRect geometry;
  } cases[] = {
      {"General/Language.label", {10, 13, 160, 20}},
      {"General/Language", {170, 10, 240, 21}},              // list
      {"General/Save Window Position", {170, 70, 240, 20}},  // check
      {"Output/Format", {170, 10, 240, 21}},                 // icon list
      {"Output/HDR BPP", {170, 10, 240, 21}},                // first row of a panel
      {"Output/JPG Quality.slider", {170, 40, 170, 20}},     // slider + spin
      {"Output/JPG Quality.spin", {340, 40, 70, 20}},
      {"Input/RAW Header Size", {170, 40, 160, 20}},  // number + unit
      {"Input/RAW Header Size.unit", {340, 39, 70, 21}},
      {"Transform/Image Rotation Back Color.button", {170, 99, 44, 22}},  // colour
      {"Transform/Image Rotation Back Color", {220, 100, 190, 20}},
      {"Transform/Do Image Flip Vertical", {170, 340, 240, 20}},
      {"Adjustment/Image Gamma.slider", {170, 70, 170, 20}},
      {"Frame/Solid Opacity.spin", {340, 250, 70, 20}},
      {"Watermark/Text", {170, 10, 240, 20}},         // text
      {"Watermark/Font", {170, 40, 214, 21}},         // list beside "..."
      {"Watermark/Font.browse", {389, 39, 22, 22}},   // "..."
      {"Watermark/Back Color", {170, 340, 214, 21}},  // icon list beside "..."
      {"Watermark/Image", {170, 10, 214, 20}},        // text beside "..."
      {"Watermark/Image.browse", {389, 9, 22, 22}},
      {"Advanced/Custom Timestamp", {170, 70, 240, 21}},  // date
      {"Advanced/Out Folders Number.label", {10, 133, 160, 20}},
  };
  for (const auto& c : cases) {
    auto* widget = control<QWidget>(c.name);
    if (widget != nullptr) {
      EXPECT_EQ(widget->geometry(), c.geometry) << c.name;
    }
  }
  EXPECT_EQ(control<QPushButton>("Watermark/Font.browse")->text(), "...");
  EXPECT_TRUE(control<QLineEdit>("Transform/Image Rotation Back Color")->isReadOnly());
}

TEST_F(PreferencesWindowTest, PanelsAndScrollingAreas) {
  PreferencesWindow& w = open();
  EXPECT_NE(qobject_cast<QScrollArea*>(w.page(4)), nullptr);
  for (int plain : {0, 1, 2, 3, 5, 6, 7, 8})
    EXPECT_EQ(qobject_cast<QScrollArea*>(w.page(plain)), nullptr) << plain;

  const struct {
    const char* name;
    int contentHeight;  // 0 for a plain panel
  } panels[] = {
      {"page:Transform", 375},        {"panel:Frame/solid", 310}, {"panel:Watermark/text", 610},
      {"panel:Watermark/image", 310}, {"panel:Output/hdr", 0},    {"panel:Output/tiff", 0},
      {"panel:Input/raw", 0},
  };
  for (const auto& p : panels) {
    auto* widget = control<QWidget>(p.name);
    if (widget == nullptr) continue;
    if (QString(p.name).startsWith("panel:")) {
      EXPECT_EQ(widget->geometry(), QRect(0, 40, 450, 215)) << p.name;
    }
    auto* area = qobject_cast<QScrollArea*>(widget);
    if (p.contentHeight == 0) {
      EXPECT_EQ(area, nullptr) << p.name;
      continue;
    }
    ASSERT_NE(area, nullptr) << p.name;
    EXPECT_EQ(area->widget()->size(), QSize(420, p.contentHeight)) << p.name;
    EXPECT_EQ(area->verticalScrollBar()->singleStep(), 10) << p.name;
  }
}

// Every label and list item comes from the string table.
TEST_F(PreferencesWindowTest, EveryTextIsFoundInTheStringTable) {
  open();
  for (QLabel* label : window->findChildren<QLabel*>()) {
    EXPECT_FALSE(label->text().contains("NO_STRING")) << label->objectName().toStdString();
    if (label->objectName().endsWith(".label")) {
      EXPECT_TRUE(label->text().endsWith(':')) << label->text().toStdString();
    }
  }
  for (QComboBox* list : window->findChildren<QComboBox*>())
    for (const QString& item : itemTexts(list))
      EXPECT_FALSE(item.contains("NO_STRING")) << list->objectName().toStdString();
}

TEST_F(PreferencesWindowTest, ListItemsInOrder) {
  open();
  const struct {
    const char* name;
    QStringList items;
  } cases[] = {
      {"General/Language", {"English"}},
      {"General/Update Range",
       {"Every day", "Every week", "Every month", "Every 3 months", "Every 6 months", "Never"}},
      {"Interface/UI Theme", {"Classic", "Hand Drawn"}},
      {"Interface/UI Size", {"Small", "Medium", "Large"}},
      {"Input/Format", {"JPG"}},
      {"Input/RAW Load As",
       {"Auto", "RGB 8-bit", "RGB 16-bit", "RGB 24-bit", "RGB 48-bit (HS)", "RGB 48-bit"}},
      {"Input/RAW Header Size.unit", {"bytes"}},
      {"Output/Format", {"HDR"}},
      {"Output/HDR BPP", {"Auto", "96"}},
      {"Output/TIFF BPP", {"Auto", "1", "4", "8", "24", "32", "48", "96"}},
      {"Output/DDS BPP", {"Auto"}},
      {"Output/pcx:Compression", {"RLE"}},
      {"Output/TIFF Compression",
       {"None", "CCITT Group 3 Fax", "CCITT Group 4 Fax", "PackBits", "Deflate (ZLib)", "Adobe Deflate",
        "LZW", "JPEG", "LogLuv"}},
      {"Transform/Image Width.unit", {"pixels", "percent"}},
      {"Transform/Image Resize Algorithm",
       {"Box", "Bilinear", "B-Spline", "Bicubic", "Catmull-Rom Spline", "Lanczos"}},
      {"Frame/Do Frame", {"None", "Solid Color"}},
      {"Watermark/Do Watermark", {"None", "Text", "Image"}},
      {"Watermark/Font", {"Arial", "Tahoma", "Verdana"}},
      {"Watermark/Font Size.unit", {"points"}},
      {"Watermark/Font Color",
       {"Black", "White", "Red", "Orange", "Yellow", "Green", "Aqua", "Blue", "Violet"}},
      {"Watermark/Font Effect", {"None", "Underline", "Strikethrough"}},
      {"Watermark/Text Size", {"Fixed"}},
      {"Advanced/Out Folders History", {"Clean on Exit", "Keep Recent"}},
  };
  for (const auto& c : cases) {
    if (auto* list = control<QComboBox>(c.name)) {
      EXPECT_EQ(itemTexts(list), c.items) << c.name;
    }
  }
  EXPECT_EQ(control<QComboBox>("Output/pcx:Compression")->currentIndex(), 0);
}

TEST_F(PreferencesWindowTest, FillsControlsFromSettings) {
  settings.general.updateRange = 5;
  settings.general.saveWindowPosition = 0;
  settings.ui.uiSize = 0;
  settings.output.hdrBpp = 96;
  settings.transform.imageWidth = 640;
  settings.transform.imageHeightUnit = 1;
  settings.transform.imageRotation = 90;
  settings.transform.imageRotationBackColor = "ff8000";
  settings.adjustment.imageBrightness = -30;
  settings.adjustment.imageGamma = 2.2f;
  settings.watermark.text = "Hello";
  settings.watermark.font = "verdana";
  settings.watermark.fontColors = "000000,FF8000 , 123abc";
  settings.watermark.fontColor = "123ABC";
  settings.advanced.customTimestamp = 1709647629;  // 2024-03-05 14:07:09, counted in local time
  open();

  EXPECT_EQ(control<QComboBox>("General/Update Range")->currentText(), "Never");
  EXPECT_FALSE(control<QCheckBox>("General/Save Window Position")->isChecked());
  EXPECT_EQ(control<QComboBox>("Interface/UI Theme")->currentText(), "Hand Drawn");
  EXPECT_EQ(control<QComboBox>("Interface/UI Size")->currentText(), "Small");
  EXPECT_EQ(control<QComboBox>("Output/HDR BPP")->currentText(), "96");
  EXPECT_EQ(control<QLineEdit>("Transform/Image Width")->text(), "640");
  EXPECT_EQ(control<QComboBox>("Transform/Image Width.unit")->currentText(), "pixels");
  EXPECT_EQ(control<QComboBox>("Transform/Image Height.unit")->currentText(), "percent");
  EXPECT_EQ(control<QSlider>("Transform/Image Rotation.slider")->value(), 90);
  EXPECT_EQ(control<RangeSpinBox>("Transform/Image Rotation.spin")->text(), "90");
  EXPECT_EQ(control<QLineEdit>("Transform/Image Rotation Back Color")->text(), "ff8000");
  EXPECT_EQ(control<QSlider>("Adjustment/Image Brightness.slider")->value(), 70);
  EXPECT_EQ(control<RangeSpinBox>("Adjustment/Image Brightness.spin")->text(), "-30");
  EXPECT_EQ(control<QSlider>("Adjustment/Image Gamma.slider")->value(), 220);
  EXPECT_EQ(control<RangeSpinBox>("Adjustment/Image Gamma.spin")->text(), "2.20");
  EXPECT_EQ(control<QLineEdit>("Watermark/Text")->text(), "Hello");
  EXPECT_EQ(control<QComboBox>("Watermark/Font")->currentText(), "Verdana");
  auto* colours = control<QComboBox>("Watermark/Font Color");
  EXPECT_EQ(itemTexts(colours), QStringList({"Black", "Orange", "Color #123ABC"}));
  EXPECT_EQ(colours->currentIndex(), 2);
  EXPECT_EQ(colours->iconSize(), QSize(16, 16));
  EXPECT_EQ(control<QDateTimeEdit>("Advanced/Custom Timestamp")->text(), "2024/03/05 14:07");
  EXPECT_EQ(control<QComboBox>("Advanced/Out Folders History")->currentText(), "Keep Recent");
}

TEST_F(PreferencesWindowTest, UnknownThemeSelectsTheFirstAndNoThemeShowsNone) {
  settings.ui.uiTheme = "gone";
  open();
  EXPECT_EQ(control<QComboBox>("Interface/UI Theme")->currentIndex(), 0);
  window->reject();
  settle();

  themeRegistry.names.clear();
  open();
  auto* list = control<QComboBox>("Interface/UI Theme");
  EXPECT_EQ(itemTexts(list), QStringList({"None"}));
  EXPECT_EQ(list->currentIndex(), 0);
}

TEST_F(PreferencesWindowTest, DepthNotInTheListSelectsNothing) {
  settings.output.hdrBpp = 24;
  open(kOutputPage);
  EXPECT_EQ(control<QComboBox>("Output/HDR BPP")->currentIndex(), -1);
}

TEST_F(PreferencesWindowTest, EmptyFontOfferStartsWithTheFont) {
  settings.watermark.fonts = "";
  settings.watermark.font = "Tahoma";
  open();
  EXPECT_EQ(itemTexts(control<QComboBox>("Watermark/Font")), QStringList({"Tahoma"}));
  EXPECT_EQ(settings.watermark.fonts, "Tahoma");
}

TEST_F(PreferencesWindowTest, FontColourNotOfferedSelectsTheFirst) {
  settings.watermark.fontColor = "123456";
  open();
  EXPECT_EQ(control<QComboBox>("Watermark/Font Color")->currentIndex(), 0);
}

TEST_F(PreferencesWindowTest, FormatListsShowTheirPanels) {
  PreferencesWindow& w = open(kOutputPage);
  EXPECT_TRUE(control<QWidget>("panel:Output/hdr")->isVisibleTo(w.page(3)));
  for (const char* other : {"panel:Output/jpg", "panel:Output/png", "panel:Output/bmp"})
    EXPECT_FALSE(control<QWidget>(other)->isVisibleTo(w.page(3))) << other;
  // "jpg" has no input panel.
  for (QWidget* panel : w.page(2)->findChildren<QWidget*>(QRegularExpression("^panel:")))
    EXPECT_FALSE(panel->isVisibleTo(w.page(2))) << panel->objectName().toStdString();
}

TEST_F(PreferencesWindowTest, KeepSubfoldersRowIsHidden) {
  PreferencesWindow& w = open();
  EXPECT_FALSE(control<QWidget>("Advanced/Keep Subfolders")->isVisibleTo(w.page(8)));
  EXPECT_FALSE(control<QWidget>("Advanced/Keep Subfolders.label")->isVisibleTo(w.page(8)));
  EXPECT_TRUE(control<QWidget>("Advanced/Out Folders Number.label")->isVisibleTo(w.page(8)));
}

// A check box or list enables or shows other rows; each case starts from the defaults.
TEST_F(PreferencesWindowTest, DependentRulesFollowTheirControl) {
  enum class Effect { Enabled, Visible };
  const struct {
    const char* controller;
    int offIndex;  // list index (or check state) that turns the rows off, then the one that turns them on
    int onIndex;
    std::vector<const char*> rows;
    Effect effect;
  } cases[] = {
      {"Transform/Do Image Rotation",
       0,
       1,
       {"Transform/Image Rotation Type", "Transform/Image Rotation.slider", "Transform/Image Rotation.spin",
        "Transform/Image Rotation Back Color.button", "Transform/Image Rotation Back Color.label"},
       Effect::Enabled},
      {"Transform/Do Image Resize",
       0,
       1,
       {"Transform/Image Width", "Transform/Image Height.unit", "Transform/Keep Aspect Ratio",
        "Transform/Image Resize Type", "Transform/Image Resize Algorithm.label"},
       Effect::Enabled},
      {"Adjustment/Do Image Threshold",
       0,
       1,
       {"Adjustment/Image Threshold.slider", "Adjustment/Image Threshold.spin"},
       Effect::Enabled},
      {"Frame/Do Frame", 0, 1, {"panel:Frame/solid"}, Effect::Visible},
      {"Watermark/Do Watermark", 0, 1, {"panel:Watermark/text"}, Effect::Visible},
      {"Watermark/Do Watermark", 1, 2, {"panel:Watermark/image"}, Effect::Visible},
      {"Advanced/File Timestamp",
       1,
       2,
       {"Advanced/Custom Timestamp", "Advanced/Custom Timestamp.label"},
       Effect::Enabled},
  };
  open();
  for (const auto& c : cases) {
    auto set = [&](int value) {
      if (auto* check = window->findChild<QCheckBox*>(c.controller))
        check->setChecked(value != 0);
      else
        control<QComboBox>(c.controller)->setCurrentIndex(value);
    };
    auto state = [&](const char* name) {
      QWidget* widget = control<QWidget>(name);
      return c.effect == Effect::Enabled ? widget->isEnabled() : widget->isVisibleTo(widget->parentWidget());
    };
    set(c.offIndex);
    for (const char* name : c.rows) EXPECT_FALSE(state(name)) << c.controller << " off: " << name;
    set(c.onIndex);
    for (const char* name : c.rows) EXPECT_TRUE(state(name)) << c.controller << " on: " << name;
    set(c.offIndex);
    for (const char* name : c.rows) EXPECT_FALSE(state(name)) << c.controller << " off again: " << name;
  }
  // The flip rows do not depend on resizing.
  EXPECT_TRUE(control<QWidget>("Transform/Do Image Flip Horizontal")->isEnabled());
  // With "Fixed" the only size mode, the scale rows stay hidden.
  EXPECT_FALSE(
      control<QWidget>("Watermark/Text Scale.slider")->isVisibleTo(control<QWidget>("panel:Watermark/text")));
  EXPECT_FALSE(control<QWidget>("Watermark/Image Scale.label")
                   ->isVisibleTo(control<QWidget>("panel:Watermark/image")));
}

TEST_F(PreferencesWindowTest, RulesAppliedAtOpening) {
  settings.transform.doImageRotation = 1;
  settings.frame.doFrame = 1;
  settings.watermark.doWatermark = 2;
  settings.advanced.fileTimestamp = 2;
  open();
  EXPECT_TRUE(control<QWidget>("Transform/Image Rotation Type")->isEnabled());
  EXPECT_FALSE(control<QWidget>("Transform/Image Width")->isEnabled());
  EXPECT_FALSE(control<QWidget>("Adjustment/Image Threshold.spin")->isEnabled());
  EXPECT_TRUE(control<QWidget>("panel:Frame/solid")->isVisibleTo(window->page(6)));
  EXPECT_TRUE(control<QWidget>("panel:Watermark/image")->isVisibleTo(window->page(7)));
  EXPECT_FALSE(control<QWidget>("panel:Watermark/text")->isVisibleTo(window->page(7)));
  EXPECT_TRUE(control<QWidget>("Advanced/Custom Timestamp")->isEnabled());
}

TEST_F(PreferencesWindowTest, RawLoadModeEnablesSizeOrToneMapping) {
  const struct {
    int loadAs;
    bool sizeRows;
    bool toneMapping;
  } cases[] = {{0, false, false}, {1, true, false}, {2, true, false},
               {3, false, false}, {4, false, true}, {5, false, true}};
  settings.input.rawLoadAs = 4;
  open();
  EXPECT_TRUE(control<QWidget>("Input/RAW Tone Mapping")->isEnabled());
  EXPECT_FALSE(control<QWidget>("Input/RAW Image Width")->isEnabled());
  for (const auto& c : cases) {
    control<QComboBox>("Input/RAW Load As")->setCurrentIndex(c.loadAs);
    for (const char* name : {"Input/RAW Header Size", "Input/RAW Header Size.unit",
                             "Input/RAW Image Width.label", "Input/RAW Image Height"})
      EXPECT_EQ(control<QWidget>(name)->isEnabled(), c.sizeRows) << c.loadAs << " " << name;
    EXPECT_EQ(control<QWidget>("Input/RAW Tone Mapping")->isEnabled(), c.toneMapping) << c.loadAs;
    EXPECT_EQ(control<QWidget>("Input/RAW Tone Mapping.label")->isEnabled(), c.toneMapping) << c.loadAs;
  }
}

}  // namespace
