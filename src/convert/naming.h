// Output file naming: the filename mask and its 18 tokens, also used by watermark texts.
#pragma once

#include "convert/conversion_job.h"
#include "settings/settings.h"

#include <QString>
#include <QStringList>

// The 18 tokens in their fixed order of expansion.
const QStringList& maskTokens();

// Replaces every occurrence of `token` (any letter case) in `text` by its value for the
// current file; an unknown token leaves the text unchanged.
QString expandToken(const QString& text, const QString& token, const ConversionJob& job);

// Longest text the expansion produces: a token whose replacement would make the text longer
// is left unexpanded, and so are the tokens after it (the name is then unusable anyway).
inline constexpr qsizetype kMaxExpandedLength = qsizetype{1} << 20;

// Expands the 18 tokens in order, each only when the current text contains it.
QString expandTokens(const QString& text, const ConversionJob& job);

// Output folder + relative subfolder (when kept) + the expanded, lower-cased mask.
QString expandMask(const Settings& settings, const ConversionJob& job);
