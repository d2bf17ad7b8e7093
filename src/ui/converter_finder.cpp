#include "ui/converter_finder.h"

#include "i18n/string_table.h"
#include "ui/message_boxes.h"
#include "ui/owned_window.h"
#include "ui/web_links.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ConverterFinder::ConverterFinder(QWidget& owner, const StringTable& strings, DialogService& dialogs,
                                 ShellOpener& shell)
    : QDialog(&owner), strings_(strings), dialogs_(dialogs), shell_(shell) {
  const QString group = QStringLiteral("Custom-Converter");
  setObjectName(QStringLiteral("converterFinder"));
  setWindowTitle(strings.text(group, QStringLiteral("Title")));
  setFixedSize(370, 60);

  auto* fromCaption = new QLabel(strings.text(group, QStringLiteral("From")), this);
  fromCaption->setGeometry(10, 23, 40, 20);
  fromEdit_ = new QLineEdit(this);
  fromEdit_->setGeometry(50, 20, 80, 20);
  auto* toCaption = new QLabel(strings.text(group, QStringLiteral("To")), this);
  toCaption->setGeometry(150, 23, 30, 20);
  toEdit_ = new QLineEdit(this);
  toEdit_->setGeometry(180, 20, 80, 20);
  searchButton_ = new QPushButton(strings.text(group, QStringLiteral("Search")), this);
  searchButton_->setGeometry(280, 18, 80, 25);
  // Return in either field reaches the default button; Escape and the close box reject.
  searchButton_->setDefault(true);
  connect(searchButton_, &QPushButton::clicked, this, &ConverterFinder::search);
  fromEdit_->setFocus();
}

void ConverterFinder::search() {
  const QString from = keepAlphanumeric(fromEdit_->text());
  const QString to = keepAlphanumeric(toEdit_->text());
  if (from.isEmpty() || to.isEmpty()) {
    showWarning(dialogs_, strings_, this,
                strings_.text(QStringLiteral("Msg"), QStringLiteral("Empty extensions")));
    return;
  }
  hide();
  shellOpen(shell_, converterSearchTarget(from, to));
  accept();
}

ConverterFinder* openConverterFinder(QWidget& owner, const StringTable& strings, DialogService& dialogs,
                                     ShellOpener& shell) {
  if (ConverterFinder* open = owner.findChild<ConverterFinder*>(QString(), Qt::FindDirectChildrenOnly);
      open && open->isVisible()) {
    open->raise();
    open->activateWindow();
    return open;
  }
  auto* finder = new ConverterFinder(owner, strings, dialogs, shell);
  openOwnedWindow(*finder, owner);
  finder->fromEdit()->setFocus();
  return finder;
}
