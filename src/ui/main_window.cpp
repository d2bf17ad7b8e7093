#include "ui/main_window.h"

#include "convert/format_tables.h"
#include "i18n/product.h"
#include "i18n/string_table.h"
#include "settings/format_lists.h"
#include "ui/input_output.h"
#include "ui/preferences_window.h"
#include "ui/start_conversion.h"
#include "ui/web_commands.h"
#include "ui/window_images.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr int kMinimumWidth = 510;
constexpr int kInnerHeight = 260;
// Lowest edge of the controls inside the container (format list and Convert button).
constexpr int kControlsBottom = 125;

struct MenuItem {
  const char* textKey;  // nullptr for a separator
  const char* shortcut;
  const char* icon;
  MainCommand command;
};

struct MenuDefinition {
  const char* titleKey;
  std::initializer_list<MenuItem> items;
};

const MenuItem kSeparator{nullptr, nullptr, nullptr, MainCommand::New};

const MenuDefinition kMenus[] = {
    {"File",
     {{"New", "\tCtrl+N", "New", MainCommand::New},
      kSeparator,
      {"Select Input File", "", "Add", MainCommand::AddInputFile},
      {"Select Output Folder", "", "OutFolder", MainCommand::SelectOutputFolder},
      kSeparator,
      {"Exit", "\tAlt+X", "Exit", MainCommand::Exit}}},
    {"Converter",
     {{"Convert", "\tF5", "Convert", MainCommand::Convert},
      kSeparator,
      {"Custom Converter", "", "CustomConverter", MainCommand::FindConverter},
      kSeparator,
      {"Preferences", "", "Preferences", MainCommand::Preferences}}},
    {"Help",
     {{"Manual", "\tF1", "Help", MainCommand::Manual},
      kSeparator,
      {"Send Feedback", "", "Email", MainCommand::SendFeedback},
      {"Visit Homepage", "", "Web", MainCommand::VisitHomepage},
      {"Check For New Version", "", "Updates", MainCommand::CheckForNewVersion},
      kSeparator,
      {"About", "", "About", MainCommand::About}}},
};

// The main toolbar: icon, tooltip text key, command; nullptr icon for a separator.
const MenuItem kToolBarItems[] = {
    {"New", nullptr, "New", MainCommand::New},
    {"Select Input File", nullptr, "Add", MainCommand::AddInputFile},
    {"Select Output Folder", nullptr, "OutFolder", MainCommand::SelectOutputFolder},
    kSeparator,
    {"Preferences", nullptr, "Preferences", MainCommand::Preferences},
    kSeparator,
    {"Convert", nullptr, "Convert", MainCommand::Convert},
    kSeparator,
    {"Manual", nullptr, "Help", MainCommand::Manual},
    {"Send Feedback", nullptr, "Email", MainCommand::SendFeedback},
    {"Visit Homepage", nullptr, "Web", MainCommand::VisitHomepage},
    {"Check For New Version", nullptr, "Updates", MainCommand::CheckForNewVersion},
};

QToolButton* makeBarButton(QWidget* parent, const QString& tooltip) {
  auto* button = new QToolButton(parent);
  button->setAutoRaise(true);
  button->setIconSize(QSize(16, 16));
  button->setToolTip(tooltip);
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

}  // namespace

MainWindow::MainWindow(GuiContext& context) : context_(context) {
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(product::fullTitle());
  setAcceptDrops(true);

  buildMenuBar();
  buildMainToolBar();

  statusField_ = new QLabel(this);
  statusField_->setObjectName(QStringLiteral("statusField"));
  statusBar()->addWidget(statusField_, 1);
  statusBarHeight_ = statusBar()->sizeHint().height();

  buildControls();
  applyPlacement();

  addShortcut("Ctrl+N", MainCommand::New);
  addShortcut("Alt+X", MainCommand::Exit);
  addShortcut("F5", MainCommand::Convert);
  addShortcut("F1", MainCommand::Manual);

  installWebCommands(*this);
  // Preferences live in this module; the command has already set the start page.
  setCommandHandler(MainCommand::OutputFormatOptions, [this] { openPreferences(*this); });
  setCommandHandler(MainCommand::Preferences, [this] { openPreferences(*this); });
}

int MainWindow::menuBarHeight() const { return menuBar()->sizeHint().height(); }

int MainWindow::innerHeight() const { return height() - menuBarHeight(); }

QString MainWindow::statusText() const { return statusField_->text(); }

void MainWindow::setStatusText(const QString& text) { statusField_->setText(text); }

