#include "ui/web_commands.h"

#include "platform/clock.h"
#include "platform/paths.h"
#include "ui/about_window.h"
#include "ui/converter_finder.h"
#include "ui/main_window.h"
#include "ui/update_check_window.h"
#include "ui/web_links.h"

namespace {

UpdateCheckWindow updateCheckWindow(MainWindow& window) {
  GuiContext& context = window.context();
  return UpdateCheckWindow{&window, context.strings, context.dialogs, context.shell};
}

QString programFolderOf(const GuiContext& context) {
  return context.job.programFolder.isEmpty() ? platform::programFolder() : context.job.programFolder;
}

}  // namespace

void installWebCommands(MainWindow& window) {
  MainWindow* const w = &window;
  window.setCommandHandler(MainCommand::FindConverter, [w] {
    GuiContext& context = w->context();
    openConverterFinder(*w, context.strings, context.dialogs, context.shell);
  });
  window.setCommandHandler(MainCommand::Manual,
                           [w] { openManual(w->context().shell, programFolderOf(w->context())); });
  window.setCommandHandler(MainCommand::SendFeedback, [w] { openFeedbackMail(w->context().shell); });
  window.setCommandHandler(MainCommand::VisitHomepage, [w] { openHomepage(w->context().shell); });
  window.setCommandHandler(MainCommand::CheckForNewVersion, [w] { runUpdateCheck(updateCheckWindow(*w)); });
  window.setCommandHandler(MainCommand::About, [w] {
    GuiContext& context = w->context();
    openAboutWindow(*w, context.strings, context.shell);
  });
  window.setStartupUpdateCheck(
      [w] { periodicUpdateCheck(updateCheckWindow(*w), w->context().settings, platform::localNow()); });
}
