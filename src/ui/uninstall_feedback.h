// The window shown after an uninstall: one ticked box that, on Next, opens the uninstall
// feedback page.
#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class ShellOpener;
class StringTable;

class UninstallFeedbackWindow : public QDialog {
  Q_OBJECT

 public:
  UninstallFeedbackWindow(const StringTable& strings, ShellOpener& shell);
  QCheckBox* visitBox() const { return visitBox_; }
  QPushButton* nextButton() const { return nextButton_; }

 private:
  ShellOpener& shell_;
  QCheckBox* visitBox_ = nullptr;
  QPushButton* nextButton_ = nullptr;
};

// Shows the window centred on the screen and returns when it is closed or Next is pressed.
void showUninstallFeedback(const StringTable& strings, ShellOpener& shell);
