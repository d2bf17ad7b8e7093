// The worker and a caller that polls it as the progress dialog does, with real conversions: a
// whole run, a stop request and a break question (hold, then No or Yes). Run under
// ThreadSanitizer by scripts/tsan; in other builds they check the progress protocol.
#include "convert/batch.h"
#include "convert/pipeline.h"
#include "test_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using namespace testing_support;

class WorkerThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
      const QString path = dir_.path() + QLatin1Char('/') + QString::fromLatin1(name);
      ASSERT_TRUE(QFile::copy(cheetahPath(), path));
      queue_[path] = FileQueueEntry{};
    }
    job_ = hdrJob(QString(), dir_.path() + QLatin1Char('/'));
  }

  // Polls like the dialog's timer until the worker has ended; the counts never go back.
  void pollUntilEnd(ConversionWorker& worker, int32_t* lastSeen) {
    while (worker.isRunning()) {
      const ConversionWorker::Progress progress = worker.progress();
      EXPECT_GE(progress.processedCount, *lastSeen);
      *lastSeen = progress.processedCount;
      if (progress.processedCount > 0) {
        EXPECT_EQ(queue_.count(progress.currentFile), 1u);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    worker.wait();
  }

  QTemporaryDir dir_;
  Settings settings_ = defaultSettings();
  ConversionJob job_;
  FileQueue queue_;
};

TEST_F(WorkerThreads, AWholeRunWhilePolled) {
  ConversionWorker worker(settings_, job_, queue_);
  worker.start();
  int32_t seen = 0;
  pollUntilEnd(worker, &seen);
  EXPECT_EQ(worker.progress().processedCount, 3);
  EXPECT_EQ(worker.convertedCount(), 3);
}

TEST_F(WorkerThreads, AStopRequestWhilePolled) {
  ConversionWorker worker(settings_, job_, queue_);
  worker.start();
  while (worker.isRunning() && worker.progress().processedCount == 0) std::this_thread::yield();
  worker.requestStop();
  int32_t seen = 0;
  pollUntilEnd(worker, &seen);
  // The file in work when the stop came is finished; no other starts.
  EXPECT_GE(worker.progress().processedCount, 1);
  EXPECT_EQ(worker.convertedCount(), worker.progress().processedCount);
}

TEST_F(WorkerThreads, ABreakQuestionAnsweredNoThenYes) {
  ConversionWorker worker(settings_, job_, queue_);
  worker.start();
  // First question, answered No: the run goes on.
  worker.hold();
  const bool heldFirst = worker.waitUntilHeld();
  const int32_t atFirstQuestion = worker.progress().processedCount;
  if (heldFirst) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(worker.progress().processedCount, atFirstQuestion);  // nothing new started
  }
  worker.release();
  // Second question, answered Yes: stop, then let the worker see it.
  worker.hold();
  worker.waitUntilHeld();
  worker.requestStop();
  worker.release();
  int32_t seen = 0;
  pollUntilEnd(worker, &seen);
  EXPECT_EQ(worker.convertedCount(), worker.progress().processedCount);
  EXPECT_LE(worker.progress().processedCount, 3);
}

}  // namespace
