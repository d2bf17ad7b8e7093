// Every window of the program laid out as the user sees it: texts fit their controls and nothing
// overlaps or leaves its window. The same tests run at 100% and, in a second program, at 200%.
#include "layout_check.h"
#include "window_fixture.h"

#include "ui/about_window.h"
#include "ui/converter_finder.h"
#include "ui/input_output.h"
#include "ui/preferences_window.h"
#include "ui/uninstall_feedback.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QTreeWidget>

namespace {

std::string described(const QStringList& problems) {
  return problems.join(QStringLiteral("\n")).toStdString();
}

// The window's problems; with QUILLET_LAYOUT_PICTURES naming a folder, also a picture of the
// window there (scripts/screenshot --windows), to be looked at.
QStringList checked(QWidget& window, const QString& name) {
  const QString folder = qEnvironmentVariable("QUILLET_LAYOUT_PICTURES");
  if (!folder.isEmpty()) {
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    window.grab().save(folder + QStringLiteral("/%1-x%2.png").arg(name, scale));
  }
  return layoutProblems(window);
}

class LayoutTest : public WindowTest {
 protected:
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(LayoutTest, MainWindowAtItsDefaultAndAWiderSize) {
  MainWindow& main = open();
  const QStringList atStart = checked(main, QStringLiteral("main-window"));
  EXPECT_TRUE(atStart.isEmpty()) << described(atStart);
  main.resize(900, main.height());
  QApplication::processEvents();
  const QStringList wider = checked(main, QStringLiteral("main-window-wide"));
  EXPECT_TRUE(wider.isEmpty()) << described(wider);
}

TEST_F(LayoutTest, AboutWindow) {
  MainWindow& main = open();
  QPointer<AboutWindow> about = openAboutWindow(main, strings, shell);
  ASSERT_FALSE(about.isNull());
  const QStringList problems = checked(*about, QStringLiteral("about"));
  EXPECT_TRUE(problems.isEmpty()) << described(problems);
  about->close();
}

TEST_F(LayoutTest, ConverterFinder) {
  MainWindow& main = open();
  QPointer<ConverterFinder> finder = openConverterFinder(main, strings, dialogs, shell);
  ASSERT_FALSE(finder.isNull());
  const QStringList problems = checked(*finder, QStringLiteral("converter-finder"));
  EXPECT_TRUE(problems.isEmpty()) << described(problems);
  finder->close();
}

TEST_F(LayoutTest, UninstallFeedbackWindow) {
  UninstallFeedbackWindow window(strings, shell);
  window.show();
  QApplication::processEvents();
  const QStringList problems = checked(window, QStringLiteral("uninstall-feedback"));
  EXPECT_TRUE(problems.isEmpty()) << described(problems);
}

TEST_F(LayoutTest, ProgressDialogAtTheEndOfARun) {
  MainWindow& main = open();
  ASSERT_TRUE(addInputFileToWindow(main, samplePhoto()));
  dialogs.folderToChoose = folder(QStringLiteral("out"));
  outputFolderDialog(main);
  QStringList problems;
  bool seen = false;
  QTimer poller;
  poller.setInterval(5);
  QObject::connect(&poller, &QTimer::timeout, [&] {
    auto* dialog = main.findChild<ProgressDialog*>();
    if (dialog == nullptr || !dialog->isVisible() || !dialog->endShown() || seen) return;
    seen = true;
    problems = checked(*dialog, QStringLiteral("progress"));
    dialog->okButton()->click();
  });
  poller.start();
  main.dispatchCommand(MainCommand::Convert);
  poller.stop();
  ASSERT_TRUE(seen);
  EXPECT_TRUE(problems.isEmpty()) << described(problems);
}

// Every page of Preferences with its panels shown: frame, text and image watermark, and the
// Transform page's rows enabled.
TEST_F(LayoutTest, PreferencesEveryPageAndPanel) {
  settings.transform.doImageRotation = 1;
  settings.transform.doImageResize = 1;
  settings.frame.doFrame = 1;
  settings.watermark.doWatermark = 1;
  themeRegistry.names = {{QStringLiteral("handdrawn"), QStringLiteral("Hand-drawn")}};
  MainWindow& main = open();
  QPointer<PreferencesWindow> preferences = openPreferences(PreferencesContext{*context, {}, {}}, &main);
  ASSERT_FALSE(preferences.isNull());
  const char* names[] = {"general",    "interface", "input",     "output",  "transform",
                         "adjustment", "frame",     "watermark", "advanced"};
  for (int page = 0; page < kPageCount; ++page) {
    preferences->pageTree()->setCurrentItem(preferences->pageTree()->topLevelItem(page));
    QApplication::processEvents();
    ASSERT_EQ(preferences->currentPage(), page);
    const QStringList problems = checked(*preferences, QStringLiteral("preferences-%1").arg(names[page]));
    EXPECT_TRUE(problems.isEmpty()) << names[page] << ":\n" << described(problems);
  }
  auto* kind = preferences->findChild<QComboBox*>(QStringLiteral("Watermark/Do Watermark"));
  ASSERT_NE(kind, nullptr);
  kind->setCurrentIndex(2);
  preferences->pageTree()->setCurrentItem(preferences->pageTree()->topLevelItem(7));
  QApplication::processEvents();
  const QStringList problems = checked(*preferences, QStringLiteral("preferences-watermark-image"));
  EXPECT_TRUE(problems.isEmpty()) << described(problems);
  preferences->close();
}

// The check itself: a caption that runs under the field below it is found.
TEST(LayoutCheck, FindsTextUnderANeighbourAndCutText) {
  QWidget window;
  window.resize(200, 100);
  auto* caption = new QLabel(QStringLiteral("Caption"), &window);
  caption->setGeometry(10, 5, 150, 20);
  caption->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  auto* edit = new QLineEdit(&window);
  edit->setGeometry(10, 20, 150, 20);
  window.show();
  QApplication::processEvents();
  EXPECT_EQ(layoutProblems(window).size(), 1) << described(layoutProblems(window));
  caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  caption->setGeometry(10, 0, 150, 20);
  EXPECT_TRUE(layoutProblems(window).isEmpty()) << described(layoutProblems(window));
  caption->setText(QStringLiteral("A caption far too long for the width it was given"));
  EXPECT_EQ(layoutProblems(window).size(), 1) << described(layoutProblems(window));
  caption->setText(QStringLiteral("Caption"));
  edit->setGeometry(150, 30, 80, 20);  // leaves the window
  EXPECT_EQ(layoutProblems(window).size(), 1) << described(layoutProblems(window));
  edit->setGeometry(10, 30, 80, 20);
  auto* button = new QPushButton(QStringLiteral("Search everywhere"), &window);
  button->setGeometry(100, 30, 40, 25);
  button->show();
  EXPECT_EQ(layoutProblems(window).size(), 1) << described(layoutProblems(window));
  button->setText(QStringLiteral("..."));
  button->setGeometry(100, 30, 22, 22);
  EXPECT_TRUE(layoutProblems(window).isEmpty()) << described(layoutProblems(window));
}

}  // namespace
