#include "ui/input_output.h"

#include "convert/batch.h"
#include "convert/format_tables.h"
#include "i18n/string_table.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "ui/main_window.h"
#include "ui/window_images.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace {}  // namespace

QList<FileFilter> inputFileFilters(const GuiContext& context) {
  QString allPatterns;
  // Descriptions in the order first met, each with its patterns, the one met last first.
  QList<std::pair<QString, QString>> byDescription;
  for (const QString& extension : acceptedInputExtensions()) {
    const QString pattern = QStringLiteral("*.") + extension;
    allPatterns += pattern + QLatin1Char(';');
    const QString description = inputFormat(extension).description;
    auto entry = std::find_if(byDescription.begin(), byDescription.end(),
                              [&](const auto& item) { return item.first == description; });
    if (entry == byDescription.end()) {
      byDescription.append({description, pattern});
    } else {
      entry->second = pattern + QLatin1Char(';') + entry->second;
    }
  }
  allPatterns.chop(1);

  QList<FileFilter> filters;
  filters.append({uiText(context, "Dialog", "All Supported Files"), allPatterns});
  for (const auto& [description, patterns] : byDescription) filters.append({description, patterns});
  filters.append({uiText(context, "Dialog", "All Files") + QStringLiteral(" (*.*)"), QStringLiteral("*.*")});
  return filters;
}

bool addInputFileToWindow(MainWindow& window, const QString& path) {
  GuiContext& context = window.context();
  const AddInputOutcome outcome = addInputFile(path, context.job, context.queue);
  if (!outcome.queued) return false;
  if (context.job.consoleMode != 0) return true;
  window.inputEdit()->setText(path);
  if (window.outputFolderList()->currentText().isEmpty()) {
    adoptOutputFolder(context.settings, context.job, outcome.defaultOutputFolder);
    refreshOutputFolderList(window);
  }
  return true;
}

bool addInputFileDialog(MainWindow& window) {
  GuiContext& context = window.context();
  const QString path = context.dialogs.openFile(&window, uiText(context, "Dialog", "Select Input Files"),
                                                context.job.inputPath, inputFileFilters(context));
  const bool added = !path.isEmpty() && addInputFileToWindow(window, path);
  // The input edit holds the file from now on; the next dialog starts without a preset name.
  context.job.inputPath.clear();
  window.postSizeEvent();
  return added;
}

void outputFolderDialog(MainWindow& window) {
  GuiContext& context = window.context();
  QString start = context.job.outputFolder;
  const QString shown = window.outputFolderList()->currentText();
  if (!shown.isEmpty()) start = platform::folderOf(shown);
  const QString chosen =
      context.dialogs.chooseFolder(&window, uiText(context, "Dialog", "Select Output Folder"), start);
  if (!chosen.isEmpty() && platform::isFolder(chosen)) {
    const QString folder = platform::withTrailingSeparator(chosen);
    recordOutputFolder(context.settings, folder);
    context.job.outputFolder = folder;
    refreshOutputFolderList(window);
  }
  window.postSizeEvent();
}

InputChooser::InputChooser(MainWindow& window) : QDialog(&window), window_(window) {
  const GuiContext& context = window.context();
  setObjectName(QStringLiteral("inputChooser"));
  setWindowTitle(uiText(context, "Menu", "Select Input Files"));
  setFixedSize(270, 160);

  filesButton_ = new QPushButton(this);
  filesButton_->setGeometry(30, 30, 80, 80);
  filesButton_->setIcon(setIcon(context, ImageSetName::BigButtons, QStringLiteral("InFiles")));
  filesButton_->setIconSize(QSize(48, 48));
  auto* filesCaption = new QLabel(uiText(context, "Menu", "Select Input File"), this);
  filesCaption->setGeometry(10, 120, 120, 30);
  filesCaption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  filesCaption->setWordWrap(true);

  folderButton_ = new QPushButton(this);
  folderButton_->setGeometry(160, 30, 80, 80);
  folderButton_->setIcon(setIcon(context, ImageSetName::BigButtons, QStringLiteral("InFolder")));
  folderButton_->setIconSize(QSize(48, 48));
  auto* folderCaption = new QLabel(uiText(context, "Menu", "Select Input Folder"), this);
  folderCaption->setGeometry(140, 120, 120, 30);
  folderCaption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  folderCaption->setWordWrap(true);

  connect(filesButton_, &QPushButton::clicked, this, [this] {
    hide();
    addInputFileDialog(window_);
    reject();
  });
  // Adding a whole folder is not offered by this converter: the button only closes the window.
  connect(folderButton_, &QPushButton::clicked, this, [this] {
    hide();
    reject();
  });
  connect(this, &QDialog::finished, &window_, [main = &window_] { main->activateWindow(); });
  filesButton_->setFocus();
}

void inputChooser(MainWindow& window) {
  auto* chooser = new InputChooser(window);
  chooser->setAttribute(Qt::WA_DeleteOnClose);
  chooser->open();
  chooser->filesButton()->setFocus();
}
