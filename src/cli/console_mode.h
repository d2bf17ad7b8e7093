// The console entry: decides from the parameters between the graphical mode, a first-parameter
// switch, a parameter error and a console conversion, and performs the console outcomes.
#pragma once

#include "cli/console_run.h"

#include <QString>
#include <QStringList>

// Exit statuses of the console mode.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // an "Error: ..." line, "Conversion stopped", a second instance
inline constexpr int kExitUsage = 2;    // a command-line error

struct ConsoleEnvironment {
  QString programName;  // the executable's file name, for the usage text
  bool anotherInstanceRunning = false;
};

enum class ConsoleOutcomeKind {
  Graphical,          // no parameters, or none that asks for the console: start the window
  Finished,           // the console work is done; end with exitStatus
  UninstallFeedback,  // "-U": show the uninstall feedback window
  Screenshot,         // "-T": screenshot mode with screenshotTarget
};

struct ConsoleOutcome {
  ConsoleOutcomeKind kind = ConsoleOutcomeKind::Graphical;
  int exitStatus = kExitSuccess;
  QString screenshotTarget;  // the second parameter of "-T"
};

// Runs the console mode for `parameters` (without the program name). With no parameters it
// touches nothing and returns Graphical. Otherwise it builds the format tables, resets the job,
// sets the console defaults and loads the texts, then handles a first-parameter switch or scans
// the options and prints an error or converts. A console start while `anotherInstanceRunning`
// prints "Error: Another instance is running" and finishes with kExitFailure.
ConsoleOutcome runConsoleMode(const QStringList& parameters, const ConsoleEnvironment& environment,
                              ConsoleRecords& records);

// The banner lines before a console run: title with version, notice, homepage, a blank line.
QStringList bannerLines();
