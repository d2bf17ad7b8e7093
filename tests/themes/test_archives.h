// Helpers that build theme archives and images at test time.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include <utility>
#include <vector>

namespace themes_test {

using Entries = std::vector<std::pair<QString, QByteArray>>;

// Writes a zip archive holding the entries in order; false on failure.
bool writeZip(const QString& path, const Entries& entries);

// A square image of one colour, encoded as PNG.
QByteArray pngBytes(int size, const QColor& colour);

// A theme.cfg text from lines joined with CR LF (and ended with one).
QByteArray configText(const std::vector<QByteArray>& lines);

bool writeFile(const QString& path, const QByteArray& bytes);

// True when the image is `size` square and every pixel has the colour.
bool isSolid(const QImage& image, int size, const QColor& colour);

}  // namespace themes_test
