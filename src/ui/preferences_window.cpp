#include "ui/preferences_window.h"

#include "convert/colour.h"
#include "convert/format_tables.h"
#include "i18n/string_table.h"
#include "platform/clock.h"
#include "settings/config_file.h"
#include "settings/fields.h"
#include "settings/format_lists.h"
#include "settings/key_value_file.h"
#include "ui/dialog_service.h"
#include "ui/gui_context.h"
#include "ui/main_window.h"
#include "ui/owned_window.h"
#include "ui/preferences_values.h"
#include "ui/range_spin_box.h"
#include "ui/window_images.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

namespace {

// Row geometry in page coordinates: row k has its label at (10, 13 + 30k) and its control at
// (170, 10 + 30k).
constexpr int kLabelX = 10;
constexpr int kLabelWidth = 160;
constexpr int kControlX = 170;
constexpr int kControlWidth = 240;
constexpr int kNarrowControlWidth = 214;  // beside a "..." button
constexpr int kSecondX = 340;             // unit lists and spin boxes
constexpr int kPanelTop = 40;
constexpr int kPanelWidth = 450;
constexpr int kPanelHeight = 215;
constexpr int kContentWidth = 420;
constexpr int kScrollStep = 10;
constexpr int kMaxDepthItems = 127;

int rowTop(int index) { return 10 + 30 * index; }

// Rules that follow a list or check box, in the order they are applied when the window opens.
constexpr const char* kRuleOrder[] = {
    "Input/RAW Load As",
    "Input/Format",
    "Output/Format",
    "Transform/Do Image Rotation",
    "Transform/Do Image Resize",
    "Adjustment/Do Image Threshold",
    "Frame/Do Frame",
    "Watermark/Text Size",
    "Watermark/Image Size",
    "Watermark/Do Watermark",
    "Advanced/File Timestamp",
};

QString preferencesText(const StringTable& strings, const char* key) {
  return strings.text(QStringLiteral("Preferences"), QString::fromLatin1(key));
}

int64_t readInt(const FieldRef& field) {
  return std::visit(
      [](auto* value) -> int64_t {
        using T = std::remove_pointer_t<decltype(value)>;
        if constexpr (std::is_same_v<T, QString>)
          return parseDecimalInt(*value);
        else if constexpr (std::is_same_v<T, float>)
          return std::isfinite(*value) ? static_cast<int64_t>(std::clamp(*value, -2e9f, 2e9f)) : 0;
        else
          return *value;
      },
      field);
}

void writeInt(const FieldRef& field, int64_t number) {
  std::visit(
      [number](auto* value) {
        using T = std::remove_pointer_t<decltype(value)>;
        if constexpr (std::is_same_v<T, QString>)
          *value = QString::number(number);
        else
          *value = static_cast<T>(number);
      },
      field);
}

QString& textField(const FieldRef& field) { return *std::get<QString*>(field); }

int clampToInt(int64_t value) {
  return static_cast<int>(
      std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QPixmap swatch(Colour colour, QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(QColor(colour.red, colour.green, colour.blue));
  QPainter painter(&pixmap);
  painter.setPen(QColor(128, 128, 128));
  painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
  return pixmap;
}

QIcon swatchIcon(Colour colour, QSize size) { return QIcon(swatch(colour, size)); }

// The control kinds, one maker each, placed at the row's top y.
QComboBox* makeList(QWidget* parent, int y, int width) {
  auto* list = new QComboBox(parent);
  list->setGeometry(kControlX, y, width, 21);
  return list;
}

QCheckBox* makeCheck(QWidget* parent, int y) {
  auto* check = new QCheckBox(parent);
  check->setGeometry(kControlX, y, kControlWidth, 20);
  return check;
}

QLineEdit* makeText(QWidget* parent, int y, int width) {
  auto* edit = new QLineEdit(parent);
  edit->setGeometry(kControlX, y, width, 20);
  return edit;
}

// Digits only, at most nine, so that a number read back never wraps to a negative value.
QLineEdit* makeNumber(QWidget* parent, int y, QComboBox** unit) {
  auto* edit = new QLineEdit(parent);
  edit->setGeometry(kControlX, y, 160, 20);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), edit));
  *unit = new QComboBox(parent);
  (*unit)->setGeometry(kSecondX, y - 1, 70, 21);
  return edit;
}

QSlider* makePair(QWidget* parent, int y, const RowDef& def, RangeSpinBox** spin) {
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setGeometry(kControlX, y, 170, 20);
  slider->setRange(def.minimum + def.offset, def.maximum + def.offset);
  *spin = new RangeSpinBox(def.minimum, def.maximum, def.kind == RowKind::Gamma, parent);
  (*spin)->setGeometry(kSecondX, y, 70, 20);
  return slider;
}

