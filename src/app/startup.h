// Start-up steps shared by both modes: the instance lock's name and the settings folder.
#pragma once

#include <QString>
#include <QStringList>

// Name of the single-instance lock: the title with the version.
QString instanceLockName();

// The per-user settings folder: `base` (the user's configuration folder), then "Lumavane/",
// then "quillet/", each level created when missing. An empty base leaves the folders to be
// formed from "/" alone. Returns the folder with a trailing "/" whether or not creation worked.
QString resolveSettingsFolder(const QString& base);

// The settings folder under the user's configuration folder.
QString resolveSettingsFolder();

// "config.ini" in the settings folder.
QString configFilePath(const QString& settingsFolder);

// The file a desktop's "Open With" hands to a graphical start: the only parameter, when it does
// not begin with "-" and names an existing file, as an absolute path; otherwise "". The window
// then opens with it as its input, as if it had been dropped there.
QString fileToOpen(const QStringList& parameters);
