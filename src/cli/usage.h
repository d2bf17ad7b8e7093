// The usage text of "-h" and the version line of "-v".
#pragma once

#include <QString>
#include <QStringList>

// The usage lines; `programName` is the executable's file name. Blank lines hold one space.
QStringList usageLines(const QString& programName);

// The executable's file name as the usage text shows it, from the first program argument.
QString programNameFrom(const char* argument0);