QPushButton* makeColour(QWidget* parent, int y, QLineEdit** edit) {
  auto* button = new QPushButton(parent);
  button->setGeometry(kControlX, y - 1, 44, 22);
  button->setIconSize(QSize(34, 12));
  button->setAutoDefault(false);
  *edit = new QLineEdit(parent);
  (*edit)->setGeometry(220, y, 190, 20);
  (*edit)->setReadOnly(true);
  return button;
}

QPushButton* makeBrowse(QWidget* parent, int y) {
  auto* button = new QPushButton(QStringLiteral("..."), parent);
  button->setGeometry(389, y - 1, 22, 22);
  button->setAutoDefault(false);
  return button;
}

QDateTimeEdit* makeDate(QWidget* parent, int y) {
  auto* date = new QDateTimeEdit(parent);
  date->setGeometry(kControlX, y, kControlWidth, 21);
  // Date values count seconds in local time; shown as UTC so that no zone rule shifts them.
  date->setTimeSpec(Qt::UTC);
  date->setDisplayFormat(QStringLiteral("yyyy/MM/dd HH:mm"));
  date->setDateTimeRange(QDateTime::fromSecsSinceEpoch(0, Qt::UTC),
                         QDateTime::fromSecsSinceEpoch(std::numeric_limits<int32_t>::max(), Qt::UTC));
  return date;
}

QWidget* makeScrollArea(QWidget* parent, const QRect& geometry, int contentHeight, QWidget** content) {
  auto* area = new QScrollArea(parent);
  area->setGeometry(geometry);
  area->setFrameShape(QFrame::NoFrame);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area->verticalScrollBar()->setSingleStep(kScrollStep);
  *content = new QWidget;
  (*content)->setFixedSize(kContentWidth, contentHeight);
  area->setWidget(*content);
  return area;
}

// The input formats as the main window lists the output formats: upper-case entries with the
// icon, each holding its index in the input-format list.
void fillInputFormatList(QComboBox& list, const QString& selectedFormat, const QIcon& icon) {
  const QStringList& formats = inputFormatList();
  list.clear();
  int selected = -1;
  for (int i = 0; i < formats.size() && i <= 127; ++i) {
    if (formats[i].isEmpty()) continue;
    list.addItem(icon, formats[i].toUpper(), i);
    if (selected < 0 && formats[i] == selectedFormat) selected = list.count() - 1;
  }
  list.setCurrentIndex(selected >= 0 ? selected : (list.count() > 0 ? 0 : -1));
}

const QStringList& formatListOf(const QString& group) {
  return group == QLatin1String("Input") ? inputFormatList() : ::outputFormatList();
}

DefaultsEnvironment currentDefaultsEnvironment() {
  DefaultsEnvironment env;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    env.desktopWidth = screen->size().width();
    env.desktopHeight = screen->size().height();
  }
  env.now = static_cast<int32_t>(platform::localNow());
  return env;
}

}  // namespace

struct PreferencesWindow::Row {
  const RowDef* def = nullptr;
  QString group;
  QString panel;
  QString name;  // "Group/Key", the control's object name
  bool hasField = false;
  FieldRef field;
  FieldRef listField;  // ColourList: the offered colours
  QLabel* label = nullptr;
  QComboBox* list = nullptr;
  QCheckBox* check = nullptr;
  QLineEdit* edit = nullptr;
  QSlider* slider = nullptr;
  RangeSpinBox* spin = nullptr;
  QComboBox* unit = nullptr;
  QPushButton* button = nullptr;  // colour swatch or "..."
  QDateTimeEdit* date = nullptr;

  QList<QWidget*> widgets() const {
    QList<QWidget*> all;
    for (QWidget* widget :
         std::initializer_list<QWidget*>{label, list, check, edit, slider, spin, unit, button, date})
      if (widget != nullptr) all.append(widget);
    return all;
  }
};

PreferencesWindow::PreferencesWindow(PreferencesContext context, QWidget* owner)
    : QDialog(owner), context_(std::move(context)), themes_(themes::themeList(context_.gui.themeRegistry)) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle(preferencesText(context_.gui.strings, "Title"));
  setFixedSize(600, 350);
  buildWindow();
  for (auto& row : rows_) fillRow(*row);
  for (auto& row : rows_) connectRow(*row);
  for (const char* controller : kRuleOrder) applyRule(QString::fromLatin1(controller));
  setRowVisible(QStringLiteral("Advanced/Keep Subfolders"), false);

  int start = context_.gui.job.preferencesPage;
  if (start < 0 || start >= kPageCount) start = 0;
  tree_->setCurrentItem(tree_->topLevelItem(start));
  showPage(start);
  context_.gui.job.preferencesPage = 0;
}

PreferencesWindow::~PreferencesWindow() = default;

