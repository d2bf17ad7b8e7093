// Preferences from the main window: commands 8 and 17, and the main window following OK (theme,
// icon size, output format and output folder lists).
#include "themes/test_archives.h"
#include "ui/preferences_window.h"
#include "ui/range_spin_box.h"
#include "ui/window_images.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace {

using namespace themes_test;

const QColor kRed(255, 0, 0), kBlue(0, 0, 255);

QColor iconColour(const QIcon& icon, int size) {
  return icon.pixmap(QSize(size, size)).toImage().pixelColor(size / 2, size / 2);
}

class PreferencesFromMainWindow : public WindowTest {
 protected:
  // A program folder holding gfx/alpha.zip, whose "New" icon is red at 16 pixels and blue at 32.
  // Starting the main window resets the job, so tests point it at this folder afterwards.
  void installTheme() {
    programFolder = folder("program");
    job.programFolder = programFolder;
    const QString gfx = folder("program/gfx");
    ASSERT_TRUE(writeZip(gfx + "alpha.zip",
                         {{"theme.cfg", configText({"[Theme]", "Name=Alpha", "", "[Icons]", "New=new"})},
                          {"new_16.png", pngBytes(16, kRed)},
                          {"new_32.png", pngBytes(32, kBlue)}}));
    ASSERT_EQ(themes::scanThemes(gfx, themeRegistry), 1);
  }

  QString programFolder;

  PreferencesWindow* preferences() const { return window->findChild<PreferencesWindow*>(); }

  static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  QPushButton* button(const char* name) const { return preferences()->findChild<QPushButton*>(name); }
  QComboBox* list(const char* name) const { return preferences()->findChild<QComboBox*>(name); }
};

TEST_F(PreferencesFromMainWindow, OutputFormatOptionsOpenOnOutputThenPreferencesOnGeneral) {
  MainWindow& w = open();
  w.dispatchCommand(MainCommand::OutputFormatOptions);
  PreferencesWindow* first = preferences();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isVisible());
  EXPECT_FALSE(w.isEnabled());
  EXPECT_TRUE(first->isEnabled());
  EXPECT_EQ(first->currentPage(), 3);
  EXPECT_EQ(first->pageTree()->currentItem()->text(0), "Output");
  EXPECT_EQ(first->headerText(), "Output");
  EXPECT_EQ(job.preferencesPage, 0);

  button("cancel")->click();
  settle();
  EXPECT_EQ(preferences(), nullptr);
  EXPECT_TRUE(w.isEnabled());

  w.dispatchCommand(MainCommand::Preferences);
  ASSERT_NE(preferences(), nullptr);
  EXPECT_EQ(preferences()->currentPage(), 0);
  EXPECT_EQ(preferences()->headerText(), "General");
  // The toolbar button and the menu item reach the same command.
  button("cancel")->click();
  settle();
  w.outputFormatButton()->click();
  ASSERT_NE(preferences(), nullptr);
  EXPECT_EQ(preferences()->currentPage(), 3);
}

TEST_F(PreferencesFromMainWindow, ThemeChangeReloadsImagesAndRebuildsMenusAndToolbars) {
  installTheme();
  MainWindow& w = open();
  job.programFolder = programFolder;
  const QList<QAction*> menusBefore = w.menuBar()->actions();
  const QPointer<QToolBar> toolBarBefore = w.mainToolBar();
  EXPECT_NE(iconColour(w.menuBar()->actions()[0]->menu()->actions()[0]->icon(), 16), kRed);

  w.dispatchCommand(MainCommand::Preferences);
  ASSERT_EQ(list("Interface/UI Theme")->currentText(), "Alpha");  // "handdrawn" is not installed here
  button("ok")->click();
  settle();

  EXPECT_EQ(settings.ui.uiTheme, "alpha");
  EXPECT_EQ(job.interfaceChangeFlag, 0);
  EXPECT_NE(w.menuBar()->actions(), menusBefore);
  EXPECT_TRUE(toolBarBefore.isNull());
  EXPECT_EQ(iconColour(w.menuBar()->actions()[0]->menu()->actions()[0]->icon(), 16), kRed);
  EXPECT_EQ(iconColour(w.mainToolBar()->actions()[0]->icon(), 32), kBlue);
  EXPECT_EQ(iconColour(w.outputFormatList()->itemIcon(0), 16), kRed);
}

TEST_F(PreferencesFromMainWindow, IconSizeChangeRebuildsTheMainToolbarOnly) {
  installTheme();
  settings.ui.uiTheme = "alpha";
  reloadThemeImages(*context, true, true, true);
  MainWindow& w = open();
  job.programFolder = programFolder;
  const QList<QAction*> menusBefore = w.menuBar()->actions();
  EXPECT_EQ(iconColour(w.mainToolBar()->actions()[0]->icon(), 32), kBlue);

  w.dispatchCommand(MainCommand::Preferences);
  list("Interface/UI Size")->setCurrentIndex(0);
  button("ok")->click();
  settle();

  EXPECT_EQ(settings.ui.uiSize, 0);
  EXPECT_EQ(job.interfaceChangeFlag, 0);
  EXPECT_EQ(w.menuBar()->actions(), menusBefore);
  EXPECT_EQ(w.mainToolBar()->iconSize(), QSize(16, 16));
  EXPECT_EQ(iconColour(w.mainToolBar()->actions()[0]->icon(), 16), kRed);
}

TEST_F(PreferencesFromMainWindow, OutputListsFollow) {
  settings.file.recentOutFolders = "/a/\t/b/\t/c/";
  MainWindow& w = open();
  ASSERT_EQ(w.outputFolderList()->count(), 3);
  w.outputFormatList()->setCurrentIndex(-1);

  w.dispatchCommand(MainCommand::OutputFormatOptions);
  auto* number = preferences()->findChild<RangeSpinBox*>("Advanced/Out Folders Number.spin");
  number->selectAll();
  QTest::keyClick(number, Qt::Key_Backspace);
  QTest::keyClicks(number, "2");
  button("ok")->click();
  settle();

  EXPECT_TRUE(w.isEnabled());
  EXPECT_EQ(w.outputFormatList()->currentIndex(), 0);
  EXPECT_EQ(w.outputFolderList()->count(), 2);
  EXPECT_EQ(settings.advanced.outFoldersNumber, 2);
  // The configuration was saved while the window was open.
  EXPECT_TRUE(QFile::exists(settings.configPath));
}

}  // namespace
