// The defaults routine: every option field of Settings gets its built-in value.
#pragma once

#include "settings/settings.h"

#include <cstdint>

// Environment the defaults depend on, passed in so that tests can fix it.
struct DefaultsEnvironment {
  int desktopWidth = 0;   // primary desktop size in pixels; 0 when unknown
  int desktopHeight = 0;
  int32_t now = 0;        // current local date value
};

// Default watermark text.
QString defaultWatermarkText();

// Overwrites every option field; leaves `configPath` alone. `consoleMode` only changes
// `Transform/Keep Aspect Ratio` (0 in console mode, 1 otherwise).
void applyDefaults(Settings& settings, bool consoleMode, const DefaultsEnvironment& env);