void MainWindow::buildMenuBar() {
  QMenuBar* bar = menuBar();
  // clear() only removes the menus' actions; the menus themselves are children of the bar.
  const QList<QMenu*> oldMenus = bar->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
  bar->clear();
  qDeleteAll(oldMenus);
  for (const MenuDefinition& definition : kMenus) {
    QMenu* menu = bar->addMenu(uiText(context_, "Menu", definition.titleKey));
    for (const MenuItem& item : definition.items) {
      if (item.textKey == nullptr) {
        menu->addSeparator();
        continue;
      }
      QAction* action =
          menu->addAction(setIcon(context_, ImageSetName::MenuIcons, QString::fromLatin1(item.icon)),
                          uiText(context_, "Menu", item.textKey) + QString::fromLatin1(item.shortcut));
      const MainCommand command = item.command;
      connect(action, &QAction::triggered, this, [this, command] { dispatchCommand(command); });
    }
  }
}

void MainWindow::buildMainToolBar() {
  if (mainToolBar_ != nullptr) {
    removeToolBar(mainToolBar_);
    delete mainToolBar_;
  }
  mainToolBar_ = new QToolBar(this);
  mainToolBar_->setObjectName(QStringLiteral("mainToolBar"));
  mainToolBar_->setMovable(false);
  mainToolBar_->setFloatable(false);
  mainToolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  const int iconSize = themes::toolbarIconSize(context_.settings.ui.uiSize);
  mainToolBar_->setIconSize(QSize(iconSize, iconSize));
  for (const MenuItem& item : kToolBarItems) {
    if (item.textKey == nullptr) {
      mainToolBar_->addSeparator();
      continue;
    }
    QAction* action = mainToolBar_->addAction(
        setIcon(context_, ImageSetName::ToolbarIcons, QString::fromLatin1(item.icon)), QString());
    action->setToolTip(uiText(context_, "Menu", item.textKey));
    const MainCommand command = item.command;
    connect(action, &QAction::triggered, this, [this, command] { dispatchCommand(command); });
  }
  addToolBar(Qt::TopToolBarArea, mainToolBar_);
  toolBarHeight_ = mainToolBar_->sizeHint().height();
}

void MainWindow::buildControls() {
  auto* central = new QWidget(this);
  setCentralWidget(central);

  container_ = new QWidget(central);
  container_->setObjectName(QStringLiteral("container"));
  container_->setGeometry(0, 0, kMinimumWidth, kInnerHeight - 130);

  // Each field's caption overlaps the top of its field by 5 pixels; its text stands at the top
  // of the caption, so that the field does not cut off its descenders.
  auto* inputLabel = new QLabel(uiText(context_, "General", "Input File"), container_);
  inputLabel->setGeometry(10, 5, 350, 20);
  inputLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  inputEdit_ = new QLineEdit(container_);
  inputEdit_->setObjectName(QStringLiteral("inputEdit"));
  inputEdit_->setGeometry(10, 20, 350, 20);
  // Files dropped on the edit go to the window, not into the text.
  inputEdit_->setAcceptDrops(false);
  inputButton_ = makeBarButton(container_, uiText(context_, "Menu", "Select Input File"));
  inputButton_->setGeometry(364, 19, 24, 24);
  connect(inputButton_, &QToolButton::clicked, this, [this] { dispatchCommand(MainCommand::AddInputFile); });

  auto* folderLabel = new QLabel(uiText(context_, "General", "Output Folder"), container_);
  folderLabel->setGeometry(10, 45, 350, 20);
  folderLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  outputFolderList_ = new QComboBox(container_);
  outputFolderList_->setObjectName(QStringLiteral("outputFolderList"));
  outputFolderList_->setEditable(false);
  outputFolderList_->setGeometry(10, 60, 350, 21);
  outputFolderButton_ = makeBarButton(container_, uiText(context_, "Menu", "Select Output Folder"));
  outputFolderButton_->setGeometry(364, 59, 24, 24);
  connect(outputFolderButton_, &QToolButton::clicked, this,
          [this] { dispatchCommand(MainCommand::SelectOutputFolder); });
  // A folder the user picks in the list becomes the job's output folder.
  connect(outputFolderList_, &QComboBox::activated, this,
          [this] { context_.job.outputFolder = outputFolderList_->currentText(); });

  auto* formatLabel = new QLabel(uiText(context_, "General", "Output Format"), container_);
  formatLabel->setGeometry(10, 85, 350, 20);
  formatLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  outputFormatList_ = new QComboBox(container_);
  outputFormatList_->setObjectName(QStringLiteral("outputFormatList"));
  outputFormatList_->setEditable(false);
  outputFormatList_->setGeometry(10, 100, 350, 21);
  outputFormatButton_ = makeBarButton(container_, uiText(context_, "Menu", "Output Format Options"));
  outputFormatButton_->setGeometry(364, 99, 24, 24);
  connect(outputFormatButton_, &QToolButton::clicked, this,
          [this] { dispatchCommand(MainCommand::OutputFormatOptions); });
  connect(outputFormatList_, &QComboBox::activated, this, [this] {
    const int index = outputFormatList_->currentData().toInt();
    const QStringList& formats = ::outputFormatList();
    if (index >= 0 && index < formats.size()) context_.settings.output.format = formats[index];
  });

  convertButton_ = new QPushButton(container_);
  convertButton_->setObjectName(QStringLiteral("convertButton"));
  convertButton_->setGeometry(400, 20, 100, 100);
  convertButton_->setIconSize(QSize(64, 64));
  convertButton_->setToolTip(uiText(context_, "Menu", "Convert"));
  connect(convertButton_, &QPushButton::clicked, this, [this] { dispatchCommand(MainCommand::Convert); });

  noticeLabel_ = new QLabel(QString::fromLatin1(product::kNotice), central);
  noticeLabel_->setObjectName(QStringLiteral("noticeLabel"));
  noticeLabel_->setEnabled(false);

  refreshButtonImages();
}

