#include "net/update_check.h"

#include "i18n/product.h"
#include "test_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace {

using namespace std::chrono_literals;
using net::UpdateOutcome;
using nettest::ClosedPort;
using nettest::Script;
using nettest::Session;
using nettest::TestServer;

constexpr char kHeader[] = "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n";

// Keeps QUILLET_UPDATE_URL as the test sets it and removes it afterwards.
class UpdateUrlOverride {
 public:
  explicit UpdateUrlOverride(const QString& url) { qputenv("QUILLET_UPDATE_URL", url.toUtf8()); }
  ~UpdateUrlOverride() { qunsetenv("QUILLET_UPDATE_URL"); }
};

std::string withHeader(const std::string& body) { return kHeader + body; }

TEST(UpdateCheck, BodyDecidesTheOutcome) {
  struct Case {
    std::string body;
    QString text;
    UpdateOutcome outcome;
  };
  const Case cases[] = {
      {"230\n", "230", UpdateOutcome::NewUpdate},       {"220", "220", UpdateOutcome::NoUpdate},
      {"2.3", "2.3", UpdateOutcome::NoUpdate},  // reads as 2
      {"1234", "123", UpdateOutcome::NoUpdate},         {"-5", "-5", UpdateOutcome::NoUpdate},
      {"  999  \r\n", "999", UpdateOutcome::NewUpdate}, {"abc", "abc", UpdateOutcome::ConnectionProblem},
      {"", "", UpdateOutcome::ConnectionProblem},
  };
  for (const Case& c : cases) {
    {
      TestServer server(nettest::replyAndClose(withHeader(c.body)));
      EXPECT_EQ(net::fetchVersionText(server.url(), QString()), c.text) << c.body;
    }
    TestServer server(nettest::replyAndClose(withHeader(c.body)));
    EXPECT_EQ(net::checkForUpdate(server.url()), c.outcome) << c.body;
  }
}

TEST(UpdateCheck, ReplyWithoutHeaderSeparatorIsAConnectionProblem) {
  TestServer server(nettest::replyAndClose("HTTP/1.0 200 OK\r\n230\r\n"));
  EXPECT_EQ(net::checkForUpdate(server.url()), UpdateOutcome::ConnectionProblem);
}

TEST(UpdateCheck, ReplyInSeveralPiecesIsReadWhole) {
  TestServer server([](Session& s) {
    for (const char* piece : {"HTTP/1.0 200 OK\r\n", "Server: test\r\n\r", "\n", "2", "31\r\n"}) {
      if (!s.send(piece)) break;
      s.pause(150ms);
    }
    return false;
  });
  EXPECT_EQ(net::fetchVersionText(server.url(), QString()), QStringLiteral("231"));
}

TEST(UpdateCheck, SendsTheExactRequest) {
  TestServer server(nettest::replyAndClose(withHeader("221")));
  const UpdateUrlOverride override(server.url());
  EXPECT_EQ(net::updateInformationUrl(), server.url());
  EXPECT_EQ(net::checkForUpdate(), UpdateOutcome::NewUpdate);
  EXPECT_EQ(server.request(),
            "GET /files/quillet.dat HTTP/1.0\r\n"
            "Host: 127.0.0.1\r\n"
            "Accept: */*\r\n"
            "User-Agent: Lumavane JPG to HDR 2.2\r\n"
            "Connection: close\r\n\r\n");
}

TEST(UpdateCheck, EmptyAgentSendsTheDefaultAgentAndEmptyPathSendsSlash) {
  TestServer server(nettest::replyAndClose(withHeader("230")));
  EXPECT_EQ(net::fetchVersionText(QStringLiteral("http://127.0.0.1:%1").arg(server.port()), QString()),
            QStringLiteral("230"));
  EXPECT_EQ(server.request(),
            "GET / HTTP/1.0\r\n"
            "Host: 127.0.0.1\r\n"
            "Accept: */*\r\n"
            "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; en)\r\n"
            "Connection: close\r\n\r\n");
}

TEST(UpdateCheck, HostNamesAreResolved) {
  // "localhost" may resolve to ::1 first; the server listens on 127.0.0.1 only.
  TestServer server(nettest::replyAndClose(withHeader("230")));
  EXPECT_EQ(net::fetchVersionText(QStringLiteral("http://localhost:%1/v?x=1").arg(server.port()),
                                  QStringLiteral("agent")),
            QStringLiteral("230"));
  const std::string start = "GET /v?x=1 HTTP/1.0\r\nHost: localhost\r\nAccept: */*\r\nUser-Agent: agent\r\n";
  EXPECT_EQ(server.request().substr(0, start.size()), start);
}

