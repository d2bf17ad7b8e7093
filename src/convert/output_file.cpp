#include "convert/output_file.h"

#include "platform/files.h"
#include "platform/paths.h"

#include <QFile>

bool writeReplacing(const QString& target, const std::function<bool(FILE*)>& write) {
  const QString temporary =
      platform::createUniqueFile(platform::folderOf(target), QStringLiteral(".quillet-"));
  if (temporary.isEmpty()) return false;
  bool written = false;
  if (FILE* file = std::fopen(QFile::encodeName(temporary).constData(), "wb")) {
    written = write(file);
    // A write that fails only when the last buffered bytes go out (a full disk) shows here.
    written = std::fflush(file) == 0 && std::ferror(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
  }
  if (written && platform::replaceFile(temporary, target)) return true;
  platform::removeFile(temporary);
  return false;
}