void PreferencesWindow::buildWindow() {
  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("pages"));
  tree_->setGeometry(10, 10, 120, 295);
  tree_->setHeaderHidden(true);
  tree_->setRootIsDecorated(false);
  // Keep the selected page visible while another control has the focus.
  QPalette palette = tree_->palette();
  palette.setColor(QPalette::Inactive, QPalette::Highlight,
                   palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Active, QPalette::HighlightedText));
  tree_->setPalette(palette);

  auto* band = new QFrame(this);
  band->setGeometry(140, 10, 450, 30);
  band->setFrameShape(QFrame::Box);
  band->setFrameShadow(QFrame::Plain);
  band->setLineWidth(1);
  band->setAutoFillBackground(true);
  QPalette white = band->palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::WindowText, Qt::black);
  band->setPalette(white);
  header_ = new QLabel(this);
  header_->setObjectName(QStringLiteral("header"));
  header_->setGeometry(150, 17, 330, 20);
  header_->setAutoFillBackground(true);
  header_->setPalette(white);
  QFont bold = font();
  bold.setPointSize(10);
  bold.setBold(true);
  header_->setFont(bold);

  const std::span<const PageDef> pages = preferencesPages();
  for (int number = 0; number < kPageCount; ++number) {
    tree_->addTopLevelItem(new QTreeWidgetItem({preferencesText(context_.gui.strings, pages[number].title)}));
    buildPage(number, pages[number]);
  }
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
    if (current != nullptr) showPage(tree_->indexOfTopLevelItem(current));
  });

  struct ButtonDef {
    const char* key;
    const char* name;
    int x;
    void (PreferencesWindow::*press)();
  };
  const ButtonDef buttons[] = {
      {"Defaults", "defaults", 10, &PreferencesWindow::pressDefaults},
      {"OK", "ok", 420, &PreferencesWindow::pressOk},
      {"Cancel", "cancel", 510, nullptr},
  };
  for (const ButtonDef& def : buttons) {
    auto* button = new QPushButton(
        context_.gui.strings.text(QStringLiteral("Dialog"), QString::fromLatin1(def.key)), this);
    button->setObjectName(QString::fromLatin1(def.name));
    button->setGeometry(def.x, 315, 80, 25);
    if (def.press != nullptr)
      connect(button, &QPushButton::clicked, this, def.press);
    else
      connect(button, &QPushButton::clicked, this, &QDialog::reject);
    if (def.press == &PreferencesWindow::pressOk) button->setDefault(true);
  }
}

void PreferencesWindow::buildPage(int number, const PageDef& def) {
  const QString group = QString::fromLatin1(def.group);
  const QRect pageArea(140, 50, 450, 255);
  QWidget* rowsParent = nullptr;
  if (def.contentHeight > 0) {
    pages_[number] = makeScrollArea(this, pageArea, def.contentHeight, &rowsParent);
  } else {
    pages_[number] = new QWidget(this);
    pages_[number]->setGeometry(pageArea);
    rowsParent = pages_[number];
  }
  pages_[number]->setObjectName(QStringLiteral("page:") + group);
  pages_[number]->hide();
  for (int i = 0; i < static_cast<int>(def.rows.size()); ++i)
    addRow(rowsParent, i, def.rows[i], group, QString());

  const QRect panelArea(0, kPanelTop, kPanelWidth, kPanelHeight);
  for (const PanelDef& panelDef : def.panels) {
    const QString id = QString::fromLatin1(panelDef.id);
    QWidget* panel = nullptr;
    QWidget* panelRows = nullptr;
    if (panelDef.contentHeight > 0) {
      panel = makeScrollArea(pages_[number], panelArea, panelDef.contentHeight, &panelRows);
    } else {
      panel = new QWidget(pages_[number]);
      panel->setGeometry(panelArea);
      panelRows = panel;
    }
    panel->setObjectName(QStringLiteral("panel:") + group + QLatin1Char('/') + id);
    panel->hide();
    panels_.insert(group + QLatin1Char('/') + id, panel);
    for (int i = 0; i < static_cast<int>(panelDef.rows.size()); ++i)
      addRow(panelRows, i, panelDef.rows[i], group, id);
  }
}

