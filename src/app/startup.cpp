#include "app/startup.h"

#include "i18n/product.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QFileInfo>

QString instanceLockName() { return product::fullTitle(); }

QString resolveSettingsFolder(const QString& base) {
  QString folder = base.trimmed();
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  for (const char* level : {product::kVendor, product::kShortName}) {
    folder += QString::fromLatin1(level) + QLatin1Char('/');
    // A failed creation is noticed later: loading falls back to defaults, saving fails.
    if (!platform::isFolder(folder)) platform::makeFolder(folder);
  }
  return folder;
}

QString resolveSettingsFolder() { return resolveSettingsFolder(platform::userConfigFolder()); }

QString configFilePath(const QString& settingsFolder) {
  return settingsFolder + QStringLiteral("config.ini");
}

QString fileToOpen(const QStringList& parameters) {
  if (parameters.size() != 1) return QString();
  const QString& path = parameters.first();
  if (path.isEmpty() || path.startsWith(QLatin1Char('-')) || platform::fileSize(path) < 0) return QString();
  return QFileInfo(path).absoluteFilePath();
}
