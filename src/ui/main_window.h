// The main window: input file, output folder, output format and the Convert button, with the menu
// bar, the main toolbar, the status bar and the keyboard shortcuts. Every menu item, toolbar
// button and shortcut goes through dispatchCommand.
#pragma once

#include "ui/gui_context.h"
#include "ui/main_command.h"

#include <QMainWindow>

#include <functional>
#include <map>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;
class QToolButton;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // createMainWindow: builds the window with all its controls at the stored position and size
  // (not shown yet).
  explicit MainWindow(GuiContext& context);

  GuiContext& context() { return context_; }

  // Runs a numbered command; numbers without an action do nothing.
  void dispatchCommand(MainCommand command);
  // Commands whose windows live in other modules (About, finder, manual, feedback, homepage,
  // update check) run the handler set here; without one they do nothing. The window sets its own
  // at creation: Preferences for commands 8 and 17, and installWebCommands for the others.
  void setCommandHandler(MainCommand command, std::function<void()> handler);
  // Run once by startMainWindow unless in screenshot mode; the periodic update check by default.
  void setStartupUpdateCheck(std::function<void()> check) { startupUpdateCheck_ = std::move(check); }

  QLineEdit* inputEdit() const { return inputEdit_; }
  QComboBox* outputFolderList() const { return outputFolderList_; }
  QComboBox* outputFormatList() const { return outputFormatList_; }
  QPushButton* convertButton() const { return convertButton_; }
  QToolBar* mainToolBar() const { return mainToolBar_; }
  QToolButton* inputButton() const { return inputButton_; }
  QToolButton* outputFolderButton() const { return outputFolderButton_; }
  QToolButton* outputFormatButton() const { return outputFormatButton_; }
  QWidget* container() const { return container_; }
  QLabel* noticeLabel() const { return noticeLabel_; }

  QString statusText() const;
  void setStatusText(const QString& text);

  // Size of the area below the menu bar (the window's inner size).
  int innerWidth() const { return width(); }
  int innerHeight() const;
  // Heights remembered at creation for the layout.
  int toolBarHeight() const { return toolBarHeight_; }
  int statusBarHeight() const { return statusBarHeight_; }
  int menuBarHeight() const;

  // Files dropped on the window: only the first is added.
  void dropFiles(const QStringList& paths);

  // Rebuilding parts after a theme or icon size change.
  void buildMenuBar();
  void buildMainToolBar();
  void refreshButtonImages();

  // Asks for one layout pass through the event queue.
  void postSizeEvent();

  void runStartupUpdateCheck();
  void enableLayout() { layoutEnabled_ = true; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  QMenu* createPopupMenu() override { return nullptr; }

 signals:
  // The window was closed or Exit was chosen: the main loop ends.
  void quitRequested();

 private:
  void buildControls();
  void applyPlacement();
  void addShortcut(const char* keys, MainCommand command);

  GuiContext& context_;
  std::map<MainCommand, std::function<void()>> handlers_;
  std::function<void()> startupUpdateCheck_;

  QToolBar* mainToolBar_ = nullptr;
  QWidget* container_ = nullptr;
  QLineEdit* inputEdit_ = nullptr;
  QComboBox* outputFolderList_ = nullptr;
  QComboBox* outputFormatList_ = nullptr;
  QToolButton* inputButton_ = nullptr;
  QToolButton* outputFolderButton_ = nullptr;
  QToolButton* outputFormatButton_ = nullptr;
  QPushButton* convertButton_ = nullptr;
  QLabel* noticeLabel_ = nullptr;
  QLabel* statusField_ = nullptr;
  int toolBarHeight_ = 0;
  int statusBarHeight_ = 0;
  bool layoutEnabled_ = false;
};

// The start-up after creation: format tables, maximised state, the output lists, New, show, one
// layout pass, then the periodic update check (not in screenshot mode).
void startMainWindow(MainWindow& window);

// Command 0: refresh the output folders, reset the conversion state, clear the fields, "Ready".
void newJob(MainWindow& window);

// Places the container, stretches the fields to the width and keeps the small bars and the
// Convert button at their distance from the right edge.
void layoutMainWindow(MainWindow& window);

// Fills a list with the output formats ("HDR (High Dynamic Range Image)" with descriptions),
// each with its index in the output-format list as item data, and selects `Output/Format`.
void fillOutputFormatList(QComboBox& list, bool withDescriptions, const GuiContext& context);

// Refills the output folder list from the history (when there is one), selecting the job's
// output folder.
void refreshOutputFolderList(MainWindow& window);

// Called when Preferences are applied: the job's change flag (1 theme, 2 icon size, 0 nothing)
// decides what is rebuilt, and is cleared. `preferencesFormatIndex` is the item the Preferences
// output format list has selected.
void rebuildAfterPreferences(MainWindow& window, int preferencesFormatIndex);
