// User-interface texts by group and key: built-in English list, language-file override, placeholders.
#pragma once

#include <QList>
#include <QString>

#include <array>
#include <cstdint>

// What a lookup of a missing group or key returns.
inline constexpr char kNoStringError[] = "%NO_STRING_ERROR%";

// One group: its entries occupy positions first..last of the table's key and text arrays.
struct TextGroup {
  QString name;  // upper-cased
  int first = 1;
  int last = 0;  // first - 1 when the group has no entries
  // For each UTF-16 code below 256, the position of the first key (in sorted order) that starts
  // with it, or 0 when none does.
  std::array<int32_t, 256> firstCharacter{};
};

// Built once at start-up and read by the main thread only: lookups update an unlocked cache.
class StringTable {
 public:
  // Builds the table from the built-in English list; then, when the path is not empty and the
  // file can be read, replaces texts with the language file's values for the same group and key.
  // Groups and keys the built-in list lacks are ignored. Always succeeds.
  void load(const QString& languageFilePath);

  // The text of group/key, both matched without regard to letter case, or kNoStringError.
  QString text(const QString& group, const QString& key) const;

  // Read-only views of the table: the groups in built-in order, and the upper-cased key and the
  // text at a position (1 to the number of entries).
  const QList<TextGroup>& groups() const { return groups_; }
  const QString& keyAt(int position) const { return keys_[position]; }
  const QString& textAt(int position) const { return texts_[position]; }

 private:
  QList<TextGroup> groups_;
  QList<QString> keys_;                // position 0 unused; each group's run sorted by key
  QList<QString> texts_;               // parallel to keys_
  mutable qsizetype cachedGroup_ = 0;  // 1-based index into groups_ of the last lookup's group, 0 for none
};

// Replaces "%s1%" to "%s4%" (letter case ignored) by s1 to s4, in that order, each step working
// on the result of the one before. An empty argument leaves its placeholder in place.
QString fillPlaceholders(const QString& text, const QString& s1, const QString& s2, const QString& s3,
                         const QString& s4);