TEST(UpdateCheck, UnusableUrlsGiveAnEmptyResultWithoutConnecting) {
  TestServer server(nettest::replyAndClose(withHeader("230")));
  const QString port = QString::number(server.port());
  for (const QString& url :
       {QString(), QStringLiteral("127.0.0.1:%1/files/quillet.dat").arg(port),
        QStringLiteral("https://127.0.0.1:%1/").arg(port), QStringLiteral("ftp://127.0.0.1:%1/").arg(port),
        QStringLiteral("http://"), QStringLiteral("http://:%1/").arg(port),
        QStringLiteral("http://127.0.0.1:x/"), QStringLiteral("http://127.0.0.1:0/"),
        QStringLiteral("http://127.0.0.1:99999/")}) {
    EXPECT_EQ(net::fetchVersionText(url, QString(), 2s), QString()) << url.toStdString();
  }
  const UpdateUrlOverride override(QStringLiteral("not a url"));
  EXPECT_EQ(net::checkForUpdate(), UpdateOutcome::ConnectionProblem);
  server.stop();
  EXPECT_FALSE(server.accepted());
}

TEST(UpdateCheck, ParsesUrls) {
  struct Case {
    const char* url;
    const char* host;
    const char* path;
    uint16_t port;
  };
  for (const Case& c : {Case{"http://www.lumavane.example/files/quillet.dat", "www.lumavane.example",
                             "/files/quillet.dat", 80},
                        Case{"http://Example.org:8080/a/b.dat", "example.org", "/a/b.dat", 8080},
                        Case{"HTTP://example.org", "example.org", "/", 80},
                        Case{"http://example.org:81?q=1", "example.org", "/?q=1", 81},
                        Case{"http://[::1]:8000/x", "::1", "/x", 8000},
                        Case{"http://example.org/a b", "example.org", "/a%20b", 80}}) {
    const std::optional<net::HttpTarget> target = net::parseHttpUrl(QString::fromUtf8(c.url));
    ASSERT_TRUE(target) << c.url;
    EXPECT_EQ(target->host, QString::fromUtf8(c.host)) << c.url;
    EXPECT_EQ(target->path, QString::fromUtf8(c.path)) << c.url;
    EXPECT_EQ(target->port, c.port) << c.url;
  }
  for (const char* bad : {"", "www.lumavane.example/files/quillet.dat", "file:///etc/passwd", "http://",
                          "http://host:65536/", "http://host:-1/", "mailto:support@lumavane.example"}) {
    EXPECT_FALSE(net::parseHttpUrl(QString::fromUtf8(bad))) << bad;
  }
}

TEST(UpdateCheck, ClosedPortIsAConnectionProblem) {
  const ClosedPort closed;
  EXPECT_EQ(net::checkForUpdate(QStringLiteral("http://127.0.0.1:%1/files/quillet.dat").arg(closed.port())),
            UpdateOutcome::ConnectionProblem);
}

TEST(UpdateCheck, UnresolvableNameIsAConnectionProblem) {
  EXPECT_EQ(net::checkForUpdate(QStringLiteral("http://www.lumavane.example/files/quillet.dat"), 1s),
            UpdateOutcome::ConnectionProblem);
}

TEST(UpdateCheck, SilentServerEndsEmptyAtTheDefaultLimit) {
  TestServer server(nettest::silentUntilClientCloses());
  EXPECT_EQ(net::fetchVersionText(server.url(), QString()), QString());
  EXPECT_TRUE(server.accepted());
  EXPECT_TRUE(server.clientClosedFirst());
}

TEST(UpdateCheck, TricklingServerThatNeverClosesEndsAtTheLimit) {
  // One byte every 20 ms and never a close: what arrived by the deadline is parsed.
  TestServer server([](Session& s) {
    const std::string reply = withHeader("230\n");
    for (std::size_t i = 0; s.running(); ++i) {
      if (!s.send(std::string_view(i < reply.size() ? &reply[i] : " ", 1))) return s.running();
      s.pause(20ms);
    }
    return false;
  });
  EXPECT_EQ(net::fetchVersionText(server.url(), QString(), 2s), QStringLiteral("230"));
  EXPECT_TRUE(server.clientClosedFirst());
}

TEST(UpdateCheck, EndlessStreamsEndCleanly) {
  struct Case {
    std::string start;
    std::string repeated;
    QString text;
  };
  const std::string highBytes = "\x80\x9f\xa0\xff";
  const Case cases[] = {
      {kHeader, "7", "777"},             // fills the buffer, no second separator
      {"HTTP/1.0 200 OK\r\n", "x", ""},  // never a separator
      {kHeader, highBytes, QString::fromLatin1(highBytes.substr(0, 3))},  // binary, never a zero
      {kHeader, std::string("\r\n\r\n", 4), ""},                          // separators only
  };
  for (const Case& c : cases) {
    TestServer server([&c](Session& s) {
      if (!s.send(c.start)) return s.running();
      while (s.send(c.repeated)) {
      }
      return s.running();
    });
    EXPECT_EQ(net::fetchVersionText(server.url(), QString(), 3s), c.text);
    EXPECT_TRUE(server.clientClosedFirst());
  }
}

