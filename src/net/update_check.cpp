#include "net/update_check.h"

#include "i18n/product.h"
#include "platform/tcp_client.h"
#include "settings/key_value_file.h"

#include <QUrl>

#include <algorithm>
#include <array>

namespace net {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kPollInterval{20};
constexpr char kHeaderEnd[] = "\r\n\r\n";

// Request text is single-byte; line breaks inside a value would split the request.
QByteArray headerValue(const QString& value) {
  QByteArray bytes = value.toLatin1();
  bytes.replace('\r', ' ').replace('\n', ' ');
  return bytes;
}

QByteArray buildRequest(const HttpTarget& target, const QString& userAgent) {
  const QString host = target.host.contains(QLatin1Char(':'))
                           ? QLatin1Char('[') + target.host + QLatin1Char(']')
                           : target.host;
  const QString agent = userAgent.isEmpty() ? QString::fromLatin1(kDefaultUserAgent) : userAgent;
  return "GET " + headerValue(target.path) + " HTTP/1.0\r\n" +  //
         "Host: " + headerValue(host) + "\r\n" +                //
         "Accept: */*\r\n" +                                    //
         "User-Agent: " + headerValue(agent) + "\r\n" +         //
         "Connection: close\r\n\r\n";
}

}  // namespace

std::optional<HttpTarget> parseHttpUrl(const QString& url) {
  const QUrl parsed(url.trimmed(), QUrl::TolerantMode);
  if (!parsed.isValid() || parsed.scheme() != QLatin1String("http")) return std::nullopt;
  HttpTarget target;
  target.host = parsed.host(QUrl::FullyEncoded);
  if (target.host.isEmpty()) return std::nullopt;
  const int port = parsed.port(80);
  if (port < 1 || port > 65535) return std::nullopt;
  target.port = static_cast<uint16_t>(port);
  target.path = parsed.path(QUrl::FullyEncoded);
  if (!target.path.startsWith(QLatin1Char('/'))) target.path.prepend(QLatin1Char('/'));
  if (parsed.hasQuery()) target.path += QLatin1Char('?') + parsed.query(QUrl::FullyEncoded);
  return target;
}

QString parseVersionReply(const QByteArray& reply) {
  const qsizetype zero = reply.indexOf('\0');
  const QByteArray text = zero < 0 ? reply : reply.left(zero);
  const qsizetype first = text.indexOf(kHeaderEnd);
  if (first < 0) return {};
  const qsizetype start = first + 4;
  const qsizetype second = text.indexOf(kHeaderEnd, start);
  const QByteArray body = second < 0 ? text.mid(start) : text.mid(start, second - start);
  return QString::fromLatin1(body.trimmed()).left(3);
}

QString fetchVersionText(const QString& url, const QString& userAgent, std::chrono::milliseconds timeLimit) {
  if (url.isEmpty()) return {};
  const std::optional<HttpTarget> target = parseHttpUrl(url);
  if (!target) return {};

  std::array<char, kReplyBufferSize> buffer{};
  platform::TcpConnection connection =
      platform::tcpConnect(target->host.toStdString(), target->port, Clock::now() + timeLimit);
  if (!connection.isOpen()) return {};

  // One deadline for the whole exchange, so that a server that trickles its reply or never
  // closes cannot hold the caller longer than the limit.
  const Clock::time_point deadline = Clock::now() + timeLimit;
  const QByteArray request = buildRequest(*target, userAgent);
  // A failed send is not final: whatever the server already sent is still read below.
  platform::tcpSendAll(connection, std::string_view(request.constData(), request.size()), deadline);

  std::size_t filled = 0;
  while (filled < buffer.size()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) break;
    if (!platform::tcpWaitReadable(connection, std::min(left, kPollInterval))) continue;
    std::size_t received = 0;
    const platform::ReceiveStatus status =
        platform::tcpReceive(connection, buffer.data() + filled, buffer.size() - filled, &received);
    if (status == platform::ReceiveStatus::Closed || status == platform::ReceiveStatus::Failed) break;
    filled += received;
  }
  connection.close();
  return parseVersionReply(QByteArray(buffer.data(), static_cast<qsizetype>(filled)));
}

QString updateInformationUrl() {
  const QString fromEnvironment = qEnvironmentVariable("QUILLET_UPDATE_URL");
  return fromEnvironment.isEmpty() ? QString::fromLatin1(product::kUpdateUrl) : fromEnvironment;
}

int versionNumber(const QString& text) { return parseDecimalInt(text); }

UpdateOutcome updateOutcome(int serverVersion) {
  if (serverVersion == 0) return UpdateOutcome::ConnectionProblem;
  return serverVersion > product::kVersion ? UpdateOutcome::NewUpdate : UpdateOutcome::NoUpdate;
}

UpdateOutcome checkForUpdate(const QString& url, std::chrono::milliseconds timeLimit) {
  return updateOutcome(versionNumber(fetchVersionText(url, product::fullTitle(), timeLimit)));
}

UpdateOutcome checkForUpdate() { return checkForUpdate(updateInformationUrl()); }

std::optional<int> updateIntervalDays(int32_t updateRange) {
  switch (updateRange) {
    case 0:
      return 1;
    case 1:
      return 7;
    case 2:
      return 30;
    case 3:
      return 90;
    case 4:
      return 180;
    case 5:
      return std::nullopt;
    default:
      return 30;
  }
}

bool periodicCheckDue(int32_t updateRange, int64_t lastCheck, int64_t now) {
  const std::optional<int> days = updateIntervalDays(updateRange);
  if (!days) return false;
  return now > lastCheck + static_cast<int64_t>(*days) * 86400;
}

}  // namespace net
