#include "ui/uninstall_feedback.h"

#include "i18n/product.h"
#include "i18n/string_table.h"
#include "ui/shell.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

UninstallFeedbackWindow::UninstallFeedbackWindow(const StringTable& strings, ShellOpener& shell)
    : shell_(shell) {
  setObjectName(QStringLiteral("uninstallFeedback"));
  setWindowTitle(strings.text(QStringLiteral("Uninstall"), QStringLiteral("Title")));
  setFixedSize(300, 100);

  visitBox_ =
      new QCheckBox(strings.text(QStringLiteral("Uninstall"), QStringLiteral("Uninstall Text")), this);
  visitBox_->setGeometry(30, 20, 250, 20);
  visitBox_->setChecked(true);

  nextButton_ = new QPushButton(strings.text(QStringLiteral("Uninstall"), QStringLiteral("Next")), this);
  nextButton_->setGeometry(200, 60, 80, 25);
  nextButton_->setDefault(true);
  connect(nextButton_, &QPushButton::clicked, this, [this] {
    if (visitBox_->isChecked()) shell_.open(QUrl(QString::fromLatin1(product::kUninstallPage)));
    accept();
  });
}

void showUninstallFeedback(const StringTable& strings, ShellOpener& shell) {
  UninstallFeedbackWindow window(strings, shell);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
  }
  window.activateWindow();
  window.exec();
}
