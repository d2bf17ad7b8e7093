#include "ui/owned_window.h"

#include <QDialog>
#include <QPointer>
#include <QRect>

void centreOn(QWidget& window, const QWidget& owner) {
  QRect frame(QPoint(0, 0), window.frameGeometry().size());
  frame.moveCenter(owner.frameGeometry().center());
  window.move(frame.topLeft());
}

void openOwnedWindow(QDialog& dialog, QWidget& owner) {
  dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  centreOn(dialog, owner);
  owner.setEnabled(false);
  // Disabling a window disables its child windows too; this one stays usable.
  dialog.setEnabled(true);
  QPointer<QWidget> ownerGuard(&owner);
  QDialog* const window = &dialog;
  QObject::connect(&dialog, &QDialog::finished, &dialog, [window, ownerGuard] {
    window->deleteLater();
    if (!ownerGuard) return;
    ownerGuard->setEnabled(true);
    ownerGuard->activateWindow();
    ownerGuard->setFocus();
  });
  dialog.show();
  // Once shown the frame is known, so the whole window, frame included, lands centred.
  centreOn(dialog, owner);
  dialog.activateWindow();
}