void MainWindow::refreshButtonImages() {
  inputButton_->setIcon(setIcon(context_, ImageSetName::MenuIcons, QStringLiteral("Add")));
  outputFolderButton_->setIcon(setIcon(context_, ImageSetName::MenuIcons, QStringLiteral("OutFolder")));
  outputFormatButton_->setIcon(setIcon(context_, ImageSetName::MenuIcons, QStringLiteral("OutFormat")));
  convertButton_->setIcon(setIcon(context_, ImageSetName::BigButtons, QStringLiteral("Convert")));
  const QIcon folderIcon = setIcon(context_, ImageSetName::MenuIcons, QStringLiteral("FavFolder"));
  for (int i = 0; i < outputFolderList_->count(); ++i) outputFolderList_->setItemIcon(i, folderIcon);
  const QIcon formatIcon = setIcon(context_, ImageSetName::MenuIcons, QStringLiteral("New"));
  for (int i = 0; i < outputFormatList_->count(); ++i) outputFormatList_->setItemIcon(i, formatIcon);
}

void MainWindow::applyPlacement() {
  const Settings::Window& stored = context_.settings.window;
  const int menu = menuBarHeight();
  setMinimumSize(kMinimumWidth, kInnerHeight + menu);
  setMaximumHeight(kInnerHeight + menu);
  resize(std::max<int>(stored.width, kMinimumWidth), kInnerHeight + menu);
  move(stored.x, stored.y);
}

void MainWindow::addShortcut(const char* keys, MainCommand command) {
  auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys)), this);
  connect(shortcut, &QShortcut::activated, this, [this, command] { dispatchCommand(command); });
}

void MainWindow::setCommandHandler(MainCommand command, std::function<void()> handler) {
  handlers_[command] = std::move(handler);
}

void MainWindow::dispatchCommand(MainCommand command) {
  switch (command) {
    case MainCommand::New:
      newJob(*this);
      return;
    case MainCommand::Exit:
      close();
      return;
    case MainCommand::InputChooser:
      inputChooser(*this);
      return;
    case MainCommand::AddInputFile:
      addInputFileDialog(*this);
      return;
    case MainCommand::SelectOutputFolder:
      outputFolderDialog(*this);
      return;
    case MainCommand::Convert:
      startConversion(*this);
      return;
    case MainCommand::OutputFormatOptions:
      context_.job.preferencesPage = 3;
      break;
    case MainCommand::Preferences:
      context_.job.preferencesPage = 0;
      break;
    default:
      break;
  }
  const auto handler = handlers_.find(command);
  if (handler != handlers_.end() && handler->second) handler->second();
}

void MainWindow::dropFiles(const QStringList& paths) {
  if (!paths.isEmpty()) addInputFileToWindow(*this, paths.first());
}

void MainWindow::postSizeEvent() { QCoreApplication::postEvent(this, new QResizeEvent(size(), size())); }

void MainWindow::runStartupUpdateCheck() {
  if (startupUpdateCheck_) startupUpdateCheck_();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (layoutEnabled_) layoutMainWindow(*this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  emit quitRequested();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty()) return;
  event->acceptProposedAction();
  // Only the first dropped item counts; a non-file item adds nothing.
  if (urls.first().isLocalFile()) dropFiles({urls.first().toLocalFile()});
}

