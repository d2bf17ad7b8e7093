// The progress dialog of a graphical conversion: runs the ConversionWorker, shows which file is in
// work, lets the user break the run, and reports the end.
#pragma once

#include "convert/batch.h"

#include <QDialog>

class MainWindow;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

class ProgressDialog : public QDialog {
  Q_OBJECT

 public:
  // Starts the worker on the queued files.
  explicit ProgressDialog(MainWindow& window);

  QLabel* fileLabel() const { return fileLabel_; }
  QProgressBar* progressBar() const { return progressBar_; }
  QPushButton* okButton() const { return okButton_; }
  bool endShown() const { return endShown_; }
  ConversionWorker& worker() { return worker_; }
  // Characters the file label holds.
  int labelCapacity() const { return capacity_; }

  // The close box (and Escape): while the worker runs, asks whether to break (the worker starts no new file
  // while the question is open); otherwise closes.
  void reject() override;

 private:
  void poll();
  void showEnd();

  MainWindow& window_;
  ConversionWorker worker_;
  int fileCount_ = 0;
  int charWidth_ = 7;
  int capacity_ = 40;
  int shownCount_ = 0;
  bool stopped_ = false;
  bool endShown_ = false;
  QLabel* fileLabel_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QTimer* timer_ = nullptr;
};

// Opens the dialog over the main window, runs the conversion and returns when the user has
// closed the dialog after the end.
void runProgressDialog(MainWindow& window);
