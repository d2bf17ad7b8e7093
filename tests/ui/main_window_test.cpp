#include "window_fixture.h"

#include "settings/format_lists.h"
#include "ui/input_output.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace {

QStringList itemTexts(const QComboBox& list) {
  QStringList texts;
  for (int i = 0; i < list.count(); ++i) texts << list.itemText(i);
  return texts;
}

QStringList actionTexts(const QList<QAction*>& actions, bool tooltips = false) {
  QStringList texts;
  for (const QAction* action : actions) {
    texts << (action->isSeparator() ? QStringLiteral("-") : tooltips ? action->toolTip() : action->text());
  }
  return texts;
}

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, FreshStartShowsTitleListsAndReady) {
  MainWindow& w = open();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Lumavane JPG to HDR 2.2"));
  EXPECT_EQ(itemTexts(*w.outputFormatList()), QStringList{QStringLiteral("HDR (High Dynamic Range Image)")});
  EXPECT_EQ(w.outputFormatList()->currentIndex(), 0);
  EXPECT_EQ(w.outputFormatList()->itemData(0).toInt(), 0);
  // An empty history leaves one empty item, with nothing selected after New.
  EXPECT_EQ(itemTexts(*w.outputFolderList()), QStringList{QString()});
  EXPECT_EQ(w.outputFolderList()->currentIndex(), -1);
  EXPECT_TRUE(w.inputEdit()->text().isEmpty());
  EXPECT_EQ(w.statusText(), QStringLiteral("Ready"));
  EXPECT_FALSE(w.noticeLabel()->text().isEmpty());
}

TEST_F(MainWindowTest, GeometryAndLimits) {
  settings.window.x = 120;
  settings.window.y = 90;
  settings.window.width = 640;
  MainWindow& w = open();
  EXPECT_EQ(w.innerWidth(), 640);
  EXPECT_EQ(w.innerHeight(), 260);
  EXPECT_EQ(w.pos(), QPoint(120, 90));
  EXPECT_EQ(w.minimumWidth(), 510);
  EXPECT_EQ(w.minimumHeight(), w.maximumHeight());
  // Dragging the border changes only the width.
  w.resize(400, 500);
  QApplication::processEvents();
  EXPECT_EQ(w.innerWidth(), 510);
  EXPECT_EQ(w.innerHeight(), 260);
}

TEST_F(MainWindowTest, ControlsFollowTheWidth) {
  MainWindow& w = open();
  EXPECT_EQ(w.inputEdit()->geometry(), QRect(10, 20, 350, 20));
  EXPECT_EQ(w.inputButton()->geometry(), QRect(364, 19, 24, 24));
  EXPECT_EQ(w.convertButton()->geometry(), QRect(400, 20, 100, 100));
  EXPECT_EQ(w.container()->y(), 0);
  EXPECT_EQ(w.container()->mapTo(&w, QPoint(0, 0)).y(), w.menuBarHeight() + w.toolBarHeight());

  w.resize(800, w.height());
  QApplication::processEvents();
  for (QWidget* field : {static_cast<QWidget*>(w.inputEdit()), static_cast<QWidget*>(w.outputFolderList()),
                         static_cast<QWidget*>(w.outputFormatList())}) {
    EXPECT_EQ(field->width(), 640);
    EXPECT_EQ(field->x(), 10);
  }
  EXPECT_EQ(w.inputButton()->geometry(), QRect(654, 19, 24, 24));
  EXPECT_EQ(w.outputFolderButton()->geometry(), QRect(654, 59, 24, 24));
  EXPECT_EQ(w.outputFormatButton()->geometry(), QRect(654, 99, 24, 24));
  EXPECT_EQ(w.convertButton()->geometry(), QRect(690, 20, 100, 100));
  EXPECT_EQ(w.container()->width(), 800);
  // The notice keeps its distance from the bottom of the inner area.
  EXPECT_EQ(w.noticeLabel()->mapTo(&w, QPoint(0, 0)), QPoint(10, w.menuBarHeight() + 260 - 70));
}