void PreferencesWindow::addRow(QWidget* parent, int index, const RowDef& def, const QString& group,
                               const QString& panel) {
  auto row = std::make_unique<Row>();
  row->def = &def;
  row->group = group;
  row->panel = panel;
  if (def.key != nullptr) {
    row->name = group + QLatin1Char('/') + QString::fromLatin1(def.key);
    if (const SettingField* field = findSettingField(group, QString::fromLatin1(def.key))) {
      row->hasField = true;
      row->field = field->get(context_.gui.settings);
    }
  } else {
    row->name = group + QLatin1Char('/') + panel + QLatin1Char(':') + QString::fromLatin1(def.label);
  }
  if (def.listKey != nullptr) {
    if (const SettingField* field = findSettingField(group, QString::fromLatin1(def.listKey)))
      row->listField = field->get(context_.gui.settings);
  }

  const int y = rowTop(index);
  row->label = new QLabel(preferencesText(context_.gui.strings, def.label), parent);
  row->label->setGeometry(kLabelX, y + 3, kLabelWidth, 20);
  switch (def.kind) {
    case RowKind::Language:
    case RowKind::Theme:
    case RowKind::List:
    case RowKind::InputFormat:
    case RowKind::OutputFormat:
    case RowKind::Depth:
      row->list = makeList(parent, y, kControlWidth);
      break;
    case RowKind::ColourList:
    case RowKind::FontList:
      row->list = makeList(parent, y, kNarrowControlWidth);
      row->button = makeBrowse(parent, y);
      break;
    case RowKind::Check:
      row->check = makeCheck(parent, y);
      break;
    case RowKind::Text:
      row->edit = makeText(parent, y, kControlWidth);
      break;
    case RowKind::ImagePath:
      row->edit = makeText(parent, y, kNarrowControlWidth);
      row->button = makeBrowse(parent, y);
      break;
    case RowKind::Number:
      row->edit = makeNumber(parent, y, &row->unit);
      break;
    case RowKind::Pair:
    case RowKind::Gamma:
      row->slider = makePair(parent, y, def, &row->spin);
      break;
    case RowKind::Colour:
      row->button = makeColour(parent, y, &row->edit);
      break;
    case RowKind::Date:
      row->date = makeDate(parent, y);
      break;
  }

  row->label->setObjectName(row->name + QStringLiteral(".label"));
  for (QWidget* control : std::initializer_list<QWidget*>{row->list, row->check, row->edit, row->date})
    if (control != nullptr) control->setObjectName(row->name);
  if (row->slider != nullptr) row->slider->setObjectName(row->name + QStringLiteral(".slider"));
  if (row->spin != nullptr) row->spin->setObjectName(row->name + QStringLiteral(".spin"));
  if (row->unit != nullptr) row->unit->setObjectName(row->name + QStringLiteral(".unit"));
  if (row->button != nullptr)
    row->button->setObjectName(
        row->name + (def.kind == RowKind::Colour ? QStringLiteral(".button") : QStringLiteral(".browse")));
  rowsByName_.insert(row->name, row.get());
  rows_.push_back(std::move(row));
}

PreferencesWindow::Row* PreferencesWindow::row(const QString& name) const { return rowsByName_.value(name); }

void PreferencesWindow::fillRow(Row& row) {
  Settings& settings = context_.gui.settings;
  const StringTable& strings = context_.gui.strings;
  const RowDef& def = *row.def;
  switch (def.kind) {
    case RowKind::Language:
      row.list->addItem(QStringLiteral("English"));
      row.list->setCurrentIndex(0);
      break;
    case RowKind::Theme: {
      if (themes_.empty()) {
        row.list->addItem(preferencesText(strings, "None"));
        row.list->setCurrentIndex(0);
        break;
      }
      int selected = 0;
      for (size_t i = 0; i < themes_.size(); ++i) {
        row.list->addItem(themes_[i].name);
        if (themes_[i].id == settings.ui.uiTheme) selected = static_cast<int>(i);
      }
      row.list->setCurrentIndex(selected);
      break;
    }
    case RowKind::List: {
      for (const char* item : def.items) row.list->addItem(preferencesText(strings, item));
      const int64_t index = row.hasField ? readInt(row.field) : 0;
      row.list->setCurrentIndex(index >= 0 && index < row.list->count() ? static_cast<int>(index) : -1);
      break;
    }
    case RowKind::InputFormat:
      fillInputFormatList(*row.list, textField(row.field),
                          setIcon(context_.gui, ImageSetName::MenuIcons, QStringLiteral("New")));
      break;
    case RowKind::OutputFormat:
      fillOutputFormatList(*row.list, false, context_.gui);
      break;
    case RowKind::Depth: {
      row.list->addItem(preferencesText(strings, "Auto"));
      const QStringList depths =
          outputFormat(row.panel).bitDepths.split(QLatin1Char(','), Qt::SkipEmptyParts);
      for (int i = 0; i < depths.size() && i < kMaxDepthItems; ++i) row.list->addItem(depths[i]);
      const int64_t depth = row.hasField ? readInt(row.field) : 0;
      row.list->setCurrentIndex(depth == 0 ? 0
                                           : row.list->findText(QString::number(depth), Qt::MatchExactly));
      break;
    }
    case RowKind::Check:
      row.check->setChecked(readInt(row.field) != 0);
      break;
    case RowKind::Text:
    case RowKind::ImagePath:
      row.edit->setText(textField(row.field));
      row.edit->setCursorPosition(0);
      break;
    case RowKind::Number: {
      row.edit->setText(QString::number(readInt(row.field)));
      for (const char* item : def.items) row.unit->addItem(preferencesText(strings, item));
      int unit = 0;
      if (def.unitKey != nullptr) {
        const SettingField* unitField = findSettingField(row.group, QString::fromLatin1(def.unitKey));
        const int64_t index = unitField != nullptr ? readInt(unitField->get(settings)) : 0;
        unit = index >= 0 && index < row.unit->count() ? static_cast<int>(index) : -1;
      }
      row.unit->setCurrentIndex(unit);
      break;
    }
    case RowKind::Pair:
      row.spin->setPosition(clampToInt(readInt(row.field)));
      row.slider->setValue(row.spin->position() + def.offset);
      break;
    case RowKind::Gamma:
      row.spin->setPosition(gammaPosition(static_cast<double>(*std::get<float*>(row.field))));
      row.slider->setValue(row.spin->position());
      break;
    case RowKind::Colour:
      row.edit->setText(textField(row.field));
      row.button->setIcon(swatchIcon(parseColor(row.edit->text()), QSize(34, 12)));
      break;
    case RowKind::ColourList: {
      const Colour selected = parseColor(textField(row.field));
      int index = -1;
      for (const QString& entry : listEntries(textField(row.listField))) {
        const Colour colour = parseColor(entry);
        row.list->addItem(swatchIcon(colour, QSize(16, 16)), colourName(colour, strings), colourHex(colour));
        if (index < 0 && sameColour(colour, selected)) index = row.list->count() - 1;
      }
      row.list->setCurrentIndex(index >= 0 ? index : 0);
      break;
    }
    case RowKind::FontList: {
      // An empty offer starts with the current font, in Settings too.
      if (settings.watermark.fonts.isEmpty()) settings.watermark.fonts = settings.watermark.font;
      for (const QString& name : listEntries(settings.watermark.fonts)) row.list->addItem(name);
      row.list->setCurrentIndex(0);
      const int match = row.list->findText(textField(row.field), Qt::MatchFixedString);
      if (match >= 0) row.list->setCurrentIndex(match);
      break;
    }
    case RowKind::Date:
      row.date->setDateTime(QDateTime::fromSecsSinceEpoch(readInt(row.field), Qt::UTC));
      break;
  }
}

