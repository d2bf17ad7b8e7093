// The numbered keyword lists that turn option words ("BICUBIC", "TOPLEFT") into stored numbers
// and back.
#pragma once

#include <QString>

#include <cstdint>

inline constexpr int kKeywordListCount = 22;

// Lists 13 (frame type) and 14 (watermark type) only name values for the debug printout.
inline constexpr int kFrameTypeList = 13;
inline constexpr int kWatermarkTypeList = 14;

// The value of the first keyword of `list` equal to `word` upper-cased; 0 (the list's first
// value) when none is, and for lists 13, 14 and unknown lists. The caller trims spaces.
int32_t keywordToValue(int list, const QString& word);

// The keyword of `value` in lower case, or "" when the list has none. For list 4, the
// compressions, `format` ("png", "tiff", ...) picks the family whose keyword is wanted.
QString valueToKeyword(int list, int32_t value, const QString& format = QString());

// The keywords of a list, upper-cased, in list order (for completion and documentation). For
// list 4, a `format` ("png", "tiff", ...) keeps only the words of that format's family.
QStringList listKeywords(int list, const QString& format = QString());
