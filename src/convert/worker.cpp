#include "convert/batch.h"
#include "convert/pipeline.h"
#include "platform/clock.h"
#include "platform/console.h"
#include "platform/files.h"

namespace {

// Gives the saved output the date `Advanced/File Timestamp` asks for; a failure is ignored.
void applyFileDate(const Settings& settings, const ConversionJob& job) {
  switch (settings.advanced.fileTimestamp) {
    case 1: {
      int64_t original = 0;
      if (platform::modificationTime(job.inputPath, &original)) {
        platform::setModificationTime(job.outputPath, original);
      }
      break;
    }
    case 2:
      platform::setModificationTime(job.outputPath, platform::localToUtc(settings.advanced.customTimestamp));
      break;
    default:
      break;
  }
}

}  // namespace

ConversionWorker::ConversionWorker(const Settings& settings, ConversionJob& job, const FileQueue& queue,
                                   ConvertFunction convert)
    : settings_(settings), job_(job), queue_(queue), convert_(convert ? std::move(convert) : convertFile) {}

ConversionWorker::~ConversionWorker() {
  requestStop();
  release();
  wait();
}

void ConversionWorker::start() {
  if (started_) return;
  {
    const std::lock_guard lock(status_.mutex);
    status_.processedCount = 0;
    status_.currentFile.clear();
    status_.convertedCount = 0;
    status_.keepRunning = true;
  }
  finished_ = false;
  started_ = true;
  thread_ = std::thread(&ConversionWorker::run, this);
}

void ConversionWorker::wait() {
  if (thread_.joinable()) thread_.join();
}

void ConversionWorker::requestStop() {
  const std::lock_guard lock(status_.mutex);
  status_.keepRunning = false;
}

void ConversionWorker::hold() {
  const std::lock_guard lock(holdMutex_);
  held_ = true;
}

void ConversionWorker::release() {
  {
    const std::lock_guard lock(holdMutex_);
    held_ = false;
  }
  holdChanged_.notify_all();
}

bool ConversionWorker::waitUntilHeld() {
  std::unique_lock lock(holdMutex_);
  holdChanged_.wait(lock, [this] { return waitingAtHold_ || finished_ || !started_; });
  return waitingAtHold_;
}

ConversionWorker::Progress ConversionWorker::progress() {
  const std::lock_guard lock(status_.mutex);
  return {status_.processedCount, status_.currentFile};
}

int32_t ConversionWorker::convertedCount() {
  const std::lock_guard lock(status_.mutex);
  return status_.convertedCount;
}

bool ConversionWorker::mayStartNextFile() {
  std::unique_lock lock(holdMutex_);
  if (held_) {
    waitingAtHold_ = true;
    holdChanged_.notify_all();
    holdChanged_.wait(lock, [this] { return !held_; });
    waitingAtHold_ = false;
  }
  return status_.keepRunning;
}

void ConversionWorker::run() {
  const bool debug = job_.consoleMode != 0 && job_.consoleOutputMode == QLatin1String("DEBUG");
  int32_t processed = 0;
  int32_t converted = 0;
  for (const auto& [path, entry] : queue_) {
    if (!mayStartNextFile()) break;
    ++processed;
    job_.inputPath = path;
    job_.relativeSubfolder = entry.relativeSubfolder;
    {
      const std::lock_guard lock(status_.mutex);
      status_.processedCount = processed;
      status_.currentFile = path;
    }
    if (debug) platform::printLine(QStringLiteral("Processing: ") + path);
    const bool ok = convert_(settings_, job_);
    if (debug) {
      platform::printLine(QStringLiteral("Saving As: ") + job_.outputPath);
      platform::printLine(ok ? QStringLiteral("OK") : QStringLiteral("Not OK"));
    }
    if (ok) {
      ++converted;
      job_.randomValue = drawRandomValue();
      ++job_.counter;
      applyFileDate(settings_, job_);
    }
  }
  {
    const std::lock_guard lock(status_.mutex);
    status_.convertedCount = converted;
  }
  {
    const std::lock_guard lock(holdMutex_);
    finished_ = true;
  }
  holdChanged_.notify_all();
}
