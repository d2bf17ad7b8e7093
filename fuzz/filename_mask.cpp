// Fuzzes the filename mask: any mask, input name and extension expand without a fault, the path
// always starts with the output folder, and a mask without "%" is only lower-cased.
#include "fuzz_support.h"

#include "convert/naming.h"

namespace {

// File names on Linux hold at most 255 bytes; the mask may be as long as a command-line
// parameter (128 KiB).
constexpr qsizetype kMaxNameBytes = 255;

std::tm fixedTime() {
  std::tm time{};
  time.tm_year = 124;
  time.tm_mon = 1;
  time.tm_mday = 29;
  time.tm_hour = 23;
  time.tm_min = 5;
  time.tm_sec = 9;
  return time;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // mask \0 input file name \0 output extension \0 counter digits
  const QList<QString> fields = fuzz::splitFields(fuzz::bytesOf(data, size), 4);
  Settings settings;
  settings.advanced.filenameMask = fields[0];
  settings.advanced.keepSubfolders = fields[3].size() % 2;
  ConversionJob job;
  job.outputFolder = QStringLiteral("/out/");
  job.relativeSubfolder = QStringLiteral("sub/");
  QString name = fields[1];
  name.remove(QLatin1Char('/'));
  while (name.toUtf8().size() > kMaxNameBytes) name.chop(1);
  job.inputPath = QStringLiteral("/in/") + name;
  job.outputExtension = fields[2].left(16);
  job.counter = fields[3].toInt();
  job.randomValue = 99999;
  job.resultWidth = 65535;
  job.resultHeight = -1;
  job.outputBpp = 96;
  job.clock = fixedTime;

  const QString path = expandMask(settings, job);
  FUZZ_CHECK(path.startsWith(job.outputFolder));
  if (!settings.advanced.filenameMask.contains(QLatin1Char('%')) &&
      !settings.advanced.filenameMask.isEmpty()) {
    const QString expected = job.outputFolder +
                             (settings.advanced.keepSubfolders ? job.relativeSubfolder : QString()) +
                             settings.advanced.filenameMask.toLower();
    FUZZ_CHECK(path == expected);
  }
  for (const QString& token : maskTokens()) (void)expandToken(fields[0], token, job);
  (void)expandToken(fields[0], fields[2], job);
  return 0;
}
