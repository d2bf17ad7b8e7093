#include "window_fixture.h"

#include "convert/format_tables.h"
#include "ui/input_output.h"

#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace {

using InputOutputTest = WindowTest;

QStringList itemTexts(const QComboBox& list) {
  QStringList texts;
  for (int i = 0; i < list.count(); ++i) texts << list.itemText(i);
  return texts;
}

TEST_F(InputOutputTest, FilterListOfTheAddInputFileDialog) {
  open();
  const QList<FileFilter> filters = inputFileFilters(*context);
  ASSERT_EQ(filters.size(), 3);
  // All patterns in the order of the accepted extensions; the description's entry has them the
  // other way round, the one met last first.
  const QStringList extensions = acceptedInputExtensions();
  QStringList sorted = extensions;
  sorted.sort();
  ASSERT_EQ(sorted, (QStringList{"jif", "jpe", "jpeg", "jpg"}));
  QStringList patterns;
  for (const QString& extension : extensions) patterns << QStringLiteral("*.") + extension;
  EXPECT_EQ(filters[0].label, QStringLiteral("All Supported Files"));
  EXPECT_EQ(filters[0].patterns, patterns.join(QLatin1Char(';')));
  std::reverse(patterns.begin(), patterns.end());
  EXPECT_EQ(filters[1].label, QStringLiteral("JPEG File"));
  EXPECT_EQ(filters[1].patterns, patterns.join(QLatin1Char(';')));
  EXPECT_EQ(filters[2].label, QStringLiteral("All Files (*.*)"));
  EXPECT_EQ(filters[2].patterns, QStringLiteral("*.*"));
}

TEST_F(InputOutputTest, AddInputFileShowsThePathAndAdoptsItsFolder) {
  MainWindow& w = open();
  dialogs.fileToOpen = samplePhoto();
  EXPECT_TRUE(addInputFileDialog(w));
  EXPECT_EQ(dialogs.lastOpenTitle, QStringLiteral("Select Input Files"));
  EXPECT_EQ(dialogs.lastFilters.size(), 3);
  EXPECT_EQ(w.inputEdit()->text(), samplePhoto());
  ASSERT_EQ(queue.size(), 1u);
  EXPECT_EQ(queue.begin()->first, samplePhoto());
  const QString sampleFolder = QStringLiteral(QUILLET_SAMPLES_DIR "/");
  EXPECT_EQ(w.outputFolderList()->currentText(), sampleFolder);
  EXPECT_EQ(job.outputFolder, sampleFolder);
  EXPECT_EQ(settings.file.recentOutFolders, sampleFolder);
  // The dialog opens without a preset file next time.
  EXPECT_TRUE(job.inputPath.isEmpty());

  // A second file replaces the first; a chosen output folder stays.
  const QString other = writeFile(QStringLiteral("second.JPG"), "not really a jpeg");
  dialogs.fileToOpen = other;
  w.dispatchCommand(MainCommand::AddInputFile);
  EXPECT_TRUE(dialogs.lastOpenStart.isEmpty());
  EXPECT_EQ(w.inputEdit()->text(), other);
  ASSERT_EQ(queue.size(), 1u);
  EXPECT_EQ(queue.begin()->first, other);
  EXPECT_EQ(w.outputFolderList()->currentText(), sampleFolder);
}

TEST_F(InputOutputTest, RefusedFilesChangeNothing) {
  MainWindow& w = open();
  const QString empty = writeFile(QStringLiteral("empty.jpg"), QByteArray());
  const QString png = QStringLiteral(QUILLET_SAMPLES_DIR "/logo_rgba_256.png");
  for (const QString& path : {empty, png, QString()}) {
    dialogs.fileToOpen = path;
    EXPECT_FALSE(addInputFileDialog(w)) << path.toStdString();
    EXPECT_TRUE(w.inputEdit()->text().isEmpty());
    EXPECT_TRUE(queue.empty());
    EXPECT_TRUE(settings.file.recentOutFolders.isEmpty());
  }
  EXPECT_TRUE(dialogs.messages.isEmpty());
  // A missing file with an accepted extension is taken; it fails later, in the conversion.
  EXPECT_TRUE(addInputFileToWindow(w, temp.filePath(QStringLiteral("missing.jpeg"))));
}

