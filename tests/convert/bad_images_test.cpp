// Inputs that are not usable JPEGs fail in the engine with their reason, write nothing, leave no
// temporary file, and cost little memory: nothing is decoded that the header does not allow.
#include "convert/pipeline.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

using namespace testing_support;

QString image(const char* name) {
  return QStringLiteral(QUILLET_TEST_DATA_DIR "/images/") + QString::fromLatin1(name);
}

long peakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(BadImages, FailWithTheirReasonAndWriteNothing) {
  const struct {
    const char* file;
    ConversionFailure failure;
  } cases[] = {
      {"empty.jpg", ConversionFailure::CannotOpen},           // zero bytes
      {"text.jpg", ConversionFailure::CannotOpen},            // a text file named .jpg
      {"png.jpg", ConversionFailure::CannotOpen},             // a PNG named .jpg
      {"junk_after_soi.jpg", ConversionFailure::CannotOpen},  // random bytes after a start marker
      {"huge_header.jpg", ConversionFailure::TooLarge},       // a header claiming 65000 x 65000
  };
  QTemporaryDir dir;
  const Settings settings = defaultSettings();
  const long before = peakRssKb();
  for (const auto& c : cases) {
    ConversionJob job = hdrJob(image(c.file), dir.path() + QLatin1Char('/'));
    EXPECT_FALSE(convertFile(settings, job)) << c.file;
    EXPECT_EQ(job.lastFailure, c.failure) << c.file;
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << c.file;
  }
  EXPECT_LT(peakRssKb() - before, 20 * 1024);
}

}  // namespace
