// Choosing what to convert and where to: the Add Input File dialog, the output folder dialog, the
// input chooser window, and the window side of adding a file.
#pragma once

#include "ui/dialog_service.h"
#include "ui/gui_context.h"

#include <QDialog>
#include <QList>
#include <QString>

class MainWindow;
class QPushButton;

// The open-file filter: "All Supported Files" with every accepted extension, one entry per
// format description, then "All Files (*.*)".
QList<FileFilter> inputFileFilters(const GuiContext& context);

// Queues the file (addInputFile) and, in the graphical mode, shows it in the input edit and, when
// the output folder field is empty, adopts the file's folder as output folder. False when the
// file was refused (empty file, extension not accepted); nothing changes then.
bool addInputFileToWindow(MainWindow& window, const QString& path);

// Command 5: the open-file dialog; true when a file was added.
bool addInputFileDialog(MainWindow& window);

// Command 7: the folder dialog, starting in the folder the output list shows; an existing folder
// becomes the output folder and goes first in the history.
void outputFolderDialog(MainWindow& window);

// Command 4: a small window with big buttons for adding a file or a folder. The main window is
// blocked while it is open; the call returns at once.
void inputChooser(MainWindow& window);

class InputChooser : public QDialog {
  Q_OBJECT

 public:
  explicit InputChooser(MainWindow& window);
  QPushButton* filesButton() const { return filesButton_; }
  QPushButton* folderButton() const { return folderButton_; }

 private:
  MainWindow& window_;
  QPushButton* filesButton_ = nullptr;
  QPushButton* folderButton_ = nullptr;
};
