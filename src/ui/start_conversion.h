// The Convert command of the main window: read the form, check it, prepare the run and show the
// progress dialog.
#pragma once

#include "convert/batch.h"

#include <QString>

class MainWindow;
class StringTable;

// The message a failed start check shows, filled with its detail.
QString startProblemText(const StringTable& strings, const StartCheck& check);

// Command 14.
void startConversion(MainWindow& window);
