// A one-connection HTTP server on 127.0.0.1 for the update-check tests. It records the request
// bytes it received and then plays a script: a reply in pieces, an endless stream, silence.
#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace nettest {

// What the script can do with the accepted connection.
class Session {
 public:
  Session(int fd, const std::atomic<bool>& stop, std::chrono::steady_clock::time_point end)
      : fd_(fd), stop_(stop), end_(end) {}
  // False once the client has gone (or the server is stopping).
  bool send(std::string_view bytes);
  void pause(std::chrono::milliseconds wait);
  // Waits until the client closes its end; false when the server stopped first.
  bool waitForClientClose();
  // False once the server is stopping or a safety limit has passed, so no script runs forever.
  bool running() const { return !stop_ && std::chrono::steady_clock::now() < end_; }

 private:
  int fd_;
  const std::atomic<bool>& stop_;
  std::chrono::steady_clock::time_point end_;
};

// The script returns true when it saw the client close the connection before it ended itself.
using Script = std::function<bool(Session&)>;

class TestServer {
 public:
  explicit TestServer(Script script);
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  uint16_t port() const { return port_; }
  QString url(const QString& path = QStringLiteral("/files/quillet.dat")) const;

  // Ends the session early (the server stops waiting for a connection or for the client).
  void stop();

  // Waits for the session to end, then tells what happened.
  std::string request();
  bool accepted();
  bool clientClosedFirst();

 private:
  void run(Script script);
  void finish();

  int listenFd_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::string request_;
  bool accepted_ = false;
  bool clientClosedFirst_ = false;
};

// A port on 127.0.0.1 that refuses connections (bound, never listening) while it lives.
class ClosedPort {
 public:
  ClosedPort();
  ~ClosedPort();
  ClosedPort(const ClosedPort&) = delete;
  ClosedPort& operator=(const ClosedPort&) = delete;
  uint16_t port() const { return port_; }

 private:
  int fd_ = -1;
  uint16_t port_ = 0;
};

// Scripts used by several tests.
Script replyAndClose(std::string reply);
Script silentUntilClientCloses();

}  // namespace nettest
