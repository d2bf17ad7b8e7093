// Installed fonts, as the system's font configuration sees them.
#pragma once

#include <QString>

namespace platform {

// True when `family` names an installed face, or a family that the font configuration maps to
// an installed substitute (for example "Arial" to a metric-compatible face). A name that only
// reaches the generic fallback ("sans-serif" and the like) does not count.
bool fontFamilyAvailable(const QString& family);

}  // namespace platform
