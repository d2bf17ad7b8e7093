#include "ui/update_check_window.h"

#include "i18n/string_table.h"
#include "settings/settings.h"
#include "ui/dialog_service.h"
#include "ui/message_boxes.h"
#include "ui/web_links.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMetaObject>
#include <QWidget>

#include <atomic>
#include <thread>

namespace {

QString msg(const StringTable& strings, const char* key) {
  return strings.text(QStringLiteral("Msg"), QLatin1String(key));
}

// Refuses to close windows while it is installed. Close requests are not user input to a local
// event loop; a main window closed during the start-up check would end nothing (the main loop
// has not begun) and leave the program running without a window.
class CloseBlocker : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Close || !watched->isWidgetType()) return false;
    if (!static_cast<QWidget*>(watched)->isWindow()) return false;
    event->ignore();
    return true;
  }
};

}  // namespace

net::UpdateOutcome waitForUpdateOutcome(const QString& url, std::chrono::milliseconds timeLimit) {
  std::atomic<bool> done{false};
  net::UpdateOutcome outcome = net::UpdateOutcome::ConnectionProblem;
  QEventLoop loop;
  std::thread worker([&] {
    outcome = net::checkForUpdate(url, timeLimit);
    done = true;
    // Queued: the loop runs on the waiting thread; a quit posted before exec() still ends it.
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  QApplication::setOverrideCursor(Qt::WaitCursor);
  CloseBlocker closeBlocker;
  QCoreApplication::instance()->installEventFilter(&closeBlocker);
  if (!done) loop.exec(QEventLoop::ExcludeUserInputEvents);
  QCoreApplication::instance()->removeEventFilter(&closeBlocker);
  // Should an application quit end the loop early, this wait is still bounded by the fetch's
  // own time limits.
  worker.join();
  QApplication::restoreOverrideCursor();
  return outcome;
}

void showUpdateOutcome(const UpdateCheckWindow& window, net::UpdateOutcome outcome) {
  switch (outcome) {
    case net::UpdateOutcome::ConnectionProblem:
      showError(window.dialogs, window.strings, window.parent,
                msg(window.strings, "Internet connection problems"));
      return;
    case net::UpdateOutcome::NoUpdate:
      showInfo(window.dialogs, window.parent, msg(window.strings, "No Update"),
               msg(window.strings, "No Update Text"));
      return;
    case net::UpdateOutcome::NewUpdate:
      if (window.dialogs.question(window.parent, MessageIcon::Question, msg(window.strings, "New Update"),
                                  msg(window.strings, "New Update Text"))) {
        openHomepage(window.shell);
      }
      return;
  }
}

void runUpdateCheck(const UpdateCheckWindow& window) {
  showUpdateOutcome(window, waitForUpdateOutcome(net::updateInformationUrl()));
}

void periodicUpdateCheck(const UpdateCheckWindow& window, Settings& settings, int64_t now) {
  if (!net::periodicCheckDue(settings.general.updateRange, settings.general.updateDate, now)) return;
  if (window.dialogs.question(window.parent, MessageIcon::Question, msg(window.strings, "Check for Updates"),
                              msg(window.strings, "Ask check for updates"))) {
    runUpdateCheck(window);
  }
  settings.general.updateDate = static_cast<int32_t>(now);
}
