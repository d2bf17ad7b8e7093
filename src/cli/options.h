// The option table: every switch and option of the command line and of profile files, with the
// kind of value it takes and the setting it writes. Parsing, profiles, the usage text, the man
// page, the manual's option reference and the bash completion all read this one table.
#pragma once

#include "settings/settings.h"

#include <QString>

#include <array>
#include <cstdint>
#include <span>

enum class ValueKind : uint8_t {
  None,     // no value: a switch or flag; any "=..." part is ignored
  Integer,  // decimal, "$" hexadecimal or "%" binary
  Decimal,  // "." decimal point, exponent, Infinity and NaN
  Keyword,  // a word of a keyword list
  Text,
};

enum class OptionRole : uint8_t {
  Setting,     // writes a Settings field
  Input,       // input file
  Output,      // output folder
  Conversion,  // output extension
  Profile,     // reads a profile file
  Debug,
  Quiet,
  Pause,
  // Switches that count only as the first parameter.
  Help,
  Version,
  Uninstall,
  Screenshot,
};

struct OptionSpec {
  std::array<const char*, 3> names;  // upper-case; short forms ("-I") first, long form last
  OptionRole role;
  ValueKind kind;
  const char* target = nullptr;    // setting "Group/Key" written by Setting options
  int8_t keywordList = -1;         // Keyword options
  int8_t flagValue = 1;            // what a flag stores in its target
  const char* alsoSets = nullptr;  // setting "Group/Key" set to alsoValue whenever recognised
  int8_t alsoValue = 1;
  const char* profileName = nullptr;  // key in a profile when it is not the long name
  bool rejoinQuotes = true;           // Text: join a quoted value split over parameters
  bool profileStripsQuotes = false;   // Text in a profile: drop surrounding double quotes
  const char* valueHint = "";         // "FILE", "NUM", ... for help texts
  const char* description = "";       // one line, as the usage text shows it
  const char* details = "";           // further sentences for the man page and the manual
};

std::span<const OptionSpec> optionTable();

// The long form of an option ("--INPUT").
QString longName(const OptionSpec& option);

// True for the switches that count only as the first parameter.
bool isFirstParameterSwitch(const OptionSpec& option);

// The option one of whose names equals `name` (already upper-cased); nullptr when none does.
// First-parameter switches are found only when `firstParameter` is true.
const OptionSpec* findOption(const QString& name, bool firstParameter);

// The Setting option read from a profile under the key `name` (upper-cased); nullptr when none.
const OptionSpec* findProfileOption(const QString& name);

// The text without leading and trailing space characters (tabs stay).
QString trimSpaces(const QString& text);

// The text without any leading or trailing double quotes.
QString withoutSurroundingQuotes(QString text);

// Whole number as options read it: blanks and tabs, a sign, then decimal digits, "$" and
// hexadecimal digits, or "%" and binary digits, up to the first other character. No digits
// give 0; the value keeps its low 32 bits.
int32_t parseOptionInteger(QStringView text);

// Stores `value` in the option's target and its "also sets" target, reading it by the option's
// kind. For flags `value` is ignored. Only for Setting options.
void applySettingOption(const OptionSpec& option, const QString& value, Settings& settings);
