#include "test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace nettest {

namespace {

constexpr int kTick = 20;  // ms between checks of the stop flag
// Even a script that never ends by itself stops here, so a failing test cannot hang the run.
constexpr auto kSafetyLimit = std::chrono::seconds(40);

uint16_t bindLoopback(int fd) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return 0;
  socklen_t length = sizeof address;
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

bool readable(int fd, int timeoutMs) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, timeoutMs) > 0;
}

}  // namespace

bool Session::send(std::string_view bytes) {
  while (!bytes.empty()) {
    if (!running()) return false;
    const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      pollfd p{fd_, POLLOUT, 0};
      ::poll(&p, 1, kTick);
    } else {
      return false;
    }
  }
  return true;
}

void Session::pause(std::chrono::milliseconds wait) {
  const auto end = std::chrono::steady_clock::now() + wait;
  while (running() && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

bool Session::waitForClientClose() {
  char scratch[256];
  while (running()) {
    if (!readable(fd_, kTick)) continue;
    const ssize_t n = ::recv(fd_, scratch, sizeof scratch, MSG_DONTWAIT);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return true;
  }
  return false;
}

TestServer::TestServer(Script script) {
  listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int yes = 1;
  ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  port_ = bindLoopback(listenFd_);
  ::listen(listenFd_, 4);
  thread_ = std::thread([this, s = std::move(script)] { run(s); });
}

TestServer::~TestServer() {
  stop();
  if (listenFd_ >= 0) ::close(listenFd_);
}

void TestServer::stop() {
  stop_ = true;
  finish();
}

void TestServer::finish() {
  if (thread_.joinable()) thread_.join();
}

QString TestServer::url(const QString& path) const {
  return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

std::string TestServer::request() {
  finish();
  return request_;
}

bool TestServer::accepted() {
  finish();
  return accepted_;
}

bool TestServer::clientClosedFirst() {
  finish();
  return clientClosedFirst_;
}

void TestServer::run(Script script) {
  const auto end = std::chrono::steady_clock::now() + kSafetyLimit;
  int fd = -1;
  while (fd < 0 && !stop_ && std::chrono::steady_clock::now() < end) {
    if (readable(listenFd_, kTick)) fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
  }
  if (fd < 0) return;
  accepted_ = true;

  // The request ends with an empty line; the client sends nothing after it.
  char chunk[512];
  while (request_.find("\r\n\r\n") == std::string::npos && !stop_ && std::chrono::steady_clock::now() < end) {
    if (!readable(fd, kTick)) continue;
    const ssize_t n = ::recv(fd, chunk, sizeof chunk, MSG_DONTWAIT);
    if (n <= 0) break;
    request_.append(chunk, static_cast<std::size_t>(n));
  }

  Session session(fd, stop_, end);
  clientClosedFirst_ = script(session);
  ::close(fd);
}

ClosedPort::ClosedPort() {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  port_ = bindLoopback(fd_);
}

ClosedPort::~ClosedPort() {
  if (fd_ >= 0) ::close(fd_);
}

Script replyAndClose(std::string reply) {
  return [reply = std::move(reply)](Session& s) {
    s.send(reply);
    return false;
  };
}

Script silentUntilClientCloses() {
  return [](Session& s) { return s.waitForClientClose(); };
}

}  // namespace nettest
