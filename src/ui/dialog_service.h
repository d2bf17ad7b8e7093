// The seam between the program and modal message boxes and questions. Windows ask through it;
// tests answer through a fake.
#pragma once

#include <QString>

class QWidget;

enum class MessageIcon { Information, Warning, Error, Question };

class DialogService {
 public:
  virtual ~DialogService() = default;

  // Modal box with one OK button; returns when it is answered.
  virtual void message(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) = 0;
  // Modal Yes/No question; true for Yes.
  virtual bool question(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) = 0;
};
