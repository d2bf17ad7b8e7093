// Fuzzes the command-line scan with any parameters (up to 200), as the console entry hands them
// over, and with profile files: the scan only fills records; it prints nothing and never exits.
#include "fuzz_support.h"

#include "cli/parameters.h"
#include "settings/defaults.h"

#include <QStringList>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qsizetype kMaxParameters = 200;

// Parameters naming the profile "@" read the input's last field instead of a file on disk.
void pointProfilesAtMemory(QStringList& parameters, const QString& profilePath) {
  for (QString& parameter : parameters) {
    const QString trimmed = parameter.trimmed();
    if (trimmed.compare(QStringLiteral("--profile=@"), Qt::CaseInsensitive) == 0) {
      parameter = QStringLiteral("--profile=") + profilePath;
    } else if (trimmed.startsWith(QStringLiteral("--profile="), Qt::CaseInsensitive)) {
      // Other profile paths stay away from the disk and the terminal.
      parameter = QStringLiteral("--profile=/nonexistent/") + trimmed.mid(10, 16);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::MemoryFile profile;
  const QByteArray bytes = fuzz::bytesOf(data, size);
  // Parameters are separated by zero bytes; the text after the last one is the profile.
  QStringList parameters;
  for (const QByteArray& piece : bytes.split('\0')) parameters.append(QString::fromUtf8(piece));
  const QString profileText = parameters.size() > 1 ? parameters.takeLast() : QString();
  while (parameters.size() > kMaxParameters) parameters.removeLast();
  pointProfilesAtMemory(parameters, profile.write(profileText.toUtf8()));

  Settings settings;
  applyDefaults(settings, true, DefaultsEnvironment{1920, 1080, 0});
  ConversionJob job;
  ConsoleState state;
  scanParameters(parameters, settings, job, state);

  // An input path is set only by -i / --input, which also switches the console mode on.
  FUZZ_CHECK(state.inputPath.isEmpty() || job.consoleMode != 0);
  FUZZ_CHECK(!state.inputPath.startsWith(QLatin1Char('"')) && !state.inputPath.endsWith(QLatin1Char('"')));
  for (int position = -1; position <= parameters.size(); ++position) {
    FUZZ_CHECK(optionName(parameters, position) == optionName(parameters, position).toUpper());
    (void)optionValue(parameters, position);
  }
  return 0;
}
