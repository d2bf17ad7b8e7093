// A window's layout as the eye sees it: every caption and button text fits its control, no text
// runs under a neighbouring control, no two controls overlap, and nothing lies outside the window.
#pragma once

#include <QStringList>

class QWidget;

// The problems found, one sentence each; empty when the layout is sound.
QStringList layoutProblems(const QWidget& window);
