#include "ui/dialog_service.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace {

// Texts of the string table break lines with CR LF; Qt wants LF alone.
QString plainLines(const QString& text) {
  QString result = text;
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return result;
}

QMessageBox::Icon boxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Error:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QString qtFilterText(const FileFilter& filter) {
  QString patterns = filter.patterns;
  patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
  if (filter.label.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')'))) return filter.label;
  return filter.label + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

void QtDialogService::message(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) {
  QMessageBox box(boxIcon(icon), title, plainLines(text), QMessageBox::Ok, parent);
  box.exec();
}

bool QtDialogService::question(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) {
  QMessageBox box(boxIcon(icon), title, plainLines(text), QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

QString QtDialogService::openFile(QWidget* parent, const QString& title, const QString& startPath,
                                  const QList<FileFilter>& filters) {
  QStringList texts;
  for (const FileFilter& filter : filters) texts << qtFilterText(filter);
  QString selected = texts.value(0);
  return QFileDialog::getOpenFileName(parent, title, startPath, texts.join(QStringLiteral(";;")), &selected);
}

QString QtDialogService::chooseFolder(QWidget* parent, const QString& title, const QString& startFolder) {
  return QFileDialog::getExistingDirectory(parent, title, startFolder);
}

std::optional<QColor> QtDialogService::chooseColor(QWidget* parent, const QColor& initial) {
  const QColor colour = QColorDialog::getColor(initial, parent);
  if (!colour.isValid()) return std::nullopt;
  return colour;
}

std::optional<QFont> QtDialogService::chooseFont(QWidget* parent, const QFont& initial) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, parent);
  if (!ok) return std::nullopt;
  return font;
}
