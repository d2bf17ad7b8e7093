#include "ui/update_check_window.h"
#include "fakes.h"
#include "i18n/string_table.h"
#include "net/test_server.h"
#include "settings/settings.h"

#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::chrono_literals;
using nettest::Session;
using nettest::TestServer;

constexpr char kHeader[] = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";
constexpr int64_t kDay = 86400;
constexpr int64_t kNow = 1'700'000'000;

// Points the update check at a test server for the test's duration.
class UpdateUrlOverride {
 public:
  explicit UpdateUrlOverride(const QString& url) { qputenv("QUILLET_UPDATE_URL", url.toUtf8()); }
  ~UpdateUrlOverride() { qunsetenv("QUILLET_UPDATE_URL"); }
};

class UpdateCheckWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { strings.load(QString()); }

  // Command 23 against a server that sends `reply` and closes.
  void checkWithReply(const std::string& reply) {
    TestServer server(nettest::replyAndClose(reply));
    const UpdateUrlOverride override(server.url());
    runUpdateCheck(window);
  }

  void expectConnectionProblem() {
    EXPECT_TRUE(dialogs.questions.isEmpty());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Internet connection problems!"));
  }

  StringTable strings;
  FakeDialogs dialogs;
  RecordingShell shell;
  UpdateCheckWindow window{nullptr, strings, dialogs, shell};
};

TEST_F(UpdateCheckWindowTest, NewerVersionAsksAndOpensTheHomepageOnYes) {
  for (const bool yes : {true, false}) {
    SCOPED_TRACE(yes);
    dialogs.questions.clear();
    shell.opened.clear();
    dialogs.answerYes = yes;
    checkWithReply(std::string(kHeader) + "230\n");
    EXPECT_TRUE(dialogs.messages.isEmpty());
    ASSERT_EQ(dialogs.questions.size(), 1);
    EXPECT_EQ(dialogs.questions[0].icon, MessageIcon::Question);
    EXPECT_EQ(dialogs.questions[0].title, QStringLiteral("New Update"));
    EXPECT_EQ(
        dialogs.questions[0].text,
        QStringLiteral(
            "A new version of Lumavane JPG to HDR is available! Are you ready to download it right now?"));
    if (yes) {
      ASSERT_EQ(shell.opened.size(), 1);
      EXPECT_EQ(shell.opened[0].toString(), QStringLiteral("http://www.lumavane.example/quillet/"));
    } else {
      EXPECT_TRUE(shell.opened.isEmpty());
    }
  }
}

TEST_F(UpdateCheckWindowTest, SameOrOlderVersionShowsNoUpdate) {
  for (const char* body : {"220", "2.3", "1234", "-5"}) {
    SCOPED_TRACE(body);
    dialogs.messages.clear();
    checkWithReply(std::string(kHeader) + body);
    EXPECT_TRUE(dialogs.questions.isEmpty());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("No Update"));
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral(
                  "There is no update of Lumavane JPG to HDR yet. You're using the most recent version."));
  }
  EXPECT_TRUE(shell.opened.isEmpty());
}

TEST_F(UpdateCheckWindowTest, NoServerIsAConnectionProblem) {
  const nettest::ClosedPort closed;
  const UpdateUrlOverride override(
      QStringLiteral("http://127.0.0.1:%1/files/quillet.dat").arg(closed.port()));
  runUpdateCheck(window);
  expectConnectionProblem();
}

