#include "ui/message_boxes.h"

#include "i18n/string_table.h"
#include "ui/dialog_service.h"

void showWarning(DialogService& dialogs, const StringTable& strings, QWidget* parent, const QString& text) {
  dialogs.message(parent, MessageIcon::Warning,
                  strings.text(QStringLiteral("Msg"), QStringLiteral("Warning")), text);
}

void showError(DialogService& dialogs, const StringTable& strings, QWidget* parent, const QString& text) {
  dialogs.message(parent, MessageIcon::Error, strings.text(QStringLiteral("Msg"), QStringLiteral("Error")),
                  text);
}

void showInfo(DialogService& dialogs, QWidget* parent, const QString& title, const QString& text) {
  dialogs.message(parent, MessageIcon::Information, title, text);
}

bool askBreakConversion(DialogService& dialogs, const StringTable& strings, QWidget* parent) {
  return dialogs.question(parent, MessageIcon::Warning,
                          strings.text(QStringLiteral("Msg"), QStringLiteral("Warning")),
                          strings.text(QStringLiteral("Msg"), QStringLiteral("Ask break conversion")));
}
