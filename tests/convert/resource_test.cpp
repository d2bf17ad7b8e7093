// Memory over a long session: converting the same file again and again through the engine in
// one process must not grow the resident memory from file to file.
#include "convert/batch.h"
#include "convert/pipeline.h"
#include "support/resident_memory.h"
#include "test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

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
  if (kMemoryMeasured) {
    EXPECT_LT(atFifty - atTen, 4 * 1024);
  }
}

}  // namespace
