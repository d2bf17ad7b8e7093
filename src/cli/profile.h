// Profile files: the [CLI] group of a key-value file whose keys are long option names.
#pragma once

#include "settings/settings.h"

#include <QString>

// Applies the profile's options to the settings. False when the path is empty or the file
// cannot be opened; a file without a [CLI] group counts as read.
bool loadProfile(const QString& path, Settings& settings);
