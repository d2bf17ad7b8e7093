// Test helper: the resident memory of this process, for checks that memory stays flat.
#pragma once

#include <unistd.h>

#include <cstdio>

// The sanitizers keep freed memory and history, so their builds run the measured work (for
// ThreadSanitizer and LeakSanitizer) without judging the resident memory.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kMemoryMeasured = false;
#else
inline constexpr bool kMemoryMeasured = true;
#endif

// Resident memory of this process in kilobytes; -1 when /proc cannot tell.
inline long residentKb() {
  long pages = 0, resident = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return -1;
  const int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
  std::fclose(statm);
  return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}
