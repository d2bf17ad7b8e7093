#include "i18n/string_table.h"

#include "i18n/builtin_texts.h"
#include "settings/key_value_file.h"

#include <algorithm>

namespace {

constexpr char16_t kSeparator = u'\x0001';  // joins key and text so that a group sorts in one pass

QString upper(const char16_t* text) { return QStringView(text).toString().toUpper(); }

}  // namespace

void StringTable::load(const QString& languageFilePath) {
  const std::span<const BuiltinText> list = builtinTexts();
  const QString groupMarker = QStringLiteral("_GROUP_");
  const QString endMarker = QStringLiteral("_END_");

  qsizetype groupCount = 0;
  qsizetype entryCount = 0;
  for (const BuiltinText& pair : list) {
    const QString first = upper(pair.first);
    if (first == endMarker) break;
    if (first == groupMarker)
      ++groupCount;
    else if (groupCount > 0)
      ++entryCount;
  }

  groups_.clear();
  groups_.reserve(groupCount);
  keys_ = QList<QString>(entryCount + 1);
  texts_ = QList<QString>(entryCount + 1);
  cachedGroup_ = 0;

  int stored = 0;
  for (const BuiltinText& pair : list) {
    const QString first = upper(pair.first);
    if (first == groupMarker) {
      if (!groups_.isEmpty()) groups_.last().last = stored;
      TextGroup group;
      group.name = upper(pair.second);
      group.first = stored + 1;
      group.last = stored;
      groups_.append(group);
    } else if (first == endMarker) {
      break;
    } else if (!groups_.isEmpty()) {
      ++stored;
      keys_[stored] = first + QChar(kSeparator) + QStringView(pair.second).toString();
    }
  }
  if (!groups_.isEmpty()) groups_.last().last = stored;

  for (TextGroup& group : groups_) {
    if (group.last < group.first) continue;
    std::sort(keys_.begin() + group.first, keys_.begin() + group.last + 1);
    char16_t previous = 0;
    for (int i = group.first; i <= group.last; ++i) {
      const QString combined = keys_[i];
      const qsizetype split = combined.indexOf(QChar(kSeparator));
      keys_[i] = combined.left(split);
      texts_[i] = combined.mid(split + 1);
      const char16_t code = keys_[i].isEmpty() ? 0 : keys_[i][0].unicode();
      if (code != previous) {
        previous = code;
        if (code < group.firstCharacter.size()) group.firstCharacter[code] = i;
      }
    }
  }

  if (languageFilePath.isEmpty()) return;
  KeyValueReader reader;
  if (!reader.open(languageFilePath)) return;
  for (const TextGroup& group : groups_) {
    if (group.last < group.first) continue;
    reader.selectGroup(group.name);
    for (int i = group.first; i <= group.last; ++i) texts_[i] = reader.readText(keys_[i], texts_[i]);
  }
  reader.close();
}

QString StringTable::text(const QString& group, const QString& key) const {
  const QString notFound = QString::fromLatin1(kNoStringError);
  const QString groupName = group.toUpper();
  const QString wanted = key.toUpper();

  if (cachedGroup_ == 0 || groups_[cachedGroup_ - 1].name != groupName) {
    cachedGroup_ = 0;
    for (qsizetype g = 0; g < groups_.size(); ++g) {
      if (groups_[g].name == groupName) {
        cachedGroup_ = g + 1;
        break;
      }
    }
  }
  if (cachedGroup_ == 0) return notFound;

  // Keys of a group are sorted, so the walk starts at the first key sharing the first character
  // and ends at the first greater key or at the group's end.
  const TextGroup& found = groups_[cachedGroup_ - 1];
  const char16_t code = wanted.isEmpty() ? 0 : wanted[0].unicode();
  if (code >= found.firstCharacter.size()) return notFound;  // no key starts with such a character
  for (int i = found.firstCharacter[code]; i != 0 && i <= found.last; ++i) {
    const int order = wanted.compare(keys_[i]);
    if (order == 0) return texts_[i];
    if (order < 0) break;
  }
  return notFound;
}

QString fillPlaceholders(const QString& text, const QString& s1, const QString& s2, const QString& s3,
                         const QString& s4) {
  if (text.isEmpty()) return text;
  QString result = text;
  const QString* arguments[] = {&s1, &s2, &s3, &s4};
  for (int n = 0; n < 4; ++n) {
    if (arguments[n]->isEmpty()) continue;
    const QString placeholder = QStringLiteral("%s") + QString::number(n + 1) + QLatin1Char('%');
    result.replace(placeholder, *arguments[n], Qt::CaseInsensitive);
  }
  return result;
}
