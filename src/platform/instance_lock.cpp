#include "platform/instance_lock.h"

#include "platform/paths.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

InstanceLock::~InstanceLock() { release(); }

bool InstanceLock::acquire(const QString& name) {
  release();
  const QByteArray path = (runtimeFolder() + name + QStringLiteral(".lock")).toLocal8Bit();
  const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void InstanceLock::release() {
  if (fd_ < 0) return;
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

}  // namespace platform
