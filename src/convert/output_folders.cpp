// The recent output folders history and what the output folder combo shows of it.
#include "convert/batch.h"

namespace {
const QChar kSeparator = QLatin1Char('\t');
}

bool recordOutputFolder(Settings& settings, const QString& folder) {
  if (folder.isEmpty()) return false;
  const int number = settings.advanced.outFoldersNumber;
  const QStringList old = settings.file.recentOutFolders.split(kSeparator);
  QStringList folders{folder};
  for (int i = 0; i < number && i < old.size() && folders.size() < number; ++i) {
    const QString entry = old[i].trimmed();
    if (!entry.isEmpty() && !folders.contains(entry, Qt::CaseInsensitive)) folders << entry;
  }
  settings.file.recentOutFolders = folders.join(kSeparator);
  return true;
}

bool adoptOutputFolder(Settings& settings, ConversionJob& job, const QString& folder) {
  if (!recordOutputFolder(settings, folder)) return false;
  job.outputFolder = folder;
  return true;
}

std::optional<FolderComboContent> outputFolderCombo(const QString& history, int number,
                                                    const QString& currentFolder) {
  if (history.isEmpty()) return std::nullopt;
  FolderComboContent content;
  const QStringList entries = history.split(kSeparator);
  for (int i = 0; i < number && i < entries.size(); ++i) {
    const QString entry = entries[i].trimmed();
    if (entry.isEmpty()) continue;
    if (entry == currentFolder) content.selected = static_cast<int>(content.entries.size());
    content.entries << entry;
  }
  if (content.entries.isEmpty()) content.selected = -1;
  return content;
}
