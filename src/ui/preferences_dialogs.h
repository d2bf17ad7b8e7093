// The standard dialogs the Preferences window asks through: the Yes/No question, the open-file,
// colour and font choosers. Tests answer through a fake.
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

#include <optional>

class QWidget;

// One entry of an open-file filter: a label and its patterns separated by ";".
struct PreferencesFileFilter {
  QString label;
  QString patterns;
};

class PreferencesDialogs {
 public:
  virtual ~PreferencesDialogs() = default;

  // Modal Yes/No question with a question icon; true for Yes.
  virtual bool question(QWidget* parent, const QString& title, const QString& text) = 0;
  // Open-file dialog for one file with the first filter selected; empty when cancelled.
  virtual QString openFile(QWidget* parent, const QString& title, const QString& startPath,
                           const QList<PreferencesFileFilter>& filters) = 0;
  // Colour and font choosers; empty when cancelled.
  virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
  virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;
};
