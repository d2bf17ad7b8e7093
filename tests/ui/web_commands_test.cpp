#include "net/test_server.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "ui/about_window.h"
#include "ui/converter_finder.h"
#include "window_fixture.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>

#include <string>

namespace {

constexpr char kHeader[] = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";
constexpr int64_t kDay = 86400;

class UpdateUrlOverride {
 public:
  explicit UpdateUrlOverride(const QString& url) { qputenv("QUILLET_UPDATE_URL", url.toUtf8()); }
  ~UpdateUrlOverride() { qunsetenv("QUILLET_UPDATE_URL"); }
};

class WebCommandsTest : public WindowTest {
 protected:
  void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(WebCommandsTest, ManualFeedbackAndHomepageGoToTheShell) {
  MainWindow& w = open();
  w.dispatchCommand(MainCommand::Manual);
  w.dispatchCommand(MainCommand::SendFeedback);
  w.dispatchCommand(MainCommand::VisitHomepage);
  ASSERT_EQ(shell.opened.size(), 3);
  // No manual is built beside the test programs, so the path beside the executable is handed over.
  EXPECT_EQ(shell.opened[0], QUrl::fromLocalFile(platform::programFolder() + QStringLiteral("manual.html")));
  EXPECT_EQ(shell.opened[1].toString(),
            QStringLiteral("mailto:support@lumavane.example?subject=Lumavane JPG to HDR 2.2 Feedback"));
  EXPECT_EQ(shell.opened[2].toString(), QStringLiteral("http://www.lumavane.example/quillet/"));
  EXPECT_TRUE(dialogs.messages.isEmpty());
  EXPECT_TRUE(w.isEnabled());
}

TEST_F(WebCommandsTest, AboutOpensOverTheWindowAndGivesItBack) {
  MainWindow& w = open();
  w.dispatchCommand(MainCommand::About);
  QPointer<AboutWindow> about = w.findChild<AboutWindow*>();
  ASSERT_FALSE(about.isNull());
  EXPECT_TRUE(about->isVisible());
  EXPECT_FALSE(w.isEnabled());
  QTest::mouseClick(about->webLink(), Qt::LeftButton);
  QTest::keyClick(about, Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(about.isNull());
  EXPECT_TRUE(w.isEnabled());
  ASSERT_EQ(shell.opened.size(), 1);
  EXPECT_EQ(shell.opened[0].toString(), QStringLiteral("http://www.lumavane.example/"));
}

TEST_F(WebCommandsTest, FinderOpensOverTheWindowAndSearches) {
  MainWindow& w = open();
  w.menuBar()->actions()[1]->menu()->actions()[2]->trigger();  // Converter > Find a File Converter...
  QPointer<ConverterFinder> finder = w.findChild<ConverterFinder*>();
  ASSERT_FALSE(finder.isNull());
  EXPECT_FALSE(w.isEnabled());
  QTest::keyClicks(finder->fromEdit(), QStringLiteral(".JPG "));
  QTest::keyClicks(finder->toEdit(), QStringLiteral("h d r"));
  QTest::keyClick(finder->toEdit(), Qt::Key_Return);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(finder.isNull());
  EXPECT_TRUE(w.isEnabled());
  ASSERT_EQ(shell.opened.size(), 1);
  EXPECT_EQ(shell.opened[0].toString(), QStringLiteral("http://www.lumavane.example/find/JPG-hdr/"));
}

TEST_F(WebCommandsTest, CheckForNewVersionShowsTheServersAnswer) {
  struct Case {
    const char* body;  // nullptr: no server
    bool question;     // a Yes/No question rather than a message box
    const char* title;
    const char* text;
  };
  const char* noUpdate =
      "There is no update of Lumavane JPG to HDR yet. You're using the most recent version.";
  const Case cases[] = {
      {"230\n", true, "New Update",
       "A new version of Lumavane JPG to HDR is available! Are you ready to download it right now?"},
      {"220", false, "No Update", noUpdate},
      {"2.3", false, "No Update", noUpdate},
      {"1234", false, "No Update", noUpdate},
      {nullptr, false, "Error", "Internet connection problems!"},
  };
  MainWindow& w = open();
  dialogs.answerYes = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body ? c.body : "no server");
    dialogs.messages.clear();
    dialogs.questions.clear();
    shell.opened.clear();
    {
      const nettest::ClosedPort closed;
      std::unique_ptr<nettest::TestServer> server;
      if (c.body)
        server = std::make_unique<nettest::TestServer>(nettest::replyAndClose(kHeader + std::string(c.body)));
      const UpdateUrlOverride override(
          server ? server->url()
                 : QStringLiteral("http://127.0.0.1:%1/files/quillet.dat").arg(closed.port()));
      w.dispatchCommand(MainCommand::CheckForNewVersion);
    }
    ASSERT_EQ(dialogs.questions.size(), c.question ? 1 : 0);
    ASSERT_EQ(dialogs.messages.size(), c.question ? 0 : 1);
    const RecordedMessage& shown = c.question ? dialogs.questions[0] : dialogs.messages[0];
    EXPECT_EQ(shown.title, QString::fromUtf8(c.title));
    EXPECT_EQ(shown.text, QString::fromUtf8(c.text));
    // Only the new version's question, answered Yes, opens the homepage.
    if (c.question) {
      ASSERT_EQ(shell.opened.size(), 1);
      EXPECT_EQ(shell.opened[0].toString(), QStringLiteral("http://www.lumavane.example/quillet/"));
    } else {
      EXPECT_TRUE(shell.opened.isEmpty());
    }
  }
  EXPECT_TRUE(w.isEnabled());
}

TEST_F(WebCommandsTest, StartAsksOnceWhenTheCheckIsDue) {
  settings.general.updateRange = 1;  // every week
  const int64_t before = platform::localNow();
  settings.general.updateDate = static_cast<int32_t>(before - 8 * kDay);
  dialogs.answerYes = false;
  open();
  ASSERT_EQ(dialogs.questions.size(), 1);
  EXPECT_EQ(dialogs.questions[0].title, QStringLiteral("Check for Updates"));
  EXPECT_EQ(dialogs.questions[0].text, QStringLiteral("Do you want to check for updates?"));
  EXPECT_TRUE(dialogs.messages.isEmpty());
  EXPECT_GE(settings.general.updateDate, before);
  EXPECT_LE(settings.general.updateDate, platform::localNow());

  // The next start does not ask again.
  open();
  EXPECT_EQ(dialogs.questions.size(), 1);
}

TEST_F(WebCommandsTest, StartAsksNothingWhenTheCheckIsNotDue) {
  struct Case {
    int32_t range;
    int64_t age;
  };
  for (const Case& c : {Case{5, 400 * kDay}, Case{1, kDay}}) {
    SCOPED_TRACE(c.range);
    settings.general.updateRange = c.range;
    settings.general.updateDate = static_cast<int32_t>(platform::localNow() - c.age);
    const int32_t date = settings.general.updateDate;
    open();
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_EQ(settings.general.updateDate, date);
  }
}

TEST_F(WebCommandsTest, ScreenshotModeAsksNothing) {
  settings.general.updateRange = 0;
  settings.general.updateDate = 0;
  context->screenshotMode = true;
  open();
  EXPECT_TRUE(dialogs.questions.isEmpty());
  EXPECT_EQ(settings.general.updateDate, 0);
}

}  // namespace
