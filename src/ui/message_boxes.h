// The program's message boxes: warnings, errors, information and the break question, with their
// titles from the string table.
#pragma once

#include <QString>

class DialogService;
class StringTable;
class QWidget;

// "Warning" box with a warning icon and OK.
void showWarning(DialogService& dialogs, const StringTable& strings, QWidget* parent, const QString& text);
// "Error" box with an error icon and OK.
void showError(DialogService& dialogs, const StringTable& strings, QWidget* parent, const QString& text);
// Information box with the given title and OK.
void showInfo(DialogService& dialogs, QWidget* parent, const QString& title, const QString& text);
// "Do you want to break the conversion?" with Yes and No; true for Yes.
bool askBreakConversion(DialogService& dialogs, const StringTable& strings, QWidget* parent);
