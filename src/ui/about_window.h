// The About window: banner, title and version, the maker's notice, links to the maker's site and
// the support mailbox, and OK.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class ShellOpener;
class StringTable;

class AboutWindow : public QDialog {
  Q_OBJECT

 public:
  AboutWindow(QWidget& owner, const StringTable& strings, ShellOpener& shell);

  QLabel* banner() const { return banner_; }
  QLabel* titleLine() const { return titleLine_; }
  QLabel* noticeLine() const { return noticeLine_; }
  QLabel* webCaption() const { return webCaption_; }
  QLabel* emailCaption() const { return emailCaption_; }
  QLabel* webLink() const { return webLink_; }
  QLabel* emailLink() const { return emailLink_; }
  QPushButton* okButton() const { return okButton_; }

 private:
  QLabel* banner_ = nullptr;
  QLabel* titleLine_ = nullptr;
  QLabel* noticeLine_ = nullptr;
  QLabel* webCaption_ = nullptr;
  QLabel* emailCaption_ = nullptr;
  QLabel* webLink_ = nullptr;
  QLabel* emailLink_ = nullptr;
  QPushButton* okButton_ = nullptr;
};

// Command 24: opens the About window over `owner` (disabled while it is open) and returns at once;
// an About window that is already open is brought to the front instead.
AboutWindow* openAboutWindow(QWidget& owner, const StringTable& strings, ShellOpener& shell);
