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

}  // namespace platform
