// Helpers shared by the fuzz targets.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline QByteArray bytesOf(const uint8_t* data, size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input cut at zero bytes into `count` texts (UTF-8); missing ones are empty.
inline QList<QString> splitFields(const QByteArray& bytes, qsizetype count) {
  QList<QString> fields;
  qsizetype start = 0;
  for (qsizetype i = 0; i < count; ++i) {
    qsizetype end = i + 1 == count ? bytes.size() : bytes.indexOf('\0', start);
    if (end < 0) end = bytes.size();
    fields.append(start < bytes.size() ? QString::fromUtf8(bytes.mid(start, end - start)) : QString());
    start = end + 1;
  }
  return fields;
}

// A file in memory that readers can open by path: the fuzz input is written to it each time,
// so that code reading files runs without touching the disk.
class MemoryFile {
 public:
  MemoryFile() : fd_(memfd_create("quillet-fuzz", 0)) {
    if (fd_ < 0) std::abort();
  }
  ~MemoryFile() { ::close(fd_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  // Replaces the content and returns a path that opens it.
  QString write(const QByteArray& bytes) {
    if (ftruncate(fd_, 0) != 0) std::abort();
    qsizetype done = 0;
    while (done < bytes.size()) {
      const ssize_t n = pwrite(fd_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done), done);
      if (n <= 0) std::abort();
      done += n;
    }
    return QStringLiteral("/proc/self/fd/%1").arg(fd_);
  }

 private:
  int fd_;
};

// A failed check of a fuzz property: aborts so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

}  // namespace fuzz