TEST_F(UpdateCheckWindowTest, HostileServersEndInAConnectionProblem) {
  struct Case {
    const char* name;
    std::string start;
    std::string repeated;
  };
  const Case cases[] = {
      {"no separator, endless", "HTTP/1.0 200 OK\r\n", "x"},
      {"binary body, endless", kHeader, std::string("\x80\x00\xff\x01", 4)},
      {"separators only, endless", kHeader, "\r\n\r\n"},
      {"no separator, closes", "HTTP/1.0 200 OK\r\n230\r\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.messages.clear();
    TestServer server([&c](Session& s) {
      if (!s.send(c.start)) return s.running();
      while (!c.repeated.empty() && s.send(c.repeated)) {
      }
      return s.running();
    });
    const UpdateUrlOverride override(server.url());
    runUpdateCheck(window);
    expectConnectionProblem();
  }
}

TEST_F(UpdateCheckWindowTest, WindowKeepsRunningEventsWhileWaitingButStaysOpen) {
  TestServer server([](Session& s) {
    s.pause(300ms);
    s.send(std::string(kHeader) + "230");
    return false;
  });
  QWidget mainWindow;
  mainWindow.show();
  bool timerRan = false;
  bool closedDuringWait = true;
  QTimer::singleShot(0, [&] {
    timerRan = true;
    closedDuringWait = mainWindow.close();
  });
  EXPECT_EQ(waitForUpdateOutcome(server.url()), net::UpdateOutcome::NewUpdate);
  EXPECT_TRUE(timerRan);
  EXPECT_FALSE(closedDuringWait);
  EXPECT_TRUE(mainWindow.isVisible());
  EXPECT_TRUE(mainWindow.close());  // closing works again once the outcome is known
}

TEST_F(UpdateCheckWindowTest, PeriodicCheckAsksOnceWhenDueAndMovesTheDate) {
  Settings settings;
  settings.general.updateRange = 1;  // every week
  settings.general.updateDate = static_cast<int32_t>(kNow - 8 * kDay);
  dialogs.answerYes = false;
  periodicUpdateCheck(window, settings, kNow);
  ASSERT_EQ(dialogs.questions.size(), 1);
  EXPECT_EQ(dialogs.questions[0].icon, MessageIcon::Question);
  EXPECT_EQ(dialogs.questions[0].title, QStringLiteral("Check for Updates"));
  EXPECT_EQ(dialogs.questions[0].text, QStringLiteral("Do you want to check for updates?"));
  EXPECT_EQ(settings.general.updateDate, kNow);
  EXPECT_TRUE(dialogs.messages.isEmpty());

  // The next start, an hour later, is not due.
  periodicUpdateCheck(window, settings, kNow + 3600);
  EXPECT_EQ(dialogs.questions.size(), 1);
  EXPECT_EQ(settings.general.updateDate, kNow);
}

TEST_F(UpdateCheckWindowTest, PeriodicCheckAnsweredYesChecks) {
  TestServer server(nettest::replyAndClose(std::string(kHeader) + "220"));
  const UpdateUrlOverride override(server.url());
  Settings settings;
  settings.general.updateRange = 0;  // every day
  settings.general.updateDate = static_cast<int32_t>(kNow - 2 * kDay);
  dialogs.answerYes = true;
  periodicUpdateCheck(window, settings, kNow);
  EXPECT_EQ(dialogs.questions.size(), 1);
  ASSERT_EQ(dialogs.messages.size(), 1);
  EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("No Update"));
  EXPECT_EQ(settings.general.updateDate, kNow);
}

TEST_F(UpdateCheckWindowTest, PeriodicCheckNotDueAsksNothing) {
  struct Case {
    int32_t range;
    int64_t age;
  };
  // Range 5 is never; a day-old check is not due weekly; 99 falls back to 30 days.
  for (const Case& c : {Case{5, 400 * kDay}, Case{1, kDay}, Case{1, 7 * kDay}, Case{99, 29 * kDay}}) {
    SCOPED_TRACE(c.range);
    Settings settings;
    settings.general.updateRange = c.range;
    settings.general.updateDate = static_cast<int32_t>(kNow - c.age);
    periodicUpdateCheck(window, settings, kNow);
    EXPECT_TRUE(dialogs.questions.isEmpty());
    EXPECT_EQ(settings.general.updateDate, kNow - c.age);
  }
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

}  // namespace
