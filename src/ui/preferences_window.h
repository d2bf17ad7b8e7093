// The Preferences window: nine pages that edit every user setting. Changes reach Settings on OK
// (or a confirmed "Defaults"), which saves config.ini and lets the main window follow; Cancel,
// Escape and the close box discard them.
#pragma once

#include "settings/defaults.h"
#include "themes/themes.h"
#include "ui/preferences_pages.h"

#include <QDialog>
#include <QHash>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class MainWindow;
class QComboBox;
class QLabel;
class QTreeWidget;
struct GuiContext;

struct PreferencesContext {
  // Settings, texts, dialogs and images; the job carries the start page (reset to 0 once the
  // window is open) and the change flag that OK and "Defaults" set (1 the theme changed, 2 only
  // the icon size).
  GuiContext& gui;
  // Runs after OK or a confirmed "Defaults" has saved, while the window is still open, with the
  // index of the item selected in this window's output format list.
  std::function<void(int outputFormatIndex)> applied;
  // What the defaults depend on; empty: the primary screen's size and the clock.
  std::function<DefaultsEnvironment()> defaultsEnvironment;
};

class PreferencesWindow : public QDialog {
  Q_OBJECT

 public:
  // Builds every page and fills it from Settings; the window starts hidden.
  PreferencesWindow(PreferencesContext context, QWidget* owner);
  ~PreferencesWindow() override;

  // The page the tree has selected (0..8), and the header text.
  int currentPage() const;
  QString headerText() const;
  QTreeWidget* pageTree() const { return tree_; }
  QWidget* page(int number) const { return pages_[number]; }
  QComboBox* outputFormatList() const;

  void pressOk();
  void pressDefaults();

 private:
  struct Row;

  void buildWindow();
  void buildPage(int number, const PageDef& def);
  void addRow(QWidget* parent, int index, const RowDef& def, const QString& group, const QString& panel);
  Row* row(const QString& name) const;

  void fillRow(Row& row);
  void storeRow(Row& row);
  void connectRow(Row& row);

  void showPage(int number);
  void applyRule(const QString& controller);
  void setRowsEnabled(std::initializer_list<const char*> names, bool enabled);
  void setRowVisible(const QString& name, bool visible);
  void showPanel(const QString& group, const QString& id);

  void chooseRowColour(Row& row);
  void chooseListColour(Row& row);
  void chooseFont(Row& row);
  void chooseImage(Row& row);

  int selectedThemeIndex() const;
  QString selectedThemeId() const;
  void updateChangeFlag(int shownSize, const QString& shownTheme);
  void finishApplied();

  PreferencesContext context_;
  std::vector<themes::ThemeEntry> themes_;  // the theme list's items, by position
  std::vector<std::unique_ptr<Row>> rows_;
  QHash<QString, Row*> rowsByName_;
  QHash<QString, QWidget*> panels_;  // "Group/id"
  QTreeWidget* tree_ = nullptr;
  QLabel* header_ = nullptr;
  QWidget* pages_[kPageCount] = {};
};

// Opens the window on the job's start page (then resets that to 0) and returns at once. The
// owner is disabled until the window closes (without one, the window is application-modal); the
// window deletes itself when it closes.
PreferencesWindow* openPreferences(PreferencesContext context, QWidget* owner);

// Commands 8 and 17 of the main window: Preferences over it, on the page the command set; OK and
// "Defaults" have the main window follow (`rebuildAfterPreferences`).
PreferencesWindow* openPreferences(MainWindow& window);
