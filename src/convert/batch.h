// The batch runner: the FileQueue, run preparation and start checks, the output-folder history,
// and the ConversionWorker thread with its shared WorkerStatus.
#pragma once

#include "convert/conversion_job.h"
#include "settings/settings.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

// ---- FileQueue ----

struct FileQueueEntry {
  int32_t marker = 1;
  QString relativeSubfolder;
};

// Input files by full path (case-sensitive), in path order. Holds at most one entry here: every
// successful add replaces the previous one.
using FileQueue = std::map<QString, FileQueueEntry>;

// Initial values of a conversion: a fresh job (program folder, counter 1, a new random value,
// everything else empty or 0) and an empty queue. Keeps the console output mode, the result
// size, the clock and the pixel limit.
void resetConversionState(ConversionJob& job, FileQueue& queue);

// A random value for "%rnd%", 1 to 99999.
int32_t drawRandomValue();

// The path's folder with every occurrence of `baseFolder` removed, when it contains it; empty
// when either is empty or the base does not occur.
QString relativeSubfolder(const QString& path, const QString& baseFolder);

struct AddInputOutcome {
  bool queued = false;
  // The folder a graphical caller adopts as output folder when its output field is empty (the
  // base input folder, else the file's folder); see adoptOutputFolder.
  QString defaultOutputFolder;
};

// Queues `path` as the only entry, unless the file is empty (size 0) or its extension is not an
// accepted input extension. A missing path is queued: it fails later, in the conversion.
AddInputOutcome addInputFile(const QString& path, const ConversionJob& job, FileQueue& queue);

// The graphical start's queue: the trimmed input text as the only entry, when it is not an empty
// file and its extension is accepted; otherwise the queue stays empty.
void queueInputForStart(const QString& inputText, FileQueue& queue);

// ---- Output folders ----

// Puts `folder` first in `File/Recent Out Folders` (TAB-separated, at most
// `Advanced/Out Folders Number` entries, no duplicates ignoring letter case). False for "".
bool recordOutputFolder(Settings& settings, const QString& folder);

// Records `folder` and makes it the job's output folder (adding a path after an empty output
// field). True when the history changed, so the combo needs a refresh.
bool adoptOutputFolder(Settings& settings, ConversionJob& job, const QString& folder);

struct FolderComboContent {
  QStringList entries;
  int selected = 0;
};

// What the output folder combo shows: entries 1 to `number` of the history (trimmed, empty ones
// skipped), selecting the last one equal to `currentFolder`, else the first. Empty (leave the
// combo as it is) when the history text is empty.
std::optional<FolderComboContent> outputFolderCombo(const QString& history, int number,
                                                    const QString& currentFolder);

// ---- Run preparation and start checks ----

// Fills the run's output fields from job.outputExtension: format id, bits per pixel from the
// format's BPP setting, save flags, automatic depth. False when the extension has no output
// format. Both the console run and the graphical start call this; the watermark font is loaded
// separately (loadWatermarkFont).
bool prepareConversionRun(const Settings& settings, ConversionJob& job);

enum class StartProblem {
  None,
  EmptyInput,             // Msg/Empty input files
  EmptyOutputFolder,      // Msg/Empty output folder
  InvalidOutputFolder,    // Msg/Invalid output folder, detail = the folder
  InvalidWidth,           // Msg/Invalid width
  InvalidHeight,          // Msg/Invalid height
  InvalidWatermarkFont,   // Msg/Invalid watermark font, detail = the font name
  EmptyWatermarkImage,    // Msg/Empty watermark image
  InvalidWatermarkImage,  // Msg/Invalid watermark image, detail = the path
};

struct StartCheck {
  StartProblem problem = StartProblem::None;
  QString detail;  // the text for "%s1%", where the message has one

  // The first five problems also set the status text "Conversion stopped".
  bool stopsStatus() const {
    return problem != StartProblem::None && problem != StartProblem::InvalidWatermarkFont &&
           problem != StartProblem::EmptyWatermarkImage && problem != StartProblem::InvalidWatermarkImage;
  }
};

using FontLoader = std::function<std::optional<QFont>(const Settings&)>;

// The graphical start's checks, in order; the first failing one is returned. On success the
// job's output folder is the trimmed field text with a trailing separator, and for a text
// watermark the run's font (from `loadFont`, by default loadWatermarkFont) is in job.watermarkFont.
StartCheck checkConversionStart(const Settings& settings, const FileQueue& queue,
                                const QString& outputFolderText, ConversionJob& job,
                                const FontLoader& loadFont = {});

// ---- ConversionWorker ----

// Values the worker publishes, guarded by `mutex` (one per run).
struct WorkerStatus {
  std::mutex mutex;
  int32_t processedCount = 0;  // 1-based number of the file being converted; 0 before the first
  QString currentFile;
  int32_t convertedCount = 0;  // written once, at the end
  std::atomic<bool> keepRunning{true};
};

using ConvertFunction = std::function<bool(const Settings&, ConversionJob&)>;

// Converts every queued file on its own thread. Settings, job and queue must stay unchanged
// while it runs. One object per run; destroying it stops the run after the current file and
// waits for the thread.
class ConversionWorker {
 public:
  ConversionWorker(const Settings& settings, ConversionJob& job, const FileQueue& queue,
                   ConvertFunction convert = {});
  ~ConversionWorker();
  ConversionWorker(const ConversionWorker&) = delete;
  ConversionWorker& operator=(const ConversionWorker&) = delete;

  void start();
  bool isRunning() const { return started_ && !finished_.load(); }
  // Blocks until the thread has ended.
  void wait();

  // The worker finishes the file it is on (with its date) and starts no other.
  void requestStop();

  // While held, the worker starts no new file (a question to the user is open); the file in
  // progress still completes.
  void hold();
  void release();
  // Blocks until the worker waits at the hold, or has ended. True when it is waiting there.
  bool waitUntilHeld();

  struct Progress {
    int32_t processedCount = 0;
    QString currentFile;
  };
  Progress progress();
  // Files saved successfully; final once the thread has ended.
  int32_t convertedCount();

 private:
  void run();
  bool mayStartNextFile();

  const Settings& settings_;
  ConversionJob& job_;
  const FileQueue& queue_;
  ConvertFunction convert_;
  WorkerStatus status_;

  std::mutex holdMutex_;
  std::condition_variable holdChanged_;
  bool held_ = false;
  bool waitingAtHold_ = false;

  std::thread thread_;
  bool started_ = false;
  std::atomic<bool> finished_{false};
};
