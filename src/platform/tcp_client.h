// A small TCP client with time limits: connect (name resolution included), send, wait, receive.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

using Deadline = std::chrono::steady_clock::time_point;

// A connected, non-blocking TCP socket. Closes its descriptor when it goes.
class TcpConnection {
 public:
  TcpConnection() = default;
  explicit TcpConnection(int fd) : fd_(fd) {}
  ~TcpConnection();
  TcpConnection(TcpConnection&& other) noexcept;
  TcpConnection& operator=(TcpConnection&& other) noexcept;
  TcpConnection(const TcpConnection&) = delete;
  TcpConnection& operator=(const TcpConnection&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  int descriptor() const { return fd_; }
  void close();

 private:
  int fd_ = -1;
};

// Resolves `host` and connects to it on `port`. Gives up at `deadline`, even when the name
// resolution itself hangs. A closed connection on any failure.
TcpConnection tcpConnect(const std::string& host, uint16_t port, Deadline deadline);

// Sends every byte before `deadline`. False on an error, a closed peer or the deadline.
bool tcpSendAll(const TcpConnection& connection, std::string_view bytes, Deadline deadline);

// Waits up to `wait` until something can be read: data, the peer's close, or an error.
bool tcpWaitReadable(const TcpConnection& connection, std::chrono::milliseconds wait);

enum class ReceiveStatus { Data, NoData, Closed, Failed };

// Reads what is available, at most `capacity` bytes, without blocking. `*received` is the byte
// count when the status is Data, else 0.
ReceiveStatus tcpReceive(const TcpConnection& connection, char* buffer, std::size_t capacity,
                         std::size_t* received);

}  // namespace platform