void PreferencesWindow::storeRow(Row& row) {
  Settings& settings = context_.gui.settings;
  const RowDef& def = *row.def;
  switch (def.kind) {
    case RowKind::Language:
      settings.general.language = QStringLiteral("en");
      break;
    case RowKind::Theme:
      settings.ui.uiTheme = selectedThemeId();
      break;
    case RowKind::List:
      // A field whose value had no item keeps it unless the user picks one.
      if (row.hasField && row.list->currentIndex() >= 0) writeInt(row.field, row.list->currentIndex());
      break;
    case RowKind::InputFormat:
    case RowKind::OutputFormat: {
      const QStringList& formats = formatListOf(row.group);
      const int index = row.list->currentData().isValid() ? row.list->currentData().toInt() : -1;
      if (index >= 0 && index < formats.size()) textField(row.field) = formats[index];
      break;
    }
    case RowKind::Depth:
      if (row.hasField)
        writeInt(row.field, row.list->currentIndex() <= 0 ? 0 : parseDecimalInt(row.list->currentText()));
      break;
    case RowKind::Check:
      writeInt(row.field, row.check->isChecked() ? 1 : 0);
      break;
    case RowKind::Text:
    case RowKind::ImagePath:
      textField(row.field) = cleanFreeText(row.edit->text());
      break;
    case RowKind::Number:
      writeInt(row.field, parseDecimalInt(row.edit->text()));
      if (def.unitKey != nullptr && row.unit->currentIndex() >= 0) {
        if (const SettingField* unitField = findSettingField(row.group, QString::fromLatin1(def.unitKey)))
          writeInt(unitField->get(settings), row.unit->currentIndex());
      }
      break;
    case RowKind::Pair:
      writeInt(row.field, row.spin->position());
      break;
    case RowKind::Gamma:
      *std::get<float*>(row.field) = static_cast<float>(row.spin->position()) / 100.0f;
      break;
    case RowKind::Colour:
      textField(row.field) = colourHex(parseColor(row.edit->text()));
      break;
    case RowKind::ColourList:
      if (row.list->currentIndex() >= 0) textField(row.field) = row.list->currentData().toString();
      break;
    case RowKind::FontList:
      if (row.list->currentIndex() >= 0) textField(row.field) = row.list->currentText();
      break;
    case RowKind::Date:
      writeInt(row.field, row.date->dateTime().toSecsSinceEpoch());
      break;
  }
}

