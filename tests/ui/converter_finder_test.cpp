#include "ui/converter_finder.h"
#include "fakes.h"
#include "i18n/string_table.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ConverterFinderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    strings.load(QString());
    owner.setGeometry(200, 150, 510, 260);
    owner.show();
  }
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  ConverterFinder* open() {
    ConverterFinder* finder = openConverterFinder(owner, strings, dialogs, shell);
    EXPECT_TRUE(finder->isVisible());
    EXPECT_TRUE(finder->isEnabled());
    EXPECT_FALSE(owner.isEnabled());
    return finder;
  }

  void expectClosed(QPointer<ConverterFinder> finder) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(finder.isNull());
    EXPECT_TRUE(owner.isEnabled());
  }

  StringTable strings;
  FakeDialogs dialogs;
  RecordingShell shell;
  QMainWindow owner;
};

TEST_F(ConverterFinderTest, OpensEmptyWithTheFocusInFrom) {
  ConverterFinder* finder = open();
  EXPECT_EQ(finder->windowTitle(), QStringLiteral("Find a File Converter"));
  EXPECT_EQ(finder->size(), QSize(370, 60));
  EXPECT_LE((finder->frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
  EXPECT_EQ(finder->focusWidget(), finder->fromEdit());
  EXPECT_TRUE(finder->fromEdit()->text().isEmpty());
  EXPECT_TRUE(finder->toEdit()->text().isEmpty());
  EXPECT_EQ(finder->searchButton()->text(), QStringLiteral("Search"));
  EXPECT_TRUE(finder->searchButton()->isDefault());
  QTest::keyClick(finder, Qt::Key_Escape);
  expectClosed(finder);
}

TEST_F(ConverterFinderTest, SearchKeepsLettersAndDigitsAndCloses) {
  struct Case {
    const char* from;
    const char* to;
    const char* page;
  };
  const Case cases[] = {
      {".JPG ", "h d r", "http://www.lumavane.example/find/JPG-hdr/"},
      {"jpg", "hdr", "http://www.lumavane.example/find/jpg-hdr/"},
      {"*.tif16", "x/e/x", "http://www.lumavane.example/find/tif16-xex/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    QPointer<ConverterFinder> finder = open();
    QTest::keyClicks(finder->fromEdit(), QString::fromUtf8(c.from));
    finder->toEdit()->setText(QString::fromUtf8(c.to));
    QTest::mouseClick(finder->searchButton(), Qt::LeftButton);
    ASSERT_FALSE(shell.opened.isEmpty());
    EXPECT_EQ(shell.opened.takeLast().toString(), QString::fromUtf8(c.page));
    expectClosed(finder);
  }
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ConverterFinderTest, ReturnSearches) {
  QPointer<ConverterFinder> finder = open();
  finder->fromEdit()->setText(QStringLiteral("jpg"));
  finder->toEdit()->setText(QStringLiteral("hdr"));
  QTest::keyClick(finder->toEdit(), Qt::Key_Return);
  ASSERT_EQ(shell.opened.size(), 1);
  EXPECT_EQ(shell.opened[0].toString(), QStringLiteral("http://www.lumavane.example/find/jpg-hdr/"));
  expectClosed(finder);
}

TEST_F(ConverterFinderTest, EmptySideWarnsAndStaysOpen) {
  const std::pair<const char*, const char*> cases[] = {{"***", "hdr"}, {"jpg", ""}, {"", ""}, {". .", "-"}};
  ConverterFinder* finder = open();
  for (const auto& [from, to] : cases) {
    SCOPED_TRACE(from);
    finder->fromEdit()->setText(QString::fromUtf8(from));
    finder->toEdit()->setText(QString::fromUtf8(to));
    QTest::keyClick(finder->fromEdit(), Qt::Key_Return);
    ASSERT_FALSE(dialogs.messages.isEmpty());
    const RecordedMessage warning = dialogs.messages.takeLast();
    EXPECT_EQ(warning.icon, MessageIcon::Warning);
    EXPECT_EQ(warning.title, QStringLiteral("Warning"));
    EXPECT_EQ(warning.text, QStringLiteral("Please, fill all required fields and try again!"));
    EXPECT_TRUE(finder->isVisible());
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_EQ(finder->fromEdit()->text(), QString::fromUtf8(from));
    EXPECT_EQ(finder->toEdit()->text(), QString::fromUtf8(to));
  }
  EXPECT_TRUE(dialogs.messages.isEmpty());
  EXPECT_TRUE(shell.opened.isEmpty());
  QPointer<ConverterFinder> guard = finder;
  finder->close();  // the close box
  expectClosed(guard);
  EXPECT_TRUE(shell.opened.isEmpty());
}

}  // namespace
