// The screenshot mode: the main window with sample values, captured into "quillet1.jpg" and a
// 180-pixel-wide "quillet1x.jpg".
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

struct GuiContext;
class QWidget;

// Size of the small picture for a capture of `outer` size: 180 wide, height rounded.
QSize smallScreenshotSize(QSize outer);

// The window as shown on screen, frame included where the platform can capture it, as a 24-bit
// image with the maker's web address drawn near its lower right corner.
QImage captureWindow(QWidget& window);

// Shows the main window with samples in `folder` (the program's folder when empty) and saves the
// two pictures there. Does nothing when the folder does not exist.
void screenshotMode(GuiContext& context, const QString& folder);
