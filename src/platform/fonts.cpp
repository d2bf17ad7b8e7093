#include "platform/fonts.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace platform {

namespace {

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

bool isGenericFamily(const FcChar8* name) {
  for (const char* generic :
       {"sans-serif", "serif", "monospace", "system-ui", "cursive", "fantasy", "emoji", "math"}) {
    if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(generic)) == 0) return true;
  }
  return false;
}

// Family names compare as fontconfig compares them: blanks and letter case do not count.
QString familyKey(const FcChar8* name) {
  return QString::fromUtf8(reinterpret_cast<const char*>(name)).remove(QLatin1Char(' ')).toCaseFolded();
}

bool matchHasFamily(FcPattern* match, const FcChar8* family) {
  const QString wanted = familyKey(family);
  FcChar8* matched = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &matched) == FcResultMatch; ++i) {
    if (familyKey(matched) == wanted) return true;
  }
  return false;
}

}  // namespace

bool fontFamilyAvailable(const QString& family) {
  const QByteArray name = family.trimmed().toUtf8();
  if (name.isEmpty() || !FcInit()) return false;

  PatternPtr pattern(FcPatternCreate());
  if (!pattern) return false;
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
  // The alias rules append the configured substitutes, then a generic family and its members.
  if (!FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern)) return false;
  FcDefaultSubstitute(pattern.get());

  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
  if (!match) return false;

  // Accept the match only when it is the name itself or one of its substitutes, that is a
  // family listed before the first generic name.
  FcChar8* candidate = nullptr;
  for (int i = 0; FcPatternGetString(pattern.get(), FC_FAMILY, i, &candidate) == FcResultMatch; ++i) {
    if (isGenericFamily(candidate)) return false;
    if (matchHasFamily(match.get(), candidate)) return true;
  }
  return false;
}

}  // namespace platform
