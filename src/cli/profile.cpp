#include "cli/profile.h"

#include "cli/options.h"
#include "settings/key_value_file.h"

bool loadProfile(const QString& path, Settings& settings) {
  if (path.isEmpty()) return false;
  KeyValueReader reader;
  if (!reader.open(path)) return false;
  reader.selectGroup(QStringLiteral("CLI"));
  // Every line counts, in file order, so a key given twice ends with its later value.
  for (const KeyValueReader::Entry& entry : reader.entries()) {
    const OptionSpec* option = findProfileOption(entry.key.trimmed().toUpper());
    if (option == nullptr) continue;
    QString value = entry.value;
    if (option->kind == ValueKind::Text) {
      // Quotes stay part of a profile text, except around the filename mask.
      value = option->profileStripsQuotes ? withoutSurroundingQuotes(value) : trimSpaces(value);
    }
    // Flags set their target whatever their value says.
    applySettingOption(*option, value, settings);
  }
  reader.close();
  return true;
}
