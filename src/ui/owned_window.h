// Small windows owned by the main window (About, converter finder): the owner is disabled while
// one is open and gets the focus back when it closes.
#pragma once

class QDialog;
class QWidget;

// Centres the dialog on the owner, disables the owner, shows the dialog without blocking and
// gives it the focus. Closing the dialog in any way (accept, reject, close box) enables the owner
// again, gives it the focus and deletes the dialog. The dialog must be a child of the owner.
void openOwnedWindow(QDialog& dialog, QWidget& owner);

// Moves the window so that its centre lies on the owner's centre.
void centreOn(QWidget& window, const QWidget& owner);
