#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace platform {

namespace {
bool statPath(const QString& path, struct stat* info) {
  if (path.isEmpty()) return false;
  return ::stat(path.toLocal8Bit().constData(), info) == 0;
}
}  // namespace

int64_t fileSize(const QString& path) {
  struct stat info {};
  if (!statPath(path, &info) || S_ISDIR(info.st_mode)) return -1;
  return static_cast<int64_t>(info.st_size);
}

bool isFolder(const QString& path) {
  struct stat info {};
  return statPath(path, &info) && S_ISDIR(info.st_mode);
}

bool modificationTime(const QString& path, int64_t* secondsUtc) {
  struct stat info {};
  if (!statPath(path, &info)) return false;
  *secondsUtc = static_cast<int64_t>(info.st_mtim.tv_sec);
  return true;
}

bool setModificationTime(const QString& path, int64_t secondsUtc) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(secondsUtc);
  times[1].tv_nsec = 0;
  return ::utimensat(AT_FDCWD, path.toLocal8Bit().constData(), times, 0) == 0;
}

bool makeFolder(const QString& path) {
  if (::mkdir(path.toLocal8Bit().constData(), 0755) == 0) return true;
  return errno == EEXIST && isFolder(path);
}

}  // namespace platform
