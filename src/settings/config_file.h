// config.ini: loads Settings from the configuration file and saves them back.
#pragma once

#include "settings/defaults.h"
#include "settings/settings.h"

#include <QByteArray>
#include <QStringList>

// Reads every option field from the file at `settings.configPath` and upgrades older layouts.
// A missing key takes its default (`General/CFG` 0, `Window/X` and `Window/Y` 100); when the
// file cannot be opened the defaults routine runs instead. `env` supplies what the defaults
// depend on. Never fails; `configPath` is left alone.
void loadConfig(Settings& settings, const DefaultsEnvironment& env);

// Writes the settings to `settings.configPath`, replacing the file only once the new one is
// complete. False when it could not be written; an earlier file then stays as it was.
bool saveConfig(const Settings& settings);

// The bytes `saveConfig` writes, with the per-format keys of the given format lists (the
// program's own are `inputFormatList()` and `outputFormatList()`).
QByteArray configFileBytes(const Settings& settings, const QStringList& inputFormats,
                           const QStringList& outputFormats);
