#include "ui/progress_dialog.h"

#include "i18n/string_table.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/shorten_middle.h"

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 110;
constexpr int kLabelWidth = kWidth - 20;
constexpr int kPollMilliseconds = 15;

}  // namespace

ProgressDialog::ProgressDialog(MainWindow& window)
    : QDialog(&window),
      window_(window),
      worker_(window.context().settings, window.context().job, window.context().queue,
              window.context().convert) {
  const GuiContext& context = window.context();
  setObjectName(QStringLiteral("progressDialog"));
  setWindowTitle(uiText(context, "Dialog", "Convert Progress"));
  setFixedSize(kWidth, kHeight);
  fileCount_ = static_cast<int>(window.context().queue.size());

  fileLabel_ = new QLabel(this);
  fileLabel_->setGeometry(10, 13, kLabelWidth, 20);
  progressBar_ = new QProgressBar(this);
  progressBar_->setGeometry(10, 40, kLabelWidth, 20);
  progressBar_->setRange(0, fileCount_ + 1);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(false);
  okButton_ = new QPushButton(uiText(context, "Dialog", "OK"), this);
  okButton_->setGeometry(110, 75, 80, 25);
  okButton_->setDefault(true);
  okButton_->setEnabled(false);
  connect(okButton_, &QPushButton::clicked, this, [this] {
    if (endShown_) accept();
  });

  // Average character width of the dialog's font, for shortening long paths.
  const int sampleWidth = QFontMetrics(font()).horizontalAdvance(QStringLiteral("abc123:\\-"));
  if (sampleWidth / 9 > 0) charWidth_ = sampleWidth / 9;
  capacity_ = kLabelWidth / charWidth_;

  timer_ = new QTimer(this);
  timer_->setInterval(kPollMilliseconds);
  connect(timer_, &QTimer::timeout, this, &ProgressDialog::poll);
  worker_.start();
  timer_->start();
}

void ProgressDialog::poll() {
  if (endShown_) return;
  if (worker_.isRunning()) {
    const ConversionWorker::Progress progress = worker_.progress();
    if (progress.processedCount > shownCount_) {
      const GuiContext& context = window_.context();
      const QString counts =
          fillPlaceholders(uiText(context, "Msg", "Progress"), QString::number(progress.processedCount),
                           QString::number(fileCount_), QString(), QString());
      setWindowTitle(uiText(context, "Dialog", "Convert Progress") + QLatin1Char(' ') + counts);
      QString path = progress.currentFile;
      if (path.size() * charWidth_ > kLabelWidth) path = shortenMiddle(path, capacity_);
      fileLabel_->setText(path);
      progressBar_->setValue(progress.processedCount);
      shownCount_ = progress.processedCount;
    }
    return;
  }
  showEnd();
}

void ProgressDialog::showEnd() {
  timer_->stop();
  const GuiContext& context = window_.context();
  // The final counts: the worker has ended, so they no longer change.
  const int processed = worker_.progress().processedCount;
  const int converted = worker_.convertedCount();
  const QString counts = fillPlaceholders(uiText(context, "Msg", "Progress"), QString::number(processed),
                                          QString::number(fileCount_), QString(), QString());
  if (stopped_) {
    const QString stoppedText = uiText(context, "Msg", "Conversion is not complete");
    window_.setStatusText(stoppedText);
    setWindowTitle(stoppedText + QLatin1Char(' ') + counts);
    fileLabel_->setText(stoppedText);
  } else {
    const QString completeText = uiText(context, "Msg", "Conversion complete");
    window_.setStatusText(completeText);
    setWindowTitle(completeText + QLatin1Char(' ') + counts);
    fileLabel_->setText(fillPlaceholders(uiText(context, "Msg", "Files converted"),
                                         QString::number(converted), QString::number(fileCount_), QString(),
                                         QString()));
    progressBar_->setValue(fileCount_ + 1);
  }
  okButton_->setEnabled(true);
  okButton_->setFocus();
  endShown_ = true;
}

void ProgressDialog::reject() {
  if (worker_.isRunning()) {
    worker_.hold();
    const bool breakRun = askBreakConversion(window_.context().dialogs, window_.context().strings, this);
    worker_.release();
    if (breakRun) {
      worker_.requestStop();
      stopped_ = true;
    }
    return;
  }
  QDialog::reject();
}

void runProgressDialog(MainWindow& window) {
  ProgressDialog dialog(window);
  dialog.exec();
  window.activateWindow();
  window.setFocus();
}