void PreferencesWindow::connectRow(Row& row) {
  Row* r = &row;
  switch (row.def->kind) {
    case RowKind::Pair:
      connect(row.slider, &QSlider::valueChanged, this,
              [r](int value) { r->spin->setPosition(value - r->def->offset); });
      connect(row.spin, &RangeSpinBox::textTyped, this, [r](const QString& text) {
        // A number out of range shows the limit at once; a lone sign or an empty box is left for
        // the user to finish.
        const int64_t typed = parseDecimalInt(text);
        const int value =
            static_cast<int>(std::clamp<int64_t>(typed, r->spin->minimum(), r->spin->maximum()));
        const bool unfinished = text.isEmpty() || text == QLatin1String("-");
        if (value != typed && !unfinished)
          r->spin->setPosition(value);
        else
          r->spin->setPositionKeepingText(value);
        const QSignalBlocker blocker(r->slider);
        r->slider->setValue(value + r->def->offset);
      });
      connect(row.spin, &RangeSpinBox::stepped, this, [r] {
        const QSignalBlocker blocker(r->slider);
        r->slider->setValue(r->spin->position() + r->def->offset);
      });
      break;
    case RowKind::Gamma:
      connect(row.slider, &QSlider::valueChanged, this, [r](int value) { r->spin->setPosition(value); });
      connect(row.spin, &RangeSpinBox::textTyped, this, [r](const QString& text) {
        // The text is read as a 32-bit float, as the configuration file stores the gamma. More
        // than two decimals or a value above the range are corrected at once; a value below it
        // (a "0" on the way to "0.5") when the box is left.
        const float typed = parseDecimalFloat(text);
        const int value = gammaPosition(static_cast<double>(typed));
        const qsizetype dot = text.indexOf(QLatin1Char('.'));
        const bool extraDecimals = dot >= 0 && text.size() - dot - 1 > 2;
        const bool aboveRange = static_cast<double>(typed) * 100.0 >= r->spin->maximum() + 0.5;
        if (extraDecimals || aboveRange)
          r->spin->setPosition(value);
        else
          r->spin->setPositionKeepingText(value);
        const QSignalBlocker blocker(r->slider);
        r->slider->setValue(value);
      });
      connect(row.spin, &RangeSpinBox::stepped, this, [r] {
        const QSignalBlocker blocker(r->slider);
        r->slider->setValue(r->spin->position());
      });
      break;
    case RowKind::Colour:
      connect(row.button, &QPushButton::clicked, this, [this, r] { chooseRowColour(*r); });
      break;
    case RowKind::ColourList:
      connect(row.button, &QPushButton::clicked, this, [this, r] { chooseListColour(*r); });
      break;
    case RowKind::FontList:
      connect(row.button, &QPushButton::clicked, this, [this, r] { chooseFont(*r); });
      break;
    case RowKind::ImagePath:
      connect(row.button, &QPushButton::clicked, this, [this, r] { chooseImage(*r); });
      break;
    case RowKind::List:
    case RowKind::InputFormat:
    case RowKind::OutputFormat:
      connect(row.list, &QComboBox::currentIndexChanged, this, [this, r] { applyRule(r->name); });
      break;
    case RowKind::Check:
      connect(row.check, &QCheckBox::toggled, this, [this, r] { applyRule(r->name); });
      break;
    default:
      break;
  }
}

int PreferencesWindow::currentPage() const {
  return tree_->currentItem() != nullptr ? tree_->indexOfTopLevelItem(tree_->currentItem()) : -1;
}

QString PreferencesWindow::headerText() const { return header_->text(); }

QComboBox* PreferencesWindow::outputFormatList() const { return row(QStringLiteral("Output/Format"))->list; }

void PreferencesWindow::showPage(int number) {
  if (number < 0 || number >= kPageCount) return;
  for (int i = 0; i < kPageCount; ++i)
    if (i != number) pages_[i]->hide();
  pages_[number]->show();
  header_->setText(tree_->topLevelItem(number)->text(0));
}

