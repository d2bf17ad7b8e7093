// Process entry.
#include "app/graphical_mode.h"
#include "i18n/product.h"
#include "i18n/string_table.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/paths.h"

#include <cstring>

int main(int argc, char** argv) {
  Settings settings;
  ConversionJob job;
  FileQueue queue;
  StringTable strings;
  themes::ImageSets images;
  themes::ThemeRegistry themeRegistry;

  platform::InstanceLock lock;
  if (!lock.acquire(product::fullTitle())) return 0;

  if (argc > 1 && (std::strcmp(argv[1], "-v") == 0 || std::strcmp(argv[1], "--version") == 0)) {
    platform::printLine(product::versionText(product::kVersion));
    return 0;
  }

  QString folder = platform::userConfigFolder() + QString::fromLatin1(product::kVendor) + QLatin1Char('/');
  platform::makeFolder(folder);
  folder += QString::fromLatin1(product::kShortName) + QLatin1Char('/');
  platform::makeFolder(folder);
  settings.configPath = folder + QStringLiteral("config.ini");

  GraphicalRecords records{settings, job, queue, strings, images, themeRegistry};
  return runGraphicalMode(argc, argv, records);
}
