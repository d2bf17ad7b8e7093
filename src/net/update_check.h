// Update check: fetches the newest version number from the product's web server and decides
// what to tell the user. Knows no window; the user interface turns the outcomes into boxes.
#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstdint>
#include <optional>

namespace net {

// How long the exchange with the server may take once the request is sent. Name resolution and
// the connection have a limit of the same length of their own.
inline constexpr std::chrono::milliseconds kFetchTimeLimit{10000};

// Sent when the caller passes no user agent.
inline constexpr char kDefaultUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; en)";

// Size of the receive buffer: the reply is read up to this many bytes.
inline constexpr int kReplyBufferSize = 2048;

// The parts of a plain "http://" URL that the request needs.
struct HttpTarget {
  QString host;
  QString path;  // begins with "/"; holds the query too when the URL has one
  uint16_t port = 80;
};

// Host, path and port of `url`; nothing when it is not a usable "http://" URL.
std::optional<HttpTarget> parseHttpUrl(const QString& url);

// The first three characters of the trimmed body of `reply`, a raw HTTP reply: the bytes are
// read as single-byte text up to the first zero byte; the body lies between the first and the
// second "\r\n\r\n" (to the end without a second). Empty without a first "\r\n\r\n".
QString parseVersionReply(const QByteArray& reply);

// Sends "GET <path> HTTP/1.0" for `url` and returns parseVersionReply of the reply, or an empty
// text when the URL is unusable or the server cannot be reached. Blocks the calling thread: name
// resolution and connecting are limited to `timeLimit`, and the whole exchange after that ends
// `timeLimit` after the request is sent, however the server behaves (what arrived by then is
// parsed). An empty `userAgent` sends kDefaultUserAgent.
QString fetchVersionText(const QString& url, const QString& userAgent,
                         std::chrono::milliseconds timeLimit = kFetchTimeLimit);

// The update-information URL: the environment variable QUILLET_UPDATE_URL when it is set and
// not empty, else product::kUpdateUrl.
QString updateInformationUrl();

// The number that a version text reads as: leading blanks and tabs skipped, an optional sign,
// then decimal digits up to the first other character. No digits give 0.
int versionNumber(const QString& text);

enum class UpdateOutcome {
  ConnectionProblem,  // the fetched text reads as 0: nothing usable came back
  NoUpdate,           // the server's version is not above this program's
  NewUpdate,          // the server has a newer version
};

// The outcome for a version number read from the server.
UpdateOutcome updateOutcome(int serverVersion);

// The whole check: fetches the version text from `url` with the program's title and version as
// user agent ("Lumavane JPG to HDR 2.2") and returns the outcome. Blocks as fetchVersionText.
//
// The user interface shows:
// - ConnectionProblem: showError with Msg/Internet connection problems
//   ("Internet connection problems!");
// - NoUpdate: showInfo titled Msg/No Update with Msg/No Update Text;
// - NewUpdate: a Yes/No question with a question icon, titled Msg/New Update with
//   Msg/New Update Text; on Yes the shell opens product::kHomepage.
UpdateOutcome checkForUpdate(const QString& url, std::chrono::milliseconds timeLimit = kFetchTimeLimit);
UpdateOutcome checkForUpdate();  // at updateInformationUrl()

// Days between periodic checks for `General/Update Range`: 0 -> 1, 1 -> 7, 2 -> 30, 3 -> 90,
// 4 -> 180, 5 -> nothing (never), any other value -> 30.
std::optional<int> updateIntervalDays(int32_t updateRange);

// Whether the periodic check at start-up is due: never for range 5, otherwise when `now` is
// later than `lastCheck` plus the interval's days of 86400 seconds. `lastCheck` is
// `General/Update Date` and `now` platform::localNow(), both local-time date values.
//
// When it is due the user interface asks with a Yes/No question with a question icon, titled
// Msg/Check for Updates with Msg/Ask check for updates; on Yes it runs checkForUpdate() and shows
// its outcome as above. Whatever the answer, it then sets `General/Update Date` to now (saved
// with the other settings at exit). When it is not due, nothing is asked and the date stays.
bool periodicCheckDue(int32_t updateRange, int64_t lastCheck, int64_t now);

}  // namespace net
