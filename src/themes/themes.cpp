#include "themes/themes.h"

#include "platform/files.h"
#include "platform/paths.h"
#include "themes/theme_config.h"
#include "themes/zip_reader.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>

#include <algorithm>

namespace themes {

namespace {
const QString kConfigEntry = QStringLiteral("theme.cfg");
const QString kArchiveSuffix = QStringLiteral(".zip");
constexpr int64_t kNamePrefixBytes = 255;
constexpr int64_t kMaxImagePixels = 4096 * 4096;
constexpr size_t kMaxListedThemes = 128;

// An id comes from a file name in the theme folder, so it never holds a separator; a configured
// id that does would reach outside that folder and is treated as a missing theme.
QString archivePath(const QString& gfxFolder, const QString& id) {
  if (id.contains(QLatin1Char('/'))) return {};
  return gfxFolder + id + kArchiveSuffix;
}

// Image name rule: a value naming a ".png" is the entry name itself; otherwise the entry name is
// the value, "_", the size text and ".png".
QString entryName(const QString& value, const QString& sizeText) {
  if (value.toLower().contains(QStringLiteral(".png"))) return value;
  return value + QLatin1Char('_') + sizeText + QStringLiteral(".png");
}

// Decodes PNG data only; anything else, or an absurdly large picture, gives a null image.
QImage decodePng(const QByteArray& data) {
  static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
  if (!data.startsWith(signature)) return {};
  QBuffer buffer;
  buffer.setData(data);
  if (!buffer.open(QIODevice::ReadOnly)) return {};
  QImageReader reader(&buffer, "png");
  reader.setAutoDetectImageFormat(false);
  reader.setDecideFormatFromContent(false);
  const QSize size = reader.size();
  if (!size.isValid() || static_cast<int64_t>(size.width()) * size.height() > kMaxImagePixels) return {};
  return reader.read();
}

// A slot to fill from the archive.
struct Target {
  ImageSet* set;
  QString key;
};

// First pass: the usable entries (size above 0 and within the limit, first of a name wins) and
// the text of theme.cfg. False when the archive cannot be opened.
bool listArchive(const QString& path, std::map<QString, int64_t>* entries, QString* config) {
  ZipReader zip;
  if (!zip.open(path)) return false;
  ZipEntry entry;
  while (zip.nextEntry(&entry)) {
    if (entry.size == 0 || entry.size > kMaxEntryBytes || entries->count(entry.name) != 0) continue;
    entries->emplace(entry.name, entry.size);
    if (entry.name == kConfigEntry) {
      QByteArray bytes;
      if (zip.readAll(&bytes, kMaxEntryBytes)) *config = decodeThemeText(bytes);
    }
  }
  return true;
}
}  // namespace

QString gfxFolder(const QString& programFolder) {
  const QString folder = platform::withTrailingSeparator(programFolder);
  const QString beside = folder + QStringLiteral("gfx/");
  if (platform::isFolder(beside)) return beside;
  const QString bin = QStringLiteral("/bin/");
  if (folder.endsWith(bin)) {
    const QString installed =
        folder.left(folder.size() - bin.size() + 1) + QStringLiteral("share/quillet/gfx/");
    if (platform::isFolder(installed)) return installed;
  }
  return beside;
}

int scanThemes(const QString& gfxFolder, ThemeRegistry& registry) {
  registry.names.clear();
  registry.lastFound.clear();
  const QDir folder(gfxFolder);
  if (gfxFolder.isEmpty() || !folder.exists()) return 0;
  const QStringList files =
      folder.entryList({QStringLiteral("*") + kArchiveSuffix}, QDir::Files | QDir::CaseSensitive, QDir::Name);
  for (const QString& file : files) {
    const QString id = file.left(file.size() - kArchiveSuffix.size());
    QString name = id;
    const QString path = folder.filePath(file);
    ZipReader zip;
    if (platform::fileSize(path) > 0 && zip.open(path)) {
      QByteArray prefix;
      ZipEntry entry;
      while (zip.nextEntry(&entry)) {
        if (entry.name != kConfigEntry) continue;
        prefix = zip.readPrefix(kNamePrefixBytes);
        break;
      }
      name = readThemeValue(decodeThemeText(prefix), QStringLiteral("Theme"), QStringLiteral("Name"));
    }
    registry.names[id] = name;
    registry.lastFound = id;
  }
  return static_cast<int>(registry.names.size());
}

bool loadTheme(Settings& settings, const ThemeRegistry& registry, const QString& gfxFolder, ImageSets& sets,
               bool bigButtons, bool menuIcons, bool toolbarIcons) {
  QString path = archivePath(gfxFolder, settings.ui.uiTheme);
  if (platform::fileSize(path) < 0 && !registry.names.empty()) {
    settings.ui.uiTheme = registry.lastFound;
    path = archivePath(gfxFolder, settings.ui.uiTheme);
  }
  if (platform::fileSize(path) <= 0) return false;

  std::map<QString, int64_t> entries;
  QString config;
  if (!listArchive(path, &entries, &config)) return false;

  // Which slots each listed entry fills.
  std::map<QString, std::vector<Target>> wanted;
  const auto choose = [&](ImageSet& set, const QString& section, const QString& sizeText) {
    for (const QString& key : set.keys()) {
      const QString name = entryName(readThemeValue(config, section, key), sizeText);
      if (entries.count(name) != 0) wanted[name].push_back(Target{&set, key});
    }
  };
  const QString smallSize = QStringLiteral("16");
  if (bigButtons) choose(sets.bigButtons, QStringLiteral("Buttons"), smallSize);
  if (menuIcons) choose(sets.menuIcons, QStringLiteral("Icons"), smallSize);
  if (toolbarIcons)
    choose(sets.toolbarIcons, QStringLiteral("Icons"), QString::number(toolbarIconSize(settings.ui.uiSize)));
  if (wanted.empty()) return true;

  // Second pass: decode each wanted entry once. A listed entry that cannot be read or decoded
  // (also when the archive breaks off before it) empties its slots.
  std::map<QString, QImage> decoded;
  ZipReader zip;
  if (zip.open(path)) {
    ZipEntry entry;
    while (decoded.size() < wanted.size() && zip.nextEntry(&entry)) {
      if (entry.size == 0 || entry.size > kMaxEntryBytes) continue;
      if (wanted.count(entry.name) == 0 || decoded.count(entry.name) != 0) continue;
      QByteArray data;
      decoded[entry.name] = zip.readAll(&data, kMaxEntryBytes) ? decodePng(data) : QImage();
    }
  }
  for (const auto& [name, targets] : wanted) {
    const auto found = decoded.find(name);
    const QImage image = found == decoded.end() ? QImage() : found->second;
    for (const Target& target : targets) target.set->setImage(target.key, image);
  }
  return true;
}

std::vector<ThemeEntry> themeList(const ThemeRegistry& registry) {
  std::vector<ThemeEntry> list;
  for (const auto& [id, name] : registry.names)
    if (!name.isEmpty()) list.push_back(ThemeEntry{id, name});
  // The registry is ordered by exact id, so a stable sort keeps ids that differ only in letter
  // case in a fixed order.
  std::stable_sort(list.begin(), list.end(), [](const ThemeEntry& a, const ThemeEntry& b) {
    return QString::compare(a.id, b.id, Qt::CaseInsensitive) < 0;
  });
  if (list.size() > kMaxListedThemes) list.resize(kMaxListedThemes);
  return list;
}

}  // namespace themes
