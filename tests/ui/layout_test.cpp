// Every window of the program laid out as the user sees it: texts fit their controls and nothing
// overlaps or leaves its window. The same tests run at 100% and, in a second program, at 200%.
#include "layout_check.h"
#include "window_fixture.h"

#include "ui/about_window.h"
#include "ui/converter_finder.h"
#include "ui/input_output.h"
#include "ui/uninstall_feedback.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>

namespace {

std::string described(const QStringList& problems) {
  return problems.join(QStringLiteral("\n")).toStdString();
}

class LayoutTest : public WindowTest {
 protected:
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(LayoutTest, MainWindowAtItsDefaultAndAWiderSize) {
  MainWindow& main = open();
  const QStringList atStart = layoutProblems(main);
  EXPECT_TRUE(atStart.isEmpty()) << described(atStart);
  main.resize(900, main.height());
  QApplication::processEvents();
  const QStringList wider = layoutProblems(main);
  EXPECT_TRUE(wider.isEmpty()) << described(wider);
}

TEST_F(LayoutTest, AboutWindow) {
  MainWindow& main = open();
  QPointer<AboutWindow> about = openAboutWindow(main, strings, shell);
  ASSERT_FALSE(about.isNull());
  const QStringList problems = layoutProblems(*about);
  EXPECT_TRUE(problems.isEmpty()) << described(problems);
  about->close();
}

TEST_F(LayoutTest, ConverterFinder) {
  MainWindow& main = open();
  QPointer<ConverterFinder> finder = openConverterFinder(main, strings, dialogs, shell);
  ASSERT_FALSE(finder.isNull());
  const QStringList problems = layoutProblems(*finder);
  EXPECT_TRUE(problems.isEmpty()) << described(problems);
  finder->close();
}

TEST_F(LayoutTest, UninstallFeedbackWindow) {
  UninstallFeedbackWindow window(strings, shell);
  window.show();
  QApplication::processEvents();
  const QStringList problems = layoutProblems(window);
  EXPECT_TRUE(problems.isEmpty()) << described(problems);
}

TEST_F(LayoutTest, ProgressDialogAtTheEndOfARun) {
  MainWindow& main = open();
  ASSERT_TRUE(addInputFileToWindow(main, samplePhoto()));
  dialogs.folderToChoose = folder(QStringLiteral("out"));
  outputFolderDialog(main);
  QStringList problems;
  bool checked = false;
  QTimer poller;
  poller.setInterval(5);
  QObject::connect(&poller, &QTimer::timeout, [&] {
    auto* dialog = main.findChild<ProgressDialog*>();
    if (dialog == nullptr || !dialog->isVisible() || !dialog->endShown() || checked) return;
    checked = true;
    problems = layoutProblems(*dialog);
    dialog->okButton()->click();
  });
  poller.start();
  main.dispatchCommand(MainCommand::Convert);
  poller.stop();
  ASSERT_TRUE(checked);
  EXPECT_TRUE(problems.isEmpty()) << described(problems);
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
}

}  // namespace
