#include "platform/files.h"

#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

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

QString createUniqueFile(const QString& folder, const QString& prefix) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString path = folder + prefix + QString::number(QRandomGenerator::global()->generate64(), 36) +
                         QStringLiteral(".tmp");
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      ::close(fd);
      return path;
    }
    if (errno != EEXIST) break;
  }
  return {};
}

bool replaceFile(const QString& source, const QString& target) {
  const QByteArray targetName = QFile::encodeName(target);
  struct stat info {};
  if (::stat(targetName.constData(), &info) == 0) {
    // Opening without truncating changes nothing, and fails exactly where a direct write would.
    const int fd = ::open(targetName.constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    if (::chmod(QFile::encodeName(source).constData(), info.st_mode & 07777) != 0) return false;
  }
  return std::rename(QFile::encodeName(source).constData(), targetName.constData()) == 0;
}

bool removeFile(const QString& path) { return ::unlink(QFile::encodeName(path).constData()) == 0; }

}  // namespace platform
