// Theme archives: the registry of available themes and the loading of a theme's images into the
// image sets. A theme is "<gfx folder>/<id>.zip" holding a "theme.cfg" and PNG images.
#pragma once

#include "settings/settings.h"
#include "themes/image_sets.h"

#include <QString>

#include <cstdint>
#include <map>
#include <vector>

namespace themes {

// Available themes: theme id (archive name without ".zip", compared exactly) -> display name.
// Owned by the start-up code, filled once by scanThemes.
struct ThemeRegistry {
  std::map<QString, QString> names;
  QString lastFound;  // the id stored last by the scan; the fallback theme
};

struct ThemeEntry {
  QString id;
  QString name;
};

// Entries larger than this are treated as absent (a guard against damaged or hostile archives).
inline constexpr int64_t kMaxEntryBytes = 16 * 1024 * 1024;

// The theme folder: "gfx/" in the program folder; when that does not exist and the program
// folder is "<prefix>/bin/", the installed data folder "<prefix>/share/quillet/gfx/" if present.
// Always ends with "/".
QString gfxFolder(const QString& programFolder);

// Replaces the registry's content with the "*.zip" files of the folder (in name order, so the
// last-found theme is the last by name). The display name is the "Name" of section "Theme"
// within the first 255 bytes of the archive's theme.cfg; an archive that cannot be opened keeps
// its id as display name. Returns the number of themes found.
int scanThemes(const QString& gfxFolder, ThemeRegistry& registry);

// Overlays the chosen sets with the images of the theme `settings.ui.uiTheme`. When that theme's
// archive is missing and the registry is not empty, `settings.ui.uiTheme` becomes the
// last-found theme. Keys whose image the theme lacks keep their image; an image that cannot be
// decoded empties its slot. Returns true when a theme archive was read; a missing, empty or
// unreadable archive changes no image and returns false.
bool loadTheme(Settings& settings, const ThemeRegistry& registry, const QString& gfxFolder, ImageSets& sets,
               bool bigButtons, bool menuIcons, bool toolbarIcons);

// The themes offered in Preferences: those with a display name, by id ascending without regard
// to letter case, at most 128. A theme's position in this list is its index.
std::vector<ThemeEntry> themeList(const ThemeRegistry& registry);

}  // namespace themes
