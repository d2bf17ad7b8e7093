// The program's date values: seconds since 1970-01-01 00:00:00 counted in local time.
#pragma once

#include <cstdint>
#include <ctime>

namespace platform {

// The current local date and time as a date value.
int64_t localNow();

// Converts between date values (local) and seconds since the epoch in UTC.
int64_t localToUtc(int64_t localSeconds);
int64_t utcToLocal(int64_t utcSeconds);

// Broken-down local time of the current moment.
std::tm localTimeNow();

}  // namespace platform
