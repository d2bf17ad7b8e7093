// Reading values from the text of a theme's "theme.cfg".
#pragma once

#include <QByteArray>
#include <QString>

namespace themes {

// Theme text is in the "ANSI" code page: decoded as Latin-1 up to the first zero byte.
QString decodeThemeText(const QByteArray& bytes);

// The value of `key` in `section` of a theme.cfg text, or empty. Section and key match without
// regard to letter case. The section ends at the next "[" anywhere after its header; the key
// must follow a CR LF and matches as a prefix (key "Help" also finds "HelpFile=..."); a line
// without a following CR LF yields nothing. The value lies between the line's first and second
// "=" and is trimmed in four passes: blanks, tabs, CR, LF.
QString readThemeValue(const QString& text, const QString& section, const QString& key);

}  // namespace themes
