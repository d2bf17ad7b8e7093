// File queries and file dates.
#pragma once

#include <QString>

#include <cstdint>

namespace platform {

// Size of a regular file in bytes; -1 when the path is missing or is a folder.
int64_t fileSize(const QString& path);

bool isFolder(const QString& path);

// Modification time as seconds since 1970-01-01 UTC; false when the file cannot be read.
bool modificationTime(const QString& path, int64_t* secondsUtc);

// Sets only the modification time (the access time stays). False on failure.
bool setModificationTime(const QString& path, int64_t secondsUtc);

// Creates one folder level; true when it exists afterwards.
bool makeFolder(const QString& path);

// Creates a new, empty file with a unique name beginning with `prefix` in `folder` ("" for the
// current folder), with the permissions a new file normally gets. Its path, or "" on failure.
QString createUniqueFile(const QString& folder, const QString& prefix);

// Moves `source` over `target` in one step, so that readers see the old or the new file, never
// a half-written one. Refuses when `target` exists but could not be opened for writing (as a
// direct write would fail); a replaced target keeps its permission bits.
bool replaceFile(const QString& source, const QString& target);

// Removes a file; false when it could not be removed.
bool removeFile(const QString& path);

}  // namespace platform
