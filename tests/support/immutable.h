// Test helper: the file system's immutable flag on a file or folder for an object's lifetime.
// Then nothing, root included, can change, replace or add to it, so "cannot write" cases hold
// when the tests run as root.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

class Immutable {
 public:
  explicit Immutable(const QString& path) : path_(QFile::encodeName(path)) { applied_ = setFlag(true); }
  ~Immutable() {
    if (applied_) setFlag(false);
  }
  Immutable(const Immutable&) = delete;
  Immutable& operator=(const Immutable&) = delete;

  // False where the file system or the user's rights do not allow the flag.
  bool applied() const { return applied_; }

 private:
  bool setFlag(bool on) const {
    const int fd = ::open(path_.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
      flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
      done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
  }

  QByteArray path_;
  bool applied_ = false;
};
