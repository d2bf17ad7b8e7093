// The update check in the window: the fetch runs on a worker thread while the window keeps
// painting, and its outcome is shown as a message box or a question.
#pragma once

#include "net/update_check.h"

#include <QString>

#include <chrono>
#include <cstdint>

class DialogService;
class QWidget;
class ShellOpener;
class StringTable;
struct Settings;

// The boxes and services an update check works with.
struct UpdateCheckWindow {
  QWidget* parent = nullptr;
  const StringTable& strings;
  DialogService& dialogs;
  ShellOpener& shell;
};

// Runs net::checkForUpdate(url, timeLimit) on a worker thread and waits for it in a local event
// loop that excludes user input and refuses to close windows: the window repaints and timers run,
// nothing the user does acts before the outcome is known. Returns the worker's outcome.
net::UpdateOutcome waitForUpdateOutcome(const QString& url,
                                        std::chrono::milliseconds timeLimit = net::kFetchTimeLimit);

// Shows an outcome: the "Internet connection problems!" error, the "No Update" information, or
// the "New Update" question that opens the homepage on Yes.
void showUpdateOutcome(const UpdateCheckWindow& window, net::UpdateOutcome outcome);

// Command 23: checks the update-information URL (net::updateInformationUrl) and shows the outcome.
void runUpdateCheck(const UpdateCheckWindow& window);

// The check at start-up: when it is due for `General/Update Range` and `General/Update Date`,
// asks "Do you want to check for updates?", runs the check on Yes, and in any case moves
// `General/Update Date` to `now`. Not due (or range 5): asks nothing and leaves the date.
void periodicUpdateCheck(const UpdateCheckWindow& window, Settings& settings, int64_t now);