void PreferencesWindow::applyRule(const QString& controller) {
  const Row* r = row(controller);
  if (r == nullptr) return;
  const int index = r->list != nullptr ? r->list->currentIndex() : -1;
  const bool checked = r->check != nullptr && r->check->isChecked();
  if (controller == QLatin1String("Input/RAW Load As")) {
    // Headerless RAW needs its size; the 48-bit modes need a tone mapping.
    setRowsEnabled({"Input/RAW Header Size", "Input/RAW Image Width", "Input/RAW Image Height"},
                   index == 1 || index == 2);
    setRowsEnabled({"Input/RAW Tone Mapping"}, index == 4 || index == 5);
  } else if (controller == QLatin1String("Input/Format") || controller == QLatin1String("Output/Format")) {
    const QStringList& formats = formatListOf(r->group);
    const int entry = r->list->currentData().isValid() ? r->list->currentData().toInt() : -1;
    showPanel(r->group, entry >= 0 && entry < formats.size() ? formats[entry] : QString());
  } else if (controller == QLatin1String("Transform/Do Image Rotation")) {
    setRowsEnabled(
        {"Transform/Image Rotation Type", "Transform/Image Rotation", "Transform/Image Rotation Back Color"},
        checked);
  } else if (controller == QLatin1String("Transform/Do Image Resize")) {
    setRowsEnabled({"Transform/Image Width", "Transform/Image Height", "Transform/Keep Aspect Ratio",
                    "Transform/Image Resize Type", "Transform/Image Resize Algorithm"},
                   checked);
  } else if (controller == QLatin1String("Adjustment/Do Image Threshold")) {
    setRowsEnabled({"Adjustment/Image Threshold"}, checked);
  } else if (controller == QLatin1String("Frame/Do Frame")) {
    showPanel(QStringLiteral("Frame"), index == 1 ? QStringLiteral("solid") : QString());
  } else if (controller == QLatin1String("Watermark/Text Size")) {
    setRowVisible(QStringLiteral("Watermark/Text Scale"), index == 1);
  } else if (controller == QLatin1String("Watermark/Image Size")) {
    setRowVisible(QStringLiteral("Watermark/Image Scale"), index == 1);
  } else if (controller == QLatin1String("Watermark/Do Watermark")) {
    showPanel(QStringLiteral("Watermark"),
              index == 1 ? QStringLiteral("text") : (index == 2 ? QStringLiteral("image") : QString()));
  } else if (controller == QLatin1String("Advanced/File Timestamp")) {
    setRowsEnabled({"Advanced/Custom Timestamp"}, index == 2);
  }
}

void PreferencesWindow::setRowsEnabled(std::initializer_list<const char*> names, bool enabled) {
  for (const char* name : names) {
    if (const Row* r = row(QString::fromLatin1(name)))
      for (QWidget* widget : r->widgets()) widget->setEnabled(enabled);
  }
}

void PreferencesWindow::setRowVisible(const QString& name, bool visible) {
  if (const Row* r = row(name))
    for (QWidget* widget : r->widgets()) widget->setVisible(visible);
}

void PreferencesWindow::showPanel(const QString& group, const QString& id) {
  const QString prefix = group + QLatin1Char('/');
  for (auto it = panels_.cbegin(); it != panels_.cend(); ++it)
    if (it.key().startsWith(prefix)) it.value()->setVisible(it.key() == prefix + id);
}

void PreferencesWindow::chooseRowColour(Row& row) {
  const Colour current = parseColor(row.edit->text());
  const std::optional<QColor> chosen =
      context_.gui.dialogs.chooseColor(this, QColor(current.red, current.green, current.blue));
  if (!chosen) return;
  const Colour colour{static_cast<uint8_t>(chosen->red()), static_cast<uint8_t>(chosen->green()),
                      static_cast<uint8_t>(chosen->blue())};
  if (sameColour(colour, current)) return;
  row.edit->setText(colourHex(colour));
  row.button->setIcon(swatchIcon(colour, QSize(34, 12)));
}

void PreferencesWindow::chooseListColour(Row& row) {
  const Colour current = parseColor(row.list->currentData().toString());
  const std::optional<QColor> chosen =
      context_.gui.dialogs.chooseColor(this, QColor(current.red, current.green, current.blue));
  if (!chosen) return;
  const Colour colour{static_cast<uint8_t>(chosen->red()), static_cast<uint8_t>(chosen->green()),
                      static_cast<uint8_t>(chosen->blue())};
  const QString hex = colourHex(colour);
  QString& offered = textField(row.listField);
  const QStringList entries = listEntries(offered);
  const bool known = std::any_of(entries.cbegin(), entries.cend(),
                                 [&](const QString& entry) { return sameColour(parseColor(entry), colour); });
  int index = known ? row.list->findData(hex) : -1;
  if (index < 0) {
    // A new colour joins the offer in Settings at once, so it stays even if the window is cancelled.
    row.list->addItem(swatchIcon(colour, QSize(16, 16)), colourName(colour, context_.gui.strings), hex);
    if (!known) offered += QLatin1Char(',') + hex;
    index = row.list->count() - 1;
  }
  row.list->setCurrentIndex(index);
}

void PreferencesWindow::chooseFont(Row& row) {
  Row* sizeRow = this->row(QStringLiteral("Watermark/Font Size"));
  Row* styleRow = this->row(QStringLiteral("Watermark/Font Style"));
  QFont initial(row.list->currentText());
  const int size = parseDecimalInt(sizeRow->edit->text());
  if (size > 0) initial.setPointSize(size);
  const std::optional<QFont> chosen = context_.gui.dialogs.chooseFont(this, initial);
  if (!chosen) return;

  QString name = chosen->family();
  name.remove(QLatin1Char(','));
  QString& fonts = context_.gui.settings.watermark.fonts;
  if (!listEntries(fonts).contains(name, Qt::CaseSensitive)) {
    // The new name joins the offer in Settings at once, so it stays even if the window is cancelled.
    row.list->addItem(name);
    fonts += QLatin1Char(',') + name;
  }
  const int match = row.list->findText(name, Qt::MatchFixedString);
  if (match >= 0) row.list->setCurrentIndex(match);
  if (chosen->pointSizeF() > 0) sizeRow->edit->setText(QString::number(qRound(chosen->pointSizeF())));
  const bool bold = chosen->weight() >= QFont::Bold;
  const bool italic = chosen->style() != QFont::StyleNormal;
  styleRow->list->setCurrentIndex((bold ? 1 : 0) + (italic ? 2 : 0));
}

