// The one seam between the program and modal standard dialogs: message boxes, questions, the
// open-file, folder, colour and font choosers. Windows ask through it; tests answer through a fake.
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

#include <optional>

class QWidget;

enum class MessageIcon { Information, Warning, Error, Question };

// One entry of an open-file filter: a label and its patterns separated by ";" ("*.jpg;*.jpeg").
struct FileFilter {
  QString label;
  QString patterns;
};

class DialogService {
 public:
  virtual ~DialogService() = default;

  // Modal box with one OK button; returns when it is answered.
  virtual void message(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) = 0;
  // Modal Yes/No question; true for Yes.
  virtual bool question(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) = 0;
  // Open-file dialog for one file with the first filter selected; empty when cancelled.
  virtual QString openFile(QWidget* parent, const QString& title, const QString& startPath,
                           const QList<FileFilter>& filters) = 0;
  // Folder browser; empty when cancelled.
  virtual QString chooseFolder(QWidget* parent, const QString& title, const QString& startFolder) = 0;
  // Colour and font choosers; empty when cancelled.
  virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
  virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;
};

// The real dialogs: QMessageBox, QFileDialog, QColorDialog and QFontDialog.
class QtDialogService : public DialogService {
 public:
  void message(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) override;
  bool question(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) override;
  QString openFile(QWidget* parent, const QString& title, const QString& startPath,
                   const QList<FileFilter>& filters) override;
  QString chooseFolder(QWidget* parent, const QString& title, const QString& startFolder) override;
  std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
  std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
};

// The filter text QFileDialog expects for an entry: "Label (*.a *.b)"; a label that already ends
// with its own patterns in parentheses ("All Files (*.*)") is used as it is.
QString qtFilterText(const FileFilter& filter);
