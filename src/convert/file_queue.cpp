// Conversion state reset and the FileQueue.
#include "convert/batch.h"
#include "convert/format_tables.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QRandomGenerator>

void resetConversionState(ConversionJob& job, FileQueue& queue) {
  ConversionJob fresh;
  fresh.programFolder = platform::programFolder();
  fresh.randomValue = drawRandomValue();
  fresh.counter = 1;
  fresh.consoleOutputMode = job.consoleOutputMode;
  fresh.resultWidth = job.resultWidth;
  fresh.resultHeight = job.resultHeight;
  fresh.clock = std::move(job.clock);
  fresh.pixelLimit = job.pixelLimit;
  job = std::move(fresh);
  queue.clear();
  buildFormatTables();
}

int32_t drawRandomValue() { return static_cast<int32_t>(QRandomGenerator::global()->bounded(1, 100000)); }

QString relativeSubfolder(const QString& path, const QString& baseFolder) {
  if (path.isEmpty() || baseFolder.isEmpty()) return {};
  QString folder = platform::folderOf(path);
  if (!folder.contains(baseFolder)) return {};
  return folder.remove(baseFolder);
}

AddInputOutcome addInputFile(const QString& path, const ConversionJob& job, FileQueue& queue) {
  if (platform::fileSize(path) == 0 || !isAcceptedInputPath(path)) return {};
  queue.clear();
  queue[path] = FileQueueEntry{1, relativeSubfolder(path, job.baseInputFolder)};
  AddInputOutcome outcome;
  outcome.queued = true;
  outcome.defaultOutputFolder =
      job.baseInputFolder.isEmpty() ? platform::folderOf(path) : job.baseInputFolder;
  return outcome;
}

void queueInputForStart(const QString& inputText, FileQueue& queue) {
  queue.clear();
  const QString path = inputText.trimmed();
  if (platform::fileSize(path) != 0 && isAcceptedInputPath(path)) queue[path] = FileQueueEntry{1, QString()};
}
