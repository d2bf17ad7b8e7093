// Test doubles for the dialog interface and the shell: they record what was asked and answer
// from a script.
#pragma once

#include "ui/dialog_service.h"
#include "ui/shell.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>

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

  void message(QWidget*, MessageIcon icon, const QString& title, const QString& text) override {
    messages.append({icon, title, text});
  }
  bool question(QWidget*, MessageIcon icon, const QString& title, const QString& text) override {
    questions.append({icon, title, text});
    if (duringQuestion) duringQuestion();
    return answerYes;
  }
};

class RecordingShell : public ShellOpener {
 public:
  QList<QUrl> opened;
  void open(const QUrl& target) override { opened.append(target); }
};
