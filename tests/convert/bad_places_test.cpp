// Outputs in bad places: a full disk, read-only folders and targets, names with spaces and
// non-ASCII letters, paths longer than the file system allows. A failed save leaves no partial
// file and an existing target as it was.
#include "support/immutable.h"
#include "convert/pipeline.h"
#include "settings/temp_folder.h"
#include "test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace testing_support;


class BadPlaces : public ::testing::Test {
 protected:
  QString folder() const { return dir_.path() + QLatin1Char('/'); }
  QString target() const { return folder() + QStringLiteral("cheetah_1024x768.hdr"); }
  QStringList entries(const QString& path) const {
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                QDir::Name);
  }

  // Converts the sample into `outputFolder`; the failure reason, or None on success. A plain
  // conversion streams unless the general road is asked for.
  ConversionFailure convert(const QString& outputFolder, const QString& input = cheetahPath(),
                            ConversionRoad road = ConversionRoad::Automatic) {
    ConversionJob job = hdrJob(input, outputFolder);
    const bool ok = convertFileBy(road, settings_, job);
    lastStreamed_ = job.lastStreamed;
    EXPECT_EQ(ok, job.lastFailure == ConversionFailure::None);
    return job.lastFailure;
  }

  QTemporaryDir dir_;
  Settings settings_ = defaultSettings();
  bool lastStreamed_ = false;
};

TEST_F(BadPlaces, AFullDiskKeepsTheOldTargetAndLeavesNoPartialFile) {
  ASSERT_EQ(convert(folder()), ConversionFailure::None);
  const qint64 size = QFileInfo(target()).size();
  ASSERT_GT(size, 100000);
  // Limits where the first write fails, in the middle, and within the last buffered block,
  // which only goes out when the file is closed.
  for (const ConversionRoad road : {ConversionRoad::Automatic, ConversionRoad::General}) {
    for (const qint64 limit : {qint64{0}, qint64{4096}, size / 2, size - 4097, size - 100, size - 1}) {
      ASSERT_TRUE(writeBytes(target(), "old"));
      {
        const FileSizeLimit full(static_cast<rlim_t>(limit));
        EXPECT_EQ(convert(folder(), cheetahPath(), road), ConversionFailure::CannotSave) << "limit " << limit;
      }
      EXPECT_EQ(lastStreamed_, road == ConversionRoad::Automatic);
      EXPECT_EQ(readBytes(target()), QByteArray("old")) << "limit " << limit;
      EXPECT_EQ(entries(dir_.path()), QStringList{QStringLiteral("cheetah_1024x768.hdr")})
          << "limit " << limit;
    }
    // Room for exactly the file: it is written.
    const FileSizeLimit exact(static_cast<rlim_t>(size));
    EXPECT_EQ(convert(folder(), cheetahPath(), road), ConversionFailure::None);
    EXPECT_EQ(QFileInfo(target()).size(), size);
  }
}

TEST_F(BadPlaces, AReadOnlyFolderFailsTheSaveAndStaysEmpty) {
  // /proc refuses new files to everyone, root included.
  EXPECT_EQ(convert(QStringLiteral("/proc/")), ConversionFailure::CannotSave);

  const QString locked = folder() + QStringLiteral("locked/");
  ASSERT_TRUE(QDir().mkpath(locked));
  {
    const Immutable immutable(locked);
    if (immutable.applied()) {
      EXPECT_EQ(convert(locked), ConversionFailure::CannotSave);
      EXPECT_TRUE(entries(locked).isEmpty());
    }
  }
  if (::geteuid() != 0) {
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0555), 0);
    EXPECT_EQ(convert(locked), ConversionFailure::CannotSave);
    EXPECT_TRUE(entries(locked).isEmpty());
    ::chmod(QFile::encodeName(locked).constData(), 0755);
  }
}

TEST_F(BadPlaces, AnUnchangeableTargetStaysUntouched) {
  ASSERT_TRUE(writeBytes(target(), "old"));
  const Immutable immutable(target());
  if (!immutable.applied()) GTEST_SKIP() << "the file system offers no immutable flag here";
  for (const ConversionRoad road : {ConversionRoad::Automatic, ConversionRoad::General}) {
    EXPECT_EQ(convert(folder(), cheetahPath(), road), ConversionFailure::CannotSave);
    EXPECT_EQ(lastStreamed_, road == ConversionRoad::Automatic);
    EXPECT_EQ(readBytes(target()), QByteArray("old"));
    EXPECT_EQ(entries(dir_.path()), QStringList{QStringLiteral("cheetah_1024x768.hdr")});
  }
}

TEST_F(BadPlaces, NamesWithSpacesAndNonAsciiLettersWork) {
  const QString outputFolder = folder() + QStringLiteral("Ausgabe für Ölbilder/");
  ASSERT_TRUE(QDir().mkpath(outputFolder));
  const QString input = folder() + QStringLiteral("mein Foto – Übersee 日本.jpg");
  ASSERT_TRUE(QFile::copy(cheetahPath(), input));
  ASSERT_EQ(convert(outputFolder, input), ConversionFailure::None);
  const QString output = outputFolder + QStringLiteral("mein Foto – Übersee 日本.hdr");
  EXPECT_EQ(entries(outputFolder), QStringList{QFileInfo(output).fileName()});
  const BitmapPtr hdr = loadHdr(output);
  ASSERT_TRUE(hdr);
  EXPECT_EQ(FreeImage_GetWidth(hdr.get()), 1024u);
  EXPECT_EQ(FreeImage_GetHeight(hdr.get()), 768u);
}

TEST_F(BadPlaces, PathsLongerThanTheFileSystemAllowsFailClearly) {
  const QString longName = QStringLiteral("n").repeated(300);  // above the 255-byte name limit
  // An output folder that cannot exist, and one that exists but is named by more than PATH_MAX
  // bytes.
  EXPECT_EQ(convert(folder() + longName + QLatin1Char('/')), ConversionFailure::CannotSave);
  EXPECT_EQ(convert(folder() + QStringLiteral("./").repeated(2100)), ConversionFailure::CannotSave);
  // A mask that makes the file name too long: the temporary file is removed again.
  settings_.advanced.filenameMask = longName + QStringLiteral(".%ext%");
  EXPECT_EQ(convert(folder()), ConversionFailure::CannotSave);
  EXPECT_TRUE(entries(dir_.path()).isEmpty());
  // An input named by too long a path cannot be opened.
  settings_.advanced.filenameMask.clear();
  EXPECT_EQ(convert(folder(), folder() + longName + QStringLiteral(".jpg")), ConversionFailure::CannotOpen);
  EXPECT_TRUE(entries(dir_.path()).isEmpty());
}

}  // namespace