void PreferencesWindow::chooseImage(Row& row) {
  const StringTable& strings = context_.gui.strings;
  const QString dialogGroup = QStringLiteral("Dialog");
  const QString jpeg = QStringLiteral("*.jpg;*.jpeg;*.jpe;*.jif");
  const QString png = QStringLiteral("*.png");
  const QString bmp = QStringLiteral("*.bmp;*.rle;*.dib");
  const QList<FileFilter> filters = {
      {strings.text(dialogGroup, QStringLiteral("All Supported Files")),
       jpeg + QLatin1Char(';') + png + QLatin1Char(';') + bmp},
      {QStringLiteral("JPEG File"), jpeg},
      {QStringLiteral("Portable Network Graphics"), png},
      {QStringLiteral("Windows or OS/2 Bitmap"), bmp},
      {strings.text(dialogGroup, QStringLiteral("All Files")) + QStringLiteral(" (*.*)"),
       QStringLiteral("*.*")},
  };
  const QString path =
      context_.gui.dialogs.openFile(this, strings.text(dialogGroup, QStringLiteral("Select Watermark Image")),
                                    row.edit->text().trimmed(), filters);
  if (!path.isEmpty()) row.edit->setText(path);
}

int PreferencesWindow::selectedThemeIndex() const {
  return row(QStringLiteral("Interface/UI Theme"))->list->currentIndex();
}

QString PreferencesWindow::selectedThemeId() const {
  const int index = selectedThemeIndex();
  return index >= 0 && index < static_cast<int>(themes_.size()) ? themes_[index].id : QString();
}

void PreferencesWindow::updateChangeFlag(int shownSize, const QString& shownTheme) {
  if (shownSize != context_.gui.settings.ui.uiSize) context_.gui.job.interfaceChangeFlag = 2;
  if (shownTheme != context_.gui.settings.ui.uiTheme) context_.gui.job.interfaceChangeFlag = 1;
}

void PreferencesWindow::finishApplied() {
  if (context_.applied) context_.applied(outputFormatList()->currentIndex());
  accept();
}

void PreferencesWindow::pressOk() {
  Settings& settings = context_.gui.settings;
  // The size list shows nothing for a size it does not offer; that size then stays.
  const int sizeIndex = row(QStringLiteral("Interface/UI Size"))->list->currentIndex();
  updateChangeFlag(sizeIndex >= 0 ? sizeIndex : settings.ui.uiSize, selectedThemeId());
  for (auto& row : rows_) storeRow(*row);
  Settings::Adjustment& adjustment = settings.adjustment;
  adjustment.doImageColorCorrection = adjustment.imageBrightness != 0 || adjustment.imageContrast != 0 ||
                                              adjustment.imageGamma != 1.0f || adjustment.imageInvert != 0
                                          ? 1
                                          : 0;
  saveConfig(settings);
  finishApplied();
}

void PreferencesWindow::pressDefaults() {
  const StringTable& strings = context_.gui.strings;
  const QString msg = QStringLiteral("Msg");
  if (!context_.gui.dialogs.question(this, MessageIcon::Question,
                                     strings.text(msg, QStringLiteral("Reset to Defaults")),
                                     strings.text(msg, QStringLiteral("Ask reset to defaults"))))
    return;
  Settings& settings = context_.gui.settings;
  const int sizeIndex = row(QStringLiteral("Interface/UI Size"))->list->currentIndex();
  const int shownSize = sizeIndex >= 0 ? sizeIndex : settings.ui.uiSize;
  const QString shownTheme = selectedThemeId();
  applyDefaults(settings, false,
                context_.defaultsEnvironment ? context_.defaultsEnvironment() : currentDefaultsEnvironment());
  updateChangeFlag(shownSize, shownTheme);
  saveConfig(settings);
  finishApplied();
}

PreferencesWindow* openPreferences(PreferencesContext context, QWidget* owner) {
  auto* window = new PreferencesWindow(std::move(context), owner);
  if (owner != nullptr) {
    // Like the other owned windows: the owner is disabled while it is open.
    openOwnedWindow(*window, *owner);
  } else {
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->activateWindow();
  }
  window->pageTree()->setFocus();
  return window;
}

PreferencesWindow* openPreferences(MainWindow& window) {
  return openPreferences(
      PreferencesContext{
          window.context(), [&window](int index) { rebuildAfterPreferences(window, index); }, {}},
      &window);
}
