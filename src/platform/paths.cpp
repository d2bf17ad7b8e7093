#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace platform {

QString withTrailingSeparator(const QString& folder) {
  if (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) return folder;
  return folder + QLatin1Char('/');
}

QString folderOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  return slash < 0 ? QString() : path.left(slash + 1);
}

bool isAbsolutePath(const QString& path) { return path.startsWith(QLatin1Char('/')); }

QString programFolder() {
  char buffer[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return currentFolder();
  return folderOf(QString::fromLocal8Bit(buffer, length));
}

QString userConfigFolder() {
  const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME").trimmed();
  if (!xdg.isEmpty() && isAbsolutePath(xdg)) return withTrailingSeparator(xdg);
  const QString home = qEnvironmentVariable("HOME").trimmed();
  if (home.isEmpty()) return QString();
  return withTrailingSeparator(home) + QStringLiteral(".config/");
}

QString runtimeFolder() {
  const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR").trimmed();
  if (!xdg.isEmpty() && QFileInfo(xdg).isDir()) return withTrailingSeparator(xdg);
  return withTrailingSeparator(QDir::tempPath());
}

QString currentFolder() { return withTrailingSeparator(QDir::currentPath()); }

}  // namespace platform
