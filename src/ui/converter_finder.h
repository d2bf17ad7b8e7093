// The converter finder: two extensions, and a web search for a converter between them.
#pragma once

#include <QDialog>

class DialogService;
class QLineEdit;
class QPushButton;
class ShellOpener;
class StringTable;

class ConverterFinder : public QDialog {
  Q_OBJECT

 public:
  ConverterFinder(QWidget& owner, const StringTable& strings, DialogService& dialogs, ShellOpener& shell);

  QLineEdit* fromEdit() const { return fromEdit_; }
  QLineEdit* toEdit() const { return toEdit_; }
  QPushButton* searchButton() const { return searchButton_; }

  // The Search button and Return: keeps 0-9, A-Z and a-z of both texts; warns and stays open when
  // either is left empty, otherwise opens the search page and closes.
  void search();

 private:
  const StringTable& strings_;
  DialogService& dialogs_;
  ShellOpener& shell_;
  QLineEdit* fromEdit_ = nullptr;
  QLineEdit* toEdit_ = nullptr;
  QPushButton* searchButton_ = nullptr;
};

// Command 16: opens the finder over `owner` (disabled while it is open) with the keyboard focus in
// the From field and returns at once; a finder that is already open is brought to the front.
ConverterFinder* openConverterFinder(QWidget& owner, const StringTable& strings, DialogService& dialogs,
                                     ShellOpener& shell);
