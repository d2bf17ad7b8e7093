#include "cli/keywords.h"

#include <QStringList>

#include <array>
#include <span>

namespace {

struct Keyword {
  const char* word;
  int32_t value;
  const char* family;  // list 4 only: the formats whose save flags give the value its meaning
};

constexpr char kAnyFamily[] = "";

#define KW(word, value) \
  Keyword { word, value, kAnyFamily }

constexpr Keyword kList0[] = {KW("AUTO", 0), KW("BGRA", 1), KW("RGBA", 2)};
constexpr Keyword kList1[] = {KW("AUTO", 0), KW("8", 1),    KW("16", 2),
                              KW("24", 3),   KW("48HS", 4), KW("48", 5)};
constexpr Keyword kList2[] = {KW("ALL", 0), KW("FIRST", 1), KW("MIDDLE", 2), KW("LAST", 3), KW("RANDOM", 4)};
constexpr Keyword kList3[] = {KW("NONE", 0), KW("LINEAR", 1), KW("AL", 2), KW("DRR", 3), KW("GD", 4)};
constexpr Keyword kList4[] = {
    {"NONE", 0, "bmp,exr,png,tga,tiff"},
    {"RLE", 1, "bmp,tga"},
    {"ZIP", 1, "exr"},
    {"PIZ", 2, "exr"},
    {"PXR24", 3, "exr"},
    {"B44", 4, "exr"},
    {"ZLIB1", 1, "png"},
    {"ZLIB6", 2, "png"},
    {"ZLIB9", 3, "png"},
    {"CCITTFAX3", 1, "tiff"},
    {"CCITTFAX4", 2, "tiff"},
    {"PACKBITS", 3, "tiff"},
    {"DEFLATE", 4, "tiff"},
    {"ADOBEDEFLATE", 5, "tiff"},
    {"LZW", 6, "tiff"},
    {"JPEG", 7, "tiff"},
    {"LOGLUV", 8, "tiff"},
};
constexpr Keyword kList5[] = {KW("AUTO", 0), KW("EXACT", 1)};
constexpr Keyword kList6[] = {KW("RGB", 0), KW("CMYK", 1), KW("LAB", 2)};
constexpr Keyword kList7[] = {KW("NONE", 0), KW("LOW", 1), KW("MEDIUM", 2), KW("HIGH", 3)};
constexpr Keyword kList8[] = {KW("STANDARD", 0), KW("SIMPLE", 1), KW("OPTIMIZED", 2), KW("PROGRESSIVE", 3)};
constexpr Keyword kList9[] = {KW("SIMPLE", 0), KW("ADVANCED", 1)};
constexpr Keyword kList10[] = {KW("PIXELS", 0), KW("PERCENT", 1)};
constexpr Keyword kList11[] = {KW("ALLIMAGES", 0), KW("LARGEIMAGES", 1)};
constexpr Keyword kList12[] = {KW("BOX", 0),     KW("BILINEAR", 1),   KW("BSPLINE", 2),
                               KW("BICUBIC", 3), KW("CATMULLROM", 4), KW("LANCZOS", 5)};
constexpr Keyword kList13[] = {KW("NONE", 0), KW("SOLID", 1)};
constexpr Keyword kList14[] = {KW("NONE", 0), KW("TEXT", 1), KW("IMAGE", 2)};
constexpr Keyword kList15[] = {KW("REGULAR", 0), KW("BOLD", 1), KW("ITALIC", 2), KW("BOLDITALIC", 3)};
// "STRIKETHROUGHT" is the word the option has always accepted.
constexpr Keyword kList16[] = {KW("NONE", 0), KW("UNDERLINE", 1), KW("STRIKETHROUGHT", 2)};
constexpr Keyword kList17[] = {KW("LEFT", 0), KW("CENTER", 1), KW("RIGHT", 2)};
constexpr Keyword kList18[] = {KW("IMAGE", 0), KW("FRAME", 1)};
constexpr Keyword kList19[] = {KW("TOPLEFT", 0),    KW("TOPCENTER", 1),    KW("TOPRIGHT", 2),
                               KW("MIDDLELEFT", 3), KW("MIDDLECENTER", 4), KW("MIDDLERIGHT", 5),
                               KW("BOTTOMLEFT", 6), KW("BOTTOMCENTER", 7), KW("BOTTOMRIGHT", 8)};
constexpr Keyword kList20[] = {KW("FIXED", 0)};
constexpr Keyword kList21[] = {KW("CURRENT", 0), KW("ORIGINAL", 1), KW("CUSTOM", 2)};

#undef KW

constexpr std::array<std::span<const Keyword>, kKeywordListCount> kLists = {
    kList0,  kList1,  kList2,  kList3,  kList4,  kList5,  kList6,  kList7,  kList8,  kList9,  kList10,
    kList11, kList12, kList13, kList14, kList15, kList16, kList17, kList18, kList19, kList20, kList21,
};

std::span<const Keyword> keywordList(int list) {
  if (list < 0 || list >= kKeywordListCount) return {};
  return kLists[static_cast<size_t>(list)];
}

bool inFamily(const Keyword& keyword, const QString& format) {
  if (format.isEmpty() || keyword.family[0] == '\0') return true;
  const QStringList formats = QString::fromLatin1(keyword.family).split(QLatin1Char(','));
  return formats.contains(format, Qt::CaseInsensitive);
}

}  // namespace

int32_t keywordToValue(int list, const QString& word) {
  if (list == kFrameTypeList || list == kWatermarkTypeList) return 0;
  const QString upper = word.toUpper();
  for (const Keyword& keyword : keywordList(list)) {
    if (upper == QLatin1String(keyword.word)) return keyword.value;
  }
  return 0;
}

QString valueToKeyword(int list, int32_t value, const QString& format) {
  for (const Keyword& keyword : keywordList(list)) {
    if (keyword.value == value && inFamily(keyword, format))
      return QString::fromLatin1(keyword.word).toLower();
  }
  return QString();
}

QStringList listKeywords(int list, const QString& format) {
  QStringList words;
  for (const Keyword& keyword : keywordList(list)) {
    if (inFamily(keyword, format)) words.append(QString::fromLatin1(keyword.word));
  }
  return words;
}
