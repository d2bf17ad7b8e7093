// A long graphical session: the same photo converted fifty times through the main window's
// Convert command and the progress dialog; the resident memory stays flat from file to file.
#include "support/resident_memory.h"
#include "ui/input_output.h"
#include "window_fixture.h"

namespace {

class SessionMemory : public WindowTest {};

TEST_F(SessionMemory, FiftyConversionsInOneSessionDoNotGrowTheMemory) {
  MainWindow& w = open();
  ASSERT_TRUE(addInputFileToWindow(w, samplePhoto()));
  dialogs.folderToChoose = folder(QStringLiteral("out"));
  outputFolderDialog(w);
  long atTen = 0;
  for (int i = 1; i <= 50; ++i) {
    const ProgressEnd end = driveProgress(w, [&] { w.dispatchCommand(MainCommand::Convert); });
    ASSERT_EQ(end.label, QStringLiteral("Files converted: 1 of 1")) << "conversion " << i;
    if (i == 10) atTen = residentKb();
  }
  const long atFifty = residentKb();
  ASSERT_GT(atTen, 0);
  std::printf("graphical session: resident memory after 10 conversions %ld KB, after 50 %ld KB\n", atTen,
              atFifty);
  // One float image of this photo is 9 MB; a leak of one per file would add 360 MB.
  if (kMemoryMeasured) {
    EXPECT_LT(atFifty - atTen, 4 * 1024);
  }
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

}  // namespace
