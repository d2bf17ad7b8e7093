// Single-instance guard: an exclusive lock on a file named after the program and version.
#pragma once

#include <QString>

namespace platform {

class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes the lock named `name` in the runtime folder. False when another process holds it or
  // the lock file cannot be created.
  bool acquire(const QString& name);
  void release();

 private:
  int fd_ = -1;
};

}  // namespace platform