TEST_F(MainWindowTest, MenusCarryTextsShortcutsAndIcons) {
  MainWindow& w = open();
  const QList<QAction*> menus = w.menuBar()->actions();
  ASSERT_EQ(menus.size(), 3);
  EXPECT_EQ(actionTexts(menus), (QStringList{"File", "Converter", "Help"}));
  EXPECT_EQ(
      actionTexts(menus[0]->menu()->actions()),
      (QStringList{"New\tCtrl+N", "-", "Add Input File...", "Select Output Folder...", "-", "Exit\tAlt+X"}));
  EXPECT_EQ(actionTexts(menus[1]->menu()->actions()),
            (QStringList{"Convert\tF5", "-", "Find a File Converter...", "-", "Preferences..."}));
  EXPECT_EQ(actionTexts(menus[2]->menu()->actions()),
            (QStringList{"User Manual...\tF1", "-", "Send Feedback", "Visit the Program's Homepage",
                         "Check For a New Version", "-", "About..."}));
  for (const QAction* menu : menus) {
    for (const QAction* item : menu->menu()->actions()) {
      EXPECT_TRUE(item->isSeparator() || !item->icon().isNull()) << item->text().toStdString();
    }
  }
  EXPECT_EQ(actionTexts(w.mainToolBar()->actions(), true),
            (QStringList{"New", "Add Input File...", "Select Output Folder...", "-", "Preferences...", "-",
                         "Convert", "-", "User Manual...", "Send Feedback", "Visit the Program's Homepage",
                         "Check For a New Version"}));
  EXPECT_EQ(w.inputButton()->toolTip(), QStringLiteral("Add Input File..."));
  EXPECT_EQ(w.outputFolderButton()->toolTip(), QStringLiteral("Select Output Folder..."));
  EXPECT_EQ(w.outputFormatButton()->toolTip(), QStringLiteral("Options..."));
}

TEST_F(MainWindowTest, ToolbarIconSizeFollowsUiSizeWhileSmallIconsStay) {
  const int expected[][2] = {{0, 16}, {1, 24}, {2, 32}, {3, 48}, {4, 64}, {5, 16}, {-1, 16}};
  for (const auto& [uiSize, pixels] : expected) {
    settings.ui.uiSize = uiSize;
    MainWindow w(*context);
    EXPECT_EQ(w.mainToolBar()->iconSize(), QSize(pixels, pixels)) << uiSize;
    EXPECT_EQ(w.inputButton()->iconSize(), QSize(16, 16));
    EXPECT_FALSE(w.mainToolBar()->isMovable());
  }
}

// Every command, by menu, toolbar, button or number, goes through the one dispatch.
TEST_F(MainWindowTest, CommandsReachTheirHandlers) {
  MainWindow& w = open();
  QList<int> called;
  for (MainCommand command :
       {MainCommand::OutputFormatOptions, MainCommand::Preferences, MainCommand::FindConverter,
        MainCommand::Manual, MainCommand::SendFeedback, MainCommand::VisitHomepage,
        MainCommand::CheckForNewVersion, MainCommand::About}) {
    w.setCommandHandler(command, [&called, &w, command] {
      called << static_cast<int>(command);
      const int page = w.context().job.preferencesPage;
      if (command == MainCommand::OutputFormatOptions) {
        EXPECT_EQ(page, 3);
      } else if (command == MainCommand::Preferences) {
        EXPECT_EQ(page, 0);
      }
    });
  }
  w.dispatchCommand(MainCommand::OutputFormatOptions);
  w.dispatchCommand(MainCommand::Preferences);
  EXPECT_EQ(called, (QList<int>{8, 17}));

  // The Help menu and the toolbar trigger the same commands.
  called.clear();
  for (QAction* item : w.menuBar()->actions()[2]->menu()->actions()) item->trigger();
  EXPECT_EQ(called, (QList<int>{18, 21, 22, 23, 24}));
  called.clear();
  w.outputFormatButton()->click();
  w.menuBar()->actions()[1]->menu()->actions()[2]->trigger();
  EXPECT_EQ(called, (QList<int>{8, 16}));

  // Numbers without an action do nothing.
  called.clear();
  for (int number : {1, 2, 6, 9, 10, 11, 12, 13, 15, 19, 20, 25, 99})
    w.dispatchCommand(static_cast<MainCommand>(number));
  EXPECT_TRUE(called.isEmpty());
  EXPECT_EQ(dialogs.openFileCalls + dialogs.chooseFolderCalls, 0);
  EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, ShortcutsAndExit) {
  MainWindow& w = open();
  QList<int> called;
  w.setCommandHandler(MainCommand::Manual, [&called] { called << 18; });
  w.activateWindow();
  QApplication::setActiveWindow(&w);
  w.inputEdit()->setText(QStringLiteral("typed"));
  w.setStatusText(QStringLiteral("busy"));

  auto press = [&w](Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(w.inputEdit(), key, modifiers);
  };
  press(Qt::Key_N, Qt::ControlModifier);
  EXPECT_TRUE(w.inputEdit()->text().isEmpty());
  EXPECT_EQ(w.statusText(), QStringLiteral("Ready"));
  press(Qt::Key_F1, Qt::NoModifier);
  EXPECT_EQ(called, QList<int>{18});
  press(Qt::Key_F5, Qt::NoModifier);
  ASSERT_EQ(dialogs.messages.size(), 1);
  EXPECT_EQ(dialogs.messages[0].text,
            QStringLiteral("No input file(s) found. Please, add valid file(s) and try again!"));

  QSignalSpy quit(&w, &MainWindow::quitRequested);
  press(Qt::Key_X, Qt::AltModifier);
  EXPECT_EQ(quit.count(), 1);
  EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindowTest, NewClearsTheForm) {
  MainWindow& w = open();
  ASSERT_TRUE(addInputFileToWindow(w, samplePhoto()));
  EXPECT_EQ(queue.size(), 1u);
  EXPECT_FALSE(w.outputFolderList()->currentText().isEmpty());
  job.counter = 7;
  w.setStatusText(QStringLiteral("Conversion complete"));

  w.dispatchCommand(MainCommand::New);
  EXPECT_TRUE(w.inputEdit()->text().isEmpty());
  EXPECT_EQ(w.outputFolderList()->currentIndex(), -1);
  EXPECT_TRUE(w.outputFolderList()->currentText().isEmpty());
  // The history stays offered.
  EXPECT_EQ(itemTexts(*w.outputFolderList()), QStringList{QStringLiteral(QUILLET_SAMPLES_DIR "/")});
  EXPECT_TRUE(queue.empty());
  EXPECT_EQ(job.counter, 1);
  EXPECT_TRUE(job.outputFolder.isEmpty());
  EXPECT_EQ(w.statusText(), QStringLiteral("Ready"));
}

