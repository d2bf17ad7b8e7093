// The format tables: writable formats with their FreeImage ids and depths, known input
// extensions by family, save flags and the automatic depth choice.
#pragma once

#include "settings/settings.h"

#include <QString>
#include <QStringList>

#include <cstdint>

struct OutputFormatRow {
  int32_t formatId = 0;  // FreeImage format identifier
  QString extension;
  QString description;
  QString bitDepths;     // "1,4,8,16,24,32"
};

struct InputFormatRow {
  QString family;        // main extension of the family, e.g. "jpg"
  QString description;
};

// Builds the constant tables (once per process, thread-safe); every lookup below does it on first
// use, so callers need not.
void buildFormatTables();

// Lookups by lower-case extension; an unknown extension gives id 0 and empty texts.
OutputFormatRow outputFormat(const QString& extension);
InputFormatRow inputFormat(const QString& extension);
int outputFormatCount();  // 20
int inputFormatCount();   // 79
// Extensions of the OutputFormatTable, ascending.
QStringList outputFormatExtensions();

// Extensions of every InputFormatTable row whose family is in the input-format list.
QStringList acceptedInputExtensions();
// True when the path's extension (lower-cased) is accepted.
bool isAcceptedInputPath(const QString& path);
// The extension of a path's file part: text after the last "."; empty when there is no dot or a
// blank or separator follows it.
QString pathExtension(const QString& path);

// FreeImage save flags for an output extension, from the Output settings.
int32_t saveFlags(const QString& extension, const Settings& settings);

// First depth of the row's list that is >= the input depth, else the last; 0 for no list.
int32_t autoDepth(const QString& extension, int32_t inputBpp);
