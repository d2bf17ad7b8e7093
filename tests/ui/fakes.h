// Test doubles for the dialog interface and the shell: they record what was asked and answer
// from a script.
#pragma once

#include "ui/dialog_service.h"
#include "ui/shell.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <ostream>

// Readable QStrings in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

struct RecordedMessage {
  MessageIcon icon;
  QString title;
  QString text;
};

class FakeDialogs : public DialogService {
 public:
  QList<RecordedMessage> messages;
  QList<RecordedMessage> questions;
  bool answerYes = false;
  // Runs while a question is open, before it is answered.
  std::function<void()> duringQuestion;

  QString fileToOpen;
  QString lastOpenTitle;
  QString lastOpenStart;
  QList<FileFilter> lastFilters;
  int openFileCalls = 0;

  QString folderToChoose;
  QString lastFolderTitle;
  QString lastFolderStart;
  int chooseFolderCalls = 0;

  void message(QWidget*, MessageIcon icon, const QString& title, const QString& text) override {
    messages.append({icon, title, text});
  }
  bool question(QWidget*, MessageIcon icon, const QString& title, const QString& text) override {
    questions.append({icon, title, text});
    if (duringQuestion) duringQuestion();
    return answerYes;
  }
  QString openFile(QWidget*, const QString& title, const QString& startPath,
                   const QList<FileFilter>& filters) override {
    ++openFileCalls;
    lastOpenTitle = title;
    lastOpenStart = startPath;
    lastFilters = filters;
    return fileToOpen;
  }
  QString chooseFolder(QWidget*, const QString& title, const QString& startFolder) override {
    ++chooseFolderCalls;
    lastFolderTitle = title;
    lastFolderStart = startFolder;
    return folderToChoose;
  }
  std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return std::nullopt; }
  std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return std::nullopt; }
};

class RecordingShell : public ShellOpener {
 public:
  QList<QUrl> opened;
  void open(const QUrl& target) override { opened.append(target); }
};
