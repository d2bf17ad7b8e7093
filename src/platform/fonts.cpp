#include "platform/fonts.h"

#include <QStringList>

#include <fontconfig/fontconfig.h>

#include <memory>

namespace platform {

namespace {

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

constexpr const char* kGenericFamilies[] = {"sans-serif", "serif", "monospace"};

// Family names compare as fontconfig compares them: blanks and letter case do not count.
QString familyKey(const char* name) {
  return QString::fromUtf8(name).remove(QLatin1Char(' ')).toCaseFolded();
}

// The family list of a pattern for `family` after the configuration's alias rules: the name, its
// configured substitutes, then the members of a generic family.
PatternPtr substitutedPattern(const QByteArray& family) {
  PatternPtr pattern(FcPatternCreate());
  if (!pattern) return nullptr;
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.constData()));
  if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) return nullptr;
  FcDefaultSubstitute(pattern.get());
  return pattern;
}

QStringList familyKeys(FcPattern* pattern) {
  QStringList keys;
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    keys << familyKey(reinterpret_cast<const char*>(name));
  return keys;
}

// Index in `families` where the members of a generic family begin: the generic's own list (as the
// rules expand it) appears there, or the generic name itself.
qsizetype fallbackStart(const QStringList& families) {
  qsizetype start = families.size();
  for (const char* generic : kGenericFamilies) {
    const qsizetype named = families.indexOf(familyKey(generic));
    if (named >= 0) start = std::min(start, named);
    const PatternPtr pattern = substitutedPattern(generic);
    if (!pattern) continue;
    const QStringList members = familyKeys(pattern.get());
    if (members.isEmpty()) continue;
    for (qsizetype j = 0; j < start; ++j) {
      const bool secondAgrees =
          members.size() < 2 || j + 1 >= families.size() || families[j + 1] == members[1];
      if (families[j] == members[0] && secondAgrees) {
        start = j;
        break;
      }
    }
  }
  return start;
}

}  // namespace

bool fontFamilyAvailable(const QString& family) {
  const QByteArray name = family.trimmed().toUtf8();
  if (name.isEmpty() || !FcInit()) return false;
  for (const char* generic : kGenericFamilies) {
    if (familyKey(name.constData()) == familyKey(generic)) return false;
  }

  const PatternPtr pattern = substitutedPattern(name);
  if (!pattern) return false;
  FcResult result = FcResultNoMatch;
  const PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
  if (!match) return false;

  // Accept the face fontconfig picks only when it is the name itself or one of its configured
  // substitutes, that is a family listed before the generic fallback begins.
  const QStringList families = familyKeys(pattern.get());
  const QStringList matched = familyKeys(match.get());
  const qsizetype end = fallbackStart(families);
  for (qsizetype i = 0; i < end; ++i) {
    if (matched.contains(families[i])) return true;
  }
  return false;
}

}  // namespace platform
