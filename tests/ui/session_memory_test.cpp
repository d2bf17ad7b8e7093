// A long graphical session: the same photo converted fifty times through the main window's
// Convert command and the progress dialog; the resident memory stays flat from file to file.
#include "window_fixture.h"

#include "ui/input_output.h"

#include <unistd.h>

#include <cstdio>

namespace {

// The sanitizers keep freed memory and history, so their builds run the conversions (for
// ThreadSanitizer and LeakSanitizer) without judging the resident memory.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMeasured = false;
#else
constexpr bool kMeasured = true;
#endif

long residentKb() {
  long pages = 0, resident = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return -1;
  const int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
  std::fclose(statm);
  return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

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
  if (kMeasured) {
    EXPECT_LT(atFifty - atTen, 4 * 1024);
  }
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

}  // namespace