TEST_F(InputOutputTest, DropTakesOnlyTheFirstFile) {
  MainWindow& w = open();
  const QString second = writeFile(QStringLiteral("b.jpg"), "x");
  const QString third = writeFile(QStringLiteral("c.jpg"), "x");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(samplePhoto()), QUrl::fromLocalFile(second), QUrl::fromLocalFile(third)});
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  // Delivered as the platform's drag-and-drop delivers it; QApplication only passes drops of a
  // drag it runs itself.
  static_cast<QObject&>(w).event(&drop);
  EXPECT_EQ(w.inputEdit()->text(), samplePhoto());
  ASSERT_EQ(queue.size(), 1u);
  EXPECT_EQ(queue.begin()->first, samplePhoto());
}

TEST_F(InputOutputTest, OutputFolderDialogStartsAtTheShownFolderAndRecordsTheChoice) {
  MainWindow& w = open();
  dialogs.fileToOpen = samplePhoto();
  addInputFileDialog(w);
  const QString chosen = folder(QStringLiteral("out"));
  dialogs.folderToChoose = chosen.chopped(1);  // the dialog gives folders without a final "/"
  w.dispatchCommand(MainCommand::SelectOutputFolder);
  EXPECT_EQ(dialogs.lastFolderTitle, QStringLiteral("Select Output Folder"));
  EXPECT_EQ(dialogs.lastFolderStart, QStringLiteral(QUILLET_SAMPLES_DIR "/"));
  EXPECT_EQ(job.outputFolder, chosen);
  EXPECT_EQ(itemTexts(*w.outputFolderList()), (QStringList{chosen, QStringLiteral(QUILLET_SAMPLES_DIR "/")}));
  EXPECT_EQ(w.outputFolderList()->currentText(), chosen);

  // Cancelled, or not an existing folder: nothing changes.
  for (const QString& answer : {QString(), temp.filePath(QStringLiteral("nowhere")), samplePhoto()}) {
    dialogs.folderToChoose = answer;
    outputFolderDialog(w);
    EXPECT_EQ(dialogs.lastFolderStart, chosen);
    EXPECT_EQ(job.outputFolder, chosen);
    EXPECT_EQ(w.outputFolderList()->count(), 2);
  }
}

TEST_F(InputOutputTest, InputChooserAddsAFileOrJustCloses) {
  MainWindow& w = open();
  w.dispatchCommand(MainCommand::InputChooser);
  auto* chooser = w.findChild<InputChooser*>();
  ASSERT_NE(chooser, nullptr);
  EXPECT_TRUE(chooser->isVisible());
  EXPECT_EQ(chooser->windowTitle(), QStringLiteral("Add Input Files..."));
  EXPECT_EQ(chooser->size(), QSize(270, 160));
  EXPECT_EQ(chooser->filesButton()->geometry(), QRect(30, 30, 80, 80));
  EXPECT_EQ(chooser->folderButton()->geometry(), QRect(160, 30, 80, 80));
  EXPECT_TRUE(chooser->isModal());

  dialogs.fileToOpen = samplePhoto();
  chooser->filesButton()->click();
  EXPECT_EQ(dialogs.openFileCalls, 1);
  EXPECT_EQ(w.inputEdit()->text(), samplePhoto());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(w.findChild<InputChooser*>(), nullptr);

  w.dispatchCommand(MainCommand::InputChooser);
  chooser = w.findChild<InputChooser*>();
  ASSERT_NE(chooser, nullptr);
  chooser->folderButton()->click();
  EXPECT_EQ(dialogs.openFileCalls, 1);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(w.findChild<InputChooser*>(), nullptr);
}

}  // namespace