TEST_F(MainWindowTest, OutputListsFeedTheJobAndSettings) {
  settings.file.recentOutFolders = QStringLiteral("/a/\t/b/");
  MainWindow& w = open();
  EXPECT_EQ(itemTexts(*w.outputFolderList()), (QStringList{"/a/", "/b/"}));
  w.outputFolderList()->setCurrentIndex(1);
  emit w.outputFolderList()->activated(1);
  EXPECT_EQ(job.outputFolder, QStringLiteral("/b/"));

  settings.output.format = QStringLiteral("other");
  emit w.outputFormatList()->activated(0);
  EXPECT_EQ(settings.output.format, QStringLiteral("hdr"));
}

TEST_F(MainWindowTest, RebuildAfterPreferences) {
  settings.file.recentOutFolders = QStringLiteral("/a/\t/b/\t/c/");
  MainWindow& w = open();
  ASSERT_EQ(w.outputFolderList()->count(), 3);

  settings.ui.uiSize = 3;
  job.interfaceChangeFlag = 2;
  settings.advanced.outFoldersNumber = 2;
  rebuildAfterPreferences(w, 0);
  EXPECT_EQ(w.mainToolBar()->iconSize(), QSize(48, 48));
  EXPECT_EQ(w.mainToolBar()->actions().size(), 12);
  EXPECT_EQ(job.interfaceChangeFlag, 0);
  EXPECT_EQ(itemTexts(*w.outputFolderList()), (QStringList{"/a/", "/b/"}));

  settings.ui.uiSize = 0;
  job.interfaceChangeFlag = 1;
  rebuildAfterPreferences(w, 0);
  EXPECT_EQ(w.mainToolBar()->iconSize(), QSize(16, 16));
  EXPECT_EQ(w.menuBar()->actions().size(), 3);
  // The menus of the bar before the rebuild are gone, not merely hidden.
  EXPECT_EQ(w.menuBar()->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly).size(), 3);
  EXPECT_EQ(job.interfaceChangeFlag, 0);
  EXPECT_EQ(w.outputFormatList()->currentIndex(), 0);
  QApplication::processEvents();
  EXPECT_EQ(w.container()->mapTo(&w, QPoint(0, 0)).y(), w.menuBarHeight() + w.toolBarHeight());
}

}  // namespace
