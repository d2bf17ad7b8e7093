#include "convert/naming.h"
#include "platform/clock.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

using testing_support::defaultSettings;

std::tm fixedTime() {
  std::tm t{};
  t.tm_year = 2024 - 1900;
  t.tm_mon = 2;
  t.tm_mday = 5;
  t.tm_hour = 7;
  t.tm_min = 8;
  t.tm_sec = 9;
  return t;
}

ConversionJob namingJob(const char* input) {
  ConversionJob job;
  job.inputPath = QString::fromUtf8(input);
  job.outputFolder = QStringLiteral("/out/");
  job.outputExtension = QStringLiteral("hdr");
  job.outputBpp = 96;
  job.resultWidth = 640;
  job.resultHeight = 480;
  job.counter = 1;
  job.randomValue = 42;
  job.clock = fixedTime;
  return job;
}

TEST(Naming, MaskExamples) {
  struct Case {
    const char* mask;
    const char* input;
    int32_t counter;
    const char* path;
  };
  const Case cases[] = {
      {"", "/in/Photo.JPG", 1, "/out/Photo.hdr"},
      {"%filename%.%ext%", "/in/Photo.JPG", 1, "/out/Photo.hdr"},
      {"%FILENAME[U]%_%n%.%EXT%", "/in/Photo.jpg", 1, "/out/PHOTO_00001.hdr"},
      {"%filename[l]%.%ext[u]%", "/in/Photo.jpg", 1, "/out/photo.HDR"},
      {"%filename[t]%.%ext[t]%", "/in/mY pHOTO.jpg", 1, "/out/My photo.Hdr"},
      {"%yyyy%%mm%%dd%-%hh%%ii%%ss%.%ext%", "/in/a.jpg", 1, "/out/20240305-070809.hdr"},
      {"%width%x%height%_%bpp%.%ext%", "/in/a.jpg", 1, "/out/640x480_96.hdr"},
      {"%filename%", "/in/Photo.jpg", 1, "/out/Photo"},
      {"Copy_of_%filename%", "/in/Photo.jpg", 1, "/out/copy_of_Photo"},
      {"%n%_%rnd%", "/in/a.jpg", 123456, "/out/123456_00042"},
      {"%n%", "/in/a.jpg", 99999, "/out/99999"},
      {"100% %x% %n", "/in/a.jpg", 1, "/out/100% %x% %n"},
      {"%filename%.%ext%", "/in/no_extension", 1, "/out/no_extension.hdr"},
      {"%filename%.%ext%", "/in/archive.tar.jpg", 1, "/out/archive.tar.hdr"},
      // A token that a replacement brings in is expanded when its own turn comes...
      {"%filename%.%ext%", "/in/shot%n%.jpg", 7, "/out/shot00007.hdr"},
      {"%filename%", "/in/b%EXT%.jpg", 1, "/out/bhdr"},
      // ...but earlier tokens are not revisited.
      {"%ext%", "/in/a.jpg", 1, "/out/hdr"},
      {"%n%-%filename%", "/in/%filename%.jpg", 3, "/out/00003-%filename%"},
  };
  for (const Case& c : cases) {
    Settings settings = defaultSettings();
    settings.advanced.filenameMask = QString::fromUtf8(c.mask);
    ConversionJob job = namingJob(c.input);
    job.counter = c.counter;
    EXPECT_EQ(expandMask(settings, job), QString::fromUtf8(c.path)) << c.mask << " " << c.input;
  }
}

TEST(Naming, RelativeSubfolderOnlyWhenKept) {
  Settings settings = defaultSettings();
  ConversionJob job = namingJob("/in/sub/Photo.jpg");
  job.relativeSubfolder = QStringLiteral("sub/");
  EXPECT_EQ(expandMask(settings, job), QStringLiteral("/out/sub/Photo.hdr"));
  settings.advanced.keepSubfolders = 0;
  EXPECT_EQ(expandMask(settings, job), QStringLiteral("/out/Photo.hdr"));
}

TEST(Naming, TokensForWatermarkTexts) {
  const ConversionJob job = namingJob("/in/photo.jpg");
  EXPECT_EQ(expandTokens(QStringLiteral("Shot %FileName% in %YYYY%, Size %Width%"), job),
            QStringLiteral("Shot photo in 2024, Size 640"));
  EXPECT_EQ(expandToken(QStringLiteral("a %n% b %N%"), QStringLiteral("%N%"), job),
            QStringLiteral("a 00001 b 00001"));
  EXPECT_EQ(expandToken(QStringLiteral("a %x%"), QStringLiteral("%x%"), job), QStringLiteral("a %x%"));
  EXPECT_EQ(maskTokens().size(), 18);
  EXPECT_EQ(maskTokens().front(), QStringLiteral("%filename%"));
  EXPECT_EQ(maskTokens().back(), QStringLiteral("%n%"));
}

TEST(Naming, ClockIsReadPerDateToken) {
  ConversionJob job = namingJob("/in/a.jpg");
  int reads = 0;
  job.clock = [&reads] {
    std::tm t = fixedTime();
    t.tm_sec += reads++;
    return t;
  };
  Settings settings = defaultSettings();
  settings.advanced.filenameMask = QStringLiteral("%ss%-%ss%-%ii%-%ss%");
  // One reading for each token, shared by its occurrences; "%ii%" comes before "%ss%".
  EXPECT_EQ(expandMask(settings, job), QStringLiteral("/out/10-10-08-10"));
  EXPECT_EQ(reads, 2);

  job.clock = nullptr;
  settings.advanced.filenameMask = QStringLiteral("%yyyy%");
  EXPECT_EQ(expandMask(settings, job),
            QStringLiteral("/out/") + QString::number(platform::localTimeNow().tm_year + 1900));
}

}  // namespace
