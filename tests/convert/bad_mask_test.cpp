// Filename masks at their extremes: very long, full of stray percent signs, and masks whose
// input name brings in further tokens that would multiply the length at every step.
#include "convert/naming.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

ConversionJob job(const QString& input) {
  ConversionJob job;
  job.inputPath = input;
  job.outputFolder = QStringLiteral("/out/");
  job.outputExtension = QStringLiteral("hdr");
  job.counter = 7;
  job.randomValue = 42;
  job.clock = [] { return std::tm{}; };
  return job;
}

Settings withMask(const QString& mask) {
  Settings settings = testing_support::defaultSettings();
  settings.advanced.filenameMask = mask;
  return settings;
}

long peakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(BadMask, PercentSignsThatFormNoTokenStay) {
  const struct {
    const char* mask;
    const char* path;
  } cases[] = {
      {"%", "/out/%"},
      {"%%", "/out/%%"},
      {"%%%n%%%", "/out/%%00007%%"},
      {"100% %filename% %ext", "/out/100% photo %ext"},
      {"%n", "/out/%n"},
      {"%filename[x]%.%ext%", "/out/%filename[x]%.hdr"},
      {"%%filename%%", "/out/%photo%"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(expandMask(withMask(QString::fromUtf8(c.mask)), job(QStringLiteral("/in/photo.jpg"))),
              QString::fromUtf8(c.path))
        << c.mask;
}

TEST(BadMask, AMaskAsLongAsAParameterExpandsWhole) {
  // 128 KiB of "%n%" tokens: each becomes the five-digit counter.
  const QString mask = QStringLiteral("%n%").repeated(128 * 1024 / 3);
  const QString path = expandMask(withMask(mask), job(QStringLiteral("/in/a.jpg")));
  EXPECT_EQ(path, QStringLiteral("/out/") + QStringLiteral("00007").repeated(128 * 1024 / 3));
}

TEST(BadMask, TokensBroughtInByTheNameCannotMultiplyWithoutBound) {
  // A 255-byte input name made of the next tokens in the order: without a bound, each step
  // would multiply the text, to gigabytes.
  QString name = QStringLiteral("%filename[u]%").repeated(6) + QStringLiteral("%filename[l]%").repeated(6) +
                 QStringLiteral("%filename[t]%").repeated(7);
  name += QStringLiteral("x").repeated(255 - name.size() - 4) + QStringLiteral(".jpg");
  ASSERT_EQ(name.size(), 255);
  const QString mask = QStringLiteral("%filename%").repeated(1000);
  const long before = peakRssKb();
  const QString path = expandMask(withMask(mask), job(QStringLiteral("/in/") + name));
  EXPECT_LT(peakRssKb() - before, 200 * 1024);
  // The first step fits within the bound; the next would pass it, so it and the later tokens
  // stay as they are.
  EXPECT_EQ(path, QStringLiteral("/out/") + name.chopped(4).repeated(1000));

  // Masks so long that even the first step would pass the bound stay unexpanded.
  const QString longer = QStringLiteral("%filename%").repeated(13000);
  EXPECT_EQ(expandMask(withMask(longer), job(QStringLiteral("/in/") + name)), QStringLiteral("/out/") + longer);

  // A watermark text goes through the same expansion.
  EXPECT_LE(expandTokens(mask, job(QStringLiteral("/in/") + name)).size(), kMaxExpandedLength);
}

}  // namespace
