#include "platform/clock.h"

namespace platform {

int64_t utcToLocal(int64_t utcSeconds) {
  const time_t t = static_cast<time_t>(utcSeconds);
  std::tm local{};
  localtime_r(&t, &local);
  return utcSeconds + local.tm_gmtoff;
}

int64_t localToUtc(int64_t localSeconds) {
  // Read the local value as broken-down UTC fields, then let mktime apply the zone rules.
  const time_t t = static_cast<time_t>(localSeconds);
  std::tm fields{};
  gmtime_r(&t, &fields);
  fields.tm_isdst = -1;
  return static_cast<int64_t>(mktime(&fields));
}

int64_t localNow() { return utcToLocal(static_cast<int64_t>(time(nullptr))); }

std::tm localTimeNow() {
  const time_t t = time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  return local;
}

}  // namespace platform
