// Memory over a long session: converting the same file again and again through the engine in
// one process must not grow the resident memory from file to file.
#include "convert/batch.h"
#include "convert/pipeline.h"
#include "test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>

namespace {

// The sanitizers keep freed memory and history, so their builds run the conversions (for
// ThreadSanitizer and LeakSanitizer) without judging the resident memory.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMeasured = false;
#else
constexpr bool kMeasured = true;
#endif

using namespace testing_support;

// Resident memory of this process in kilobytes.
long residentKb() {
  long pages = 0, resident = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return -1;
  const int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
  std::fclose(statm);
  return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

TEST(Resources, FiftyConversionsInOneProcessDoNotGrowTheMemory) {
  QTemporaryDir dir;
  const Settings settings = defaultSettings();
  long atTen = 0;
  // As the graphical session runs them: one worker thread per conversion.
  ConversionJob job = hdrJob(cheetahPath(), dir.path() + QLatin1Char('/'));
  FileQueue queue;
  queue[cheetahPath()] = FileQueueEntry{};
  for (int i = 1; i <= 50; ++i) {
    ConversionWorker worker(settings, job, queue);
    worker.start();
    worker.wait();
    ASSERT_EQ(worker.convertedCount(), 1) << "conversion " << i;
    if (i == 10) atTen = residentKb();
  }
  const long atFifty = residentKb();
  ASSERT_GT(atTen, 0);
  std::printf("resident memory after 10 conversions: %ld KB, after 50: %ld KB\n", atTen, atFifty);
  // One float image of this sample is 9 MB; a leak of one per file would add 360 MB.
  if (kMeasured) {
    EXPECT_LT(atFifty - atTen, 4 * 1024);
  }
}

}  // namespace
