// Console facility: whole lines on standard output and standard error, and the exit pause.
#pragma once

#include <QString>

namespace platform {

// Writes one line (UTF-8) to standard output and flushes it.
void printLine(const QString& line);

// Writes one line (UTF-8) to standard error.
void printErrorLine(const QString& line);

// Waits for one key on a terminal; without a terminal, for one byte or the end of input.
void waitForKey();

}  // namespace platform