void startMainWindow(MainWindow& window) {
  GuiContext& context = window.context();
  buildFormatTables();
  window.enableLayout();
  if (context.settings.window.isMaximized == 1)
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
  if (context.settings.file.recentOutFolders.isEmpty()) {
    window.outputFolderList()->addItem(setIcon(context, ImageSetName::MenuIcons, QStringLiteral("FavFolder")),
                                       QString());
  }
  fillOutputFormatList(*window.outputFormatList(), true, context);
  newJob(window);
  window.show();
  window.postSizeEvent();
  if (!context.screenshotMode) window.runStartupUpdateCheck();
}

void newJob(MainWindow& window) {
  GuiContext& context = window.context();
  refreshOutputFolderList(window);
  resetConversionState(context.job, context.queue);
  window.inputEdit()->clear();
  window.outputFolderList()->setCurrentIndex(-1);
  window.setStatusText(uiText(context, "General", "Ready"));
  window.inputEdit()->setFocus();
}

void layoutMainWindow(MainWindow& window) {
  const int width = window.innerWidth();
  const int height = window.innerHeight();
  const int containerHeight =
      height - window.menuBarHeight() - window.toolBarHeight() - window.statusBarHeight() - 40;
  // Never cut the controls off, even with the largest toolbar icons.
  window.container()->setGeometry(0, 0, width, std::max(containerHeight, kControlsBottom));
  for (QWidget* field :
       {static_cast<QWidget*>(window.inputEdit()), static_cast<QWidget*>(window.outputFolderList()),
        static_cast<QWidget*>(window.outputFormatList())}) {
    field->resize(width - 160, field->height());
  }
  window.inputButton()->setGeometry(width - 146, 19, 24, 24);
  window.outputFolderButton()->setGeometry(width - 146, 59, 24, 24);
  window.outputFormatButton()->setGeometry(width - 146, 99, 24, 24);
  window.convertButton()->move(width - 110, window.convertButton()->y());
  // The notice sits at a fixed distance from the bottom of the inner area, below the toolbar.
  window.noticeLabel()->setGeometry(10, height - 70 - window.toolBarHeight(), 350, 20);
  window.update();
}

void fillOutputFormatList(QComboBox& list, bool withDescriptions, const GuiContext& context) {
  list.clear();
  const QStringList& formats = ::outputFormatList();
  const QIcon icon = setIcon(context, ImageSetName::MenuIcons, QStringLiteral("New"));
  int selected = -1;
  for (int i = 0; i < formats.size() && i <= 127; ++i) {
    const QString& extension = formats[i];
    if (extension.isEmpty()) continue;
    QString itemText = extension.toUpper();
    if (withDescriptions)
      itemText += QStringLiteral(" (") + outputFormat(extension).description + QLatin1Char(')');
    list.addItem(icon, itemText, i);
    if (selected < 0 && extension == context.settings.output.format) selected = list.count() - 1;
  }
  list.setCurrentIndex(selected >= 0 ? selected : (list.count() > 0 ? 0 : -1));
}

void refreshOutputFolderList(MainWindow& window) {
  GuiContext& context = window.context();
  const std::optional<FolderComboContent> content =
      outputFolderCombo(context.settings.file.recentOutFolders, context.settings.advanced.outFoldersNumber,
                        context.job.outputFolder);
  if (!content) return;
  QComboBox* list = window.outputFolderList();
  list->clear();
  const QIcon icon = setIcon(context, ImageSetName::MenuIcons, QStringLiteral("FavFolder"));
  for (const QString& entry : content->entries) list->addItem(icon, entry);
  list->setCurrentIndex(content->selected);
}

void rebuildAfterPreferences(MainWindow& window, int preferencesFormatIndex) {
  GuiContext& context = window.context();
  const int flag = context.job.interfaceChangeFlag;
  if (flag == 2) {
    reloadThemeImages(context, false, false, true);
    window.buildMainToolBar();
    window.postSizeEvent();
  } else if (flag == 1) {
    reloadThemeImages(context, true, true, true);
    window.buildMenuBar();
    window.buildMainToolBar();
    window.refreshButtonImages();
    window.postSizeEvent();
  }
  context.job.interfaceChangeFlag = 0;
  window.outputFormatList()->setCurrentIndex(preferencesFormatIndex);
  if (window.outputFolderList()->count() != context.settings.advanced.outFoldersNumber) {
    refreshOutputFolderList(window);
  }
}
