// Value conversions of the Preferences window that need no widgets: colour names, list entries,
// free-text cleaning and the gamma scale.
#pragma once

#include "convert/colour.h"

#include <QString>
#include <QStringList>

class StringTable;

// Six upper-case hexadecimal digits, "FF8000".
QString colourHex(Colour colour);
bool sameColour(Colour a, Colour b);

// The name a colour list shows: one of the 19 named colours ("Orange"), otherwise
// "Color #RRGGBB" with the string table's word for "Color".
QString colourName(Colour colour, const StringTable& strings);

// Entries of a comma-separated list with surrounding spaces removed, empty ones kept.
QStringList listEntries(const QString& list);

// Free texts as stored: surrounding white space removed, then every tab, carriage return and
// line feed dropped wherever it stands.
QString cleanFreeText(const QString& text);

// The gamma control's position: gamma x 100 rounded, within 1..999 (a non-number gives 100).
int gammaPosition(double gamma);
// A gamma position shown with two decimals: 235 -> "2.35".
QString gammaText(int position);
