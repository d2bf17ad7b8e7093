// Shortens a text for a label of limited width by cutting out its middle.
#pragma once

#include <QString>

// The text unchanged when it is empty or has at most `maxLength` characters; otherwise its
// first a characters, "..." and its last a characters, a = (maxLength - 3) / 2.
QString shortenMiddle(const QString& text, int maxLength);
