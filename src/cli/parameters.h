// The scan of the command-line parameters: option names and values by position, and the
// console state the options fill.
#pragma once

#include "convert/conversion_job.h"
#include "settings/settings.h"

#include <QString>
#include <QStringList>

enum class ScanError {
  None,
  IncorrectParameterCount,  // a missing, empty or dash-prefixed value
  InvalidProfile,           // "--profile=FILE" names a file that cannot be read
};

struct ConsoleState {
  QString inputPath;
  bool quiet = false;
  bool pause = false;
  ScanError error = ScanError::None;  // the first error; the scan stops there
};

// The option name of a parameter, upper-cased: for "--NAME=VALUE" the text before the first
// "=", for "-x" the whole text, otherwise (and past the last parameter) empty.
QString optionName(const QStringList& parameters, int position);

// The value of a parameter, letter case kept: for "--NAME=VALUE" the text after the first "=",
// otherwise the whole parameter; empty past the last parameter.
QString optionValue(const QStringList& parameters, int position);

// Applies every recognised option in order, stopping at the first error. First-parameter
// switches are not options here; unrecognised parameters are ignored.
void scanParameters(const QStringList& parameters, Settings& settings, ConversionJob& job,
                    ConsoleState& state);
