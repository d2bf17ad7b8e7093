#include "platform/tcp_client.h"

#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

struct AddressListFree {
  void operator()(addrinfo* list) const { freeaddrinfo(list); }
};
using AddressList = std::unique_ptr<addrinfo, AddressListFree>;

// Name resolution shared between the caller and the thread that runs getaddrinfo, which has no
// time limit of its own. Whoever comes last frees the result.
struct Lookup {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  bool abandoned = false;
  addrinfo* result = nullptr;
};

int millisecondsUntil(Deadline deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  if (left.count() <= 0) return 0;
  return left.count() > 60000 ? 60000 : static_cast<int>(left.count());
}

addrinfo hints(int extraFlags) {
  addrinfo h{};
  h.ai_family = AF_UNSPEC;
  h.ai_socktype = SOCK_STREAM;
  h.ai_flags = AI_NUMERICSERV | extraFlags;
  return h;
}

AddressList resolve(const std::string& host, const std::string& service, Deadline deadline) {
  // Numeric addresses need no lookup thread.
  const addrinfo numeric = hints(AI_NUMERICHOST);
  addrinfo* list = nullptr;
  if (getaddrinfo(host.c_str(), service.c_str(), &numeric, &list) == 0) return AddressList(list);

  auto lookup = std::make_shared<Lookup>();
  try {
    std::thread([lookup, host, service] {
      const addrinfo named = hints(0);
      addrinfo* found = nullptr;
      if (getaddrinfo(host.c_str(), service.c_str(), &named, &found) != 0) found = nullptr;
      std::lock_guard<std::mutex> lock(lookup->mutex);
      if (lookup->abandoned) {
        if (found) freeaddrinfo(found);
      } else {
        lookup->result = found;
      }
      lookup->done = true;
      lookup->finished.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return {};
  }

  std::unique_lock<std::mutex> lock(lookup->mutex);
  if (!lookup->finished.wait_until(lock, deadline, [&] { return lookup->done; })) {
    lookup->abandoned = true;
    return {};
  }
  return AddressList(lookup->result);
}

bool waitFor(int fd, short events, int timeoutMs) {
  pollfd p{fd, events, 0};
  for (;;) {
    const int r = ::poll(&p, 1, timeoutMs);
    if (r >= 0) return r > 0;
    if (errno != EINTR) return false;
  }
}

TcpConnection connectTo(const addrinfo& address, Deadline deadline) {
  TcpConnection connection(
      ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, address.ai_protocol));
  if (!connection.isOpen()) return {};
  const int fd = connection.descriptor();
  if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0) return connection;
  if (errno != EINPROGRESS && errno != EINTR) return {};
  if (!waitFor(fd, POLLOUT, millisecondsUntil(deadline))) return {};
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) return {};
  return connection;
}

}  // namespace

TcpConnection::~TcpConnection() { close(); }

TcpConnection::TcpConnection(TcpConnection&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

TcpConnection& TcpConnection::operator=(TcpConnection&& other) noexcept {
  if (this != &other) {
    close();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

void TcpConnection::close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

TcpConnection tcpConnect(const std::string& host, uint16_t port, Deadline deadline) {
  if (host.empty() || port == 0) return {};
  const AddressList addresses = resolve(host, std::to_string(port), deadline);
  for (const addrinfo* a = addresses.get(); a; a = a->ai_next) {
    if (std::chrono::steady_clock::now() >= deadline) break;
    TcpConnection connection = connectTo(*a, deadline);
    if (connection.isOpen()) return connection;
  }
  return {};
}

bool tcpSendAll(const TcpConnection& connection, std::string_view bytes, Deadline deadline) {
  if (!connection.isOpen()) return false;
  while (!bytes.empty()) {
    const ssize_t sent = ::send(connection.descriptor(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      waitFor(connection.descriptor(), POLLOUT, millisecondsUntil(deadline));
      continue;
    }
    return false;
  }
  return true;
}

bool tcpWaitReadable(const TcpConnection& connection, std::chrono::milliseconds wait) {
  if (!connection.isOpen()) return false;
  const auto ms = wait.count() < 0 ? 0 : (wait.count() > 60000 ? 60000 : static_cast<int>(wait.count()));
  return waitFor(connection.descriptor(), POLLIN, ms);
}

ReceiveStatus tcpReceive(const TcpConnection& connection, char* buffer, std::size_t capacity,
                         std::size_t* received) {
  *received = 0;
  if (!connection.isOpen()) return ReceiveStatus::Failed;
  if (capacity == 0) return ReceiveStatus::NoData;
  for (;;) {
    const ssize_t n = ::recv(connection.descriptor(), buffer, capacity, 0);
    if (n > 0) {
      *received = static_cast<std::size_t>(n);
      return ReceiveStatus::Data;
    }
    if (n == 0) return ReceiveStatus::Closed;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return ReceiveStatus::NoData;
    return ReceiveStatus::Failed;
  }
}

}  // namespace platform