TEST(UpdateCheck, BinaryRepliesAreParsedUpToTheFirstZeroByte) {
  struct Case {
    std::string reply;
    QString text;
  };
  const Case cases[] = {
      {withHeader(std::string("2\0"
                              "30",
                              4)),
       "2"},
      {std::string("\0HTTP/1.0 200 OK\r\n\r\n230", 23), ""},
      {withHeader("\xff\xfe\x01"), QString::fromLatin1("\xff\xfe\x01")},
      {withHeader(std::string(3000, '5')), "555"},  // longer than the buffer
  };
  for (const Case& c : cases) {
    TestServer server(nettest::replyAndClose(c.reply));
    EXPECT_EQ(net::fetchVersionText(server.url(), QString()), c.text);
  }
}

TEST(ParseVersionReply, TakesTheTrimmedBodyBetweenSeparators) {
  struct Case {
    QByteArray reply;
    QString text;
  };
  const Case cases[] = {
      {"HTTP/1.0 200 OK\r\n\r\n230\n", "230"},
      {"H\r\n\r\n \t 42 \r\n\r\nmore\r\n\r\n", "42"},
      {"H\r\n\r\n\r\n\r\n230", ""},
      {"H\r\n\r\n", ""},
      {"H\r\n230", ""},
      {"", ""},
      {"\r\n\r\n12345", "123"},
      {QByteArray("H\r\n\r\n2\0"
                  "31",
                  9),
       "2"},
  };
  for (const Case& c : cases) EXPECT_EQ(net::parseVersionReply(c.reply), c.text) << c.reply.toStdString();
}

TEST(ParseVersionReply, RandomBytesGiveAtMostThreeCharacters) {
  std::mt19937 random(2200);
  std::uniform_int_distribution<int> length(0, 3000), byte(0, 255), pick(0, 9);
  for (int round = 0; round < 2000; ++round) {
    QByteArray reply;
    const int n = length(random);
    for (int i = 0; i < n; ++i) {
      // Mostly separator characters and digits, so that bodies turn up often.
      const int p = pick(random);
      reply.append(p < 3   ? "\r\n"[p % 2]
                   : p < 6 ? static_cast<char>('0' + byte(random) % 10)
                           : static_cast<char>(byte(random)));
    }
    EXPECT_LE(net::parseVersionReply(reply).size(), 3);
  }
}

TEST(VersionNumber, ReadsLikeCDecimal) {
  struct Case {
    const char* text;
    int value;
  };
  for (const Case& c : {Case{"230", 230}, Case{"2.3", 2}, Case{" \t-5", -5}, Case{"+12", 12}, Case{"abc", 0},
                        Case{"", 0}, Case{"-", 0}, Case{"\n230", 0}, Case{"999", 999}}) {
    EXPECT_EQ(net::versionNumber(QString::fromLatin1(c.text)), c.value) << c.text;
  }
  EXPECT_EQ(net::updateOutcome(0), UpdateOutcome::ConnectionProblem);
  EXPECT_EQ(net::updateOutcome(-1), UpdateOutcome::NoUpdate);
  EXPECT_EQ(net::updateOutcome(product::kVersion), UpdateOutcome::NoUpdate);
  EXPECT_EQ(net::updateOutcome(product::kVersion + 1), UpdateOutcome::NewUpdate);
}

TEST(UpdateInformationUrl, DefaultsToTheProductAddress) {
  qunsetenv("QUILLET_UPDATE_URL");
  EXPECT_EQ(net::updateInformationUrl(), QString::fromLatin1(product::kUpdateUrl));
  const UpdateUrlOverride empty{QString()};
  EXPECT_EQ(net::updateInformationUrl(), QString::fromLatin1(product::kUpdateUrl));
}

TEST(PeriodicCheck, IntervalsByRange) {
  const std::pair<int32_t, std::optional<int>> table[] = {
      {0, 1}, {1, 7}, {2, 30}, {3, 90}, {4, 180}, {5, std::nullopt}, {6, 30}, {-1, 30}};
  for (const auto& [range, days] : table) EXPECT_EQ(net::updateIntervalDays(range), days) << range;
}

TEST(PeriodicCheck, DueAfterTheIntervalOnly) {
  const int64_t now = 1700000000;
  const int64_t day = 86400;
  EXPECT_TRUE(net::periodicCheckDue(1, now - 8 * day, now));
  EXPECT_FALSE(net::periodicCheckDue(1, now - 1 * day, now));
  EXPECT_FALSE(net::periodicCheckDue(1, now - 7 * day, now));  // later than, not equal
  EXPECT_TRUE(net::periodicCheckDue(1, now - 7 * day - 1, now));
  EXPECT_TRUE(net::periodicCheckDue(0, now - day - 1, now));
  EXPECT_FALSE(net::periodicCheckDue(5, 0, now));
  EXPECT_FALSE(net::periodicCheckDue(5, now - 1000 * day, now));
  EXPECT_TRUE(net::periodicCheckDue(42, now - 31 * day, now));
  EXPECT_FALSE(net::periodicCheckDue(42, now - 29 * day, now));
}

}  // namespace
