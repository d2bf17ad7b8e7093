#include "ui/start_conversion.h"

#include "i18n/string_table.h"
#include "settings/format_lists.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/progress_dialog.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

QString msg(const StringTable& strings, const char* key) {
  return strings.text(QStringLiteral("Msg"), QString::fromLatin1(key));
}

const char* problemKey(StartProblem problem) {
  switch (problem) {
    case StartProblem::None:
      return "";
    case StartProblem::EmptyInput:
      return "Empty input files";
    case StartProblem::EmptyOutputFolder:
      return "Empty output folder";
    case StartProblem::InvalidOutputFolder:
      return "Invalid output folder";
    case StartProblem::InvalidWidth:
      return "Invalid width";
    case StartProblem::InvalidHeight:
      return "Invalid height";
    case StartProblem::InvalidWatermarkFont:
      return "Invalid watermark font";
    case StartProblem::EmptyWatermarkImage:
      return "Empty watermark image";
    case StartProblem::InvalidWatermarkImage:
      return "Invalid watermark image";
  }
  return "";
}

}  // namespace

QString startProblemText(const StringTable& strings, const StartCheck& check) {
  return fillPlaceholders(msg(strings, problemKey(check.problem)), check.detail, QString(), QString(),
                          QString());
}

void startConversion(MainWindow& window) {
  GuiContext& context = window.context();
  const StringTable& strings = context.strings;

  const QString inputText = window.inputEdit()->text().trimmed();
  queueInputForStart(inputText, context.queue);
  context.job.inputPath = inputText;
  const QString outputFolderText = window.outputFolderList()->currentText().trimmed();
  const int formatIndex = window.outputFormatList()->currentData().toInt();
  context.job.outputExtension = outputFormatList().value(formatIndex);
  window.setStatusText(uiText(context, "General", "Preparing"));

  const StartCheck check =
      checkConversionStart(context.settings, context.queue, outputFolderText, context.job, context.loadFont);
  if (check.problem != StartProblem::None) {
    if (check.stopsStatus()) window.setStatusText(msg(strings, "Conversion is not complete"));
    showWarning(context.dialogs, strings, &window, startProblemText(strings, check));
    return;
  }
  // The format list only offers writable formats; should one have no table row, say so rather
  // than write nothing.
  if (!prepareConversionRun(context.settings, context.job)) {
    context.job.watermarkFont.reset();
    window.setStatusText(msg(strings, "Conversion is not complete"));
    showWarning(context.dialogs, strings, &window, msg(strings, "Invalid conversion type"));
    return;
  }

  if (recordOutputFolder(context.settings, context.job.outputFolder)) refreshOutputFolderList(window);
  window.setStatusText(uiText(context, "General", "Converting"));
  runProgressDialog(window);
  // The run's font belongs to this run only.
  context.job.watermarkFont.reset();
}
