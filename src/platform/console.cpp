#include "platform/console.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>

namespace platform {

void printLine(const QString& line) {
  const QByteArray bytes = line.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void printErrorLine(const QString& line) {
  const QByteArray bytes = line.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

void waitForKey() {
  char byte = 0;
  if (!::isatty(STDIN_FILENO)) {
    // One byte or end of input: a script never hangs here.
    [[maybe_unused]] const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
    return;
  }
  termios saved{};
  if (::tcgetattr(STDIN_FILENO, &saved) != 0) return;
  termios raw = saved;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  ::tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  [[maybe_unused]] const ssize_t got = ::read(STDIN_FILENO, &byte, 1);
  ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

}  // namespace platform
