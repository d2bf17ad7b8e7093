// Where the program lives and where it keeps its per-user files.
#pragma once

#include <QString>

namespace platform {

// Folder of the running executable, with a trailing "/".
QString programFolder();

// The user's configuration folder ($XDG_CONFIG_HOME, else ~/.config), with a trailing "/";
// empty when neither can be found.
QString userConfigFolder();

// Folder for per-session runtime files such as the instance lock ($XDG_RUNTIME_DIR, else the
// temporary folder), with a trailing "/".
QString runtimeFolder();

// The current working directory, with a trailing "/".
QString currentFolder();

// Adds a trailing "/" unless the text already ends with one or is empty.
QString withTrailingSeparator(const QString& folder);

// The folder part of a path, up to and including its last "/"; empty when there is none.
QString folderOf(const QString& path);

// True when the path is absolute on this platform.
bool isAbsolutePath(const QString& path);

}  // namespace platform
