// Hostile theme archives: odd entry names, sizes that lie, entries that expand enormously, empty
// entries. Loading stays in memory and within its limits, and never writes a file.
#include "test_archives.h"
#include "themes/theme_config.h"
#include "themes/themes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstring>

namespace {

using namespace themes;
using namespace themes_test;

const QColor kGreen(0, 160, 0), kBlue(0, 0, 255);

uint32_t readLe32(const QByteArray& bytes, qsizetype at) {
  uint32_t value = 0;
  std::memcpy(&value, bytes.constData() + at, 4);
  return value;
}

void writeLe32(QByteArray& bytes, qsizetype at, uint32_t value) { std::memcpy(bytes.data() + at, &value, 4); }

// Sets the uncompressed size that the archive's central directory (and the local header, where
// it records one) declares for the entry `name`. False when the entry is not found.
bool declareSize(const QString& path, const QByteArray& name, uint32_t size) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite)) return false;
  QByteArray bytes = file.readAll();
  bool patched = false;
  for (qsizetype at = bytes.indexOf("PK\x01\x02"); at >= 0; at = bytes.indexOf("PK\x01\x02", at + 4)) {
    const qsizetype nameLength = static_cast<uint16_t>(readLe32(bytes, at + 28));
    if (bytes.mid(at + 46, nameLength) != name) continue;
    writeLe32(bytes, at + 24, size);
    const qsizetype local = readLe32(bytes, at + 42);
    if (bytes.mid(local, 4) == "PK\x03\x04" && readLe32(bytes, local + 22) != 0)
      writeLe32(bytes, local + 22, size);
    patched = true;
  }
  return patched && file.seek(0) && file.write(bytes) == bytes.size();
}

long peakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

class BadArchive : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    gfx_ = dir_.path() + "/gfx/";
    ASSERT_TRUE(QDir().mkpath(gfx_));
    ASSERT_TRUE(loadBuiltInImages(builtIn_));
    ASSERT_TRUE(loadBuiltInImages(sets_));
    settings_.ui.uiTheme = "odd";
    settings_.ui.uiSize = 0;
  }

  // Every file below the test folder, so that a test can see that nothing was written.
  QStringList filesBelow() const {
    QStringList files;
    QDir root(dir_.path());
    for (const QString& name :
         root.entryList(QDir::Files | QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden))
      files << name;
    for (const QString& name : QDir(gfx_).entryList(QDir::Files | QDir::NoDotAndDotDot | QDir::Hidden))
      files << "gfx/" + name;
    files.sort();
    return files;
  }

  QTemporaryDir dir_;
  QString gfx_;
  ImageSets builtIn_, sets_;
  Settings settings_;
  ThemeRegistry registry_;
};

TEST_F(BadArchive, OddEntryNamesAreOnlyNamesAndNothingIsExtracted) {
  const QString absolute = dir_.path() + "/abs_16.png";
  ASSERT_TRUE(writeZip(gfx_ + "odd.zip",
                       {{"theme.cfg", configText({"[Theme]", "Name=Odd", "[Icons]", "New=../../new",
                                                  "Add=" + absolute.left(absolute.size() - 7).toUtf8(),
                                                  "Help=sub/../help", "Web=..", "Exit="})},
                        {"../../new_16.png", pngBytes(16, kGreen)},
                        {absolute, pngBytes(16, kBlue)},
                        {"sub/../help_16.png", pngBytes(16, kGreen)},
                        {".._16.png", QByteArray()},
                        {"_16.png", QByteArray("not a picture")}}));
  const QStringList before = filesBelow();
  scanThemes(gfx_, registry_);
  EXPECT_EQ(registry_.names.at("odd"), "Odd");
  ASSERT_TRUE(loadTheme(settings_, registry_, gfx_, sets_, true, true, true));
  // Entries match by their exact names, whatever those look like.
  EXPECT_TRUE(isSolid(sets_.menuIcons.image("New"), 16, kGreen));
  EXPECT_TRUE(isSolid(sets_.menuIcons.image("Add"), 16, kBlue));
  EXPECT_TRUE(isSolid(sets_.menuIcons.image("Help"), 16, kGreen));
  EXPECT_EQ(sets_.menuIcons.image("Web"), builtIn_.menuIcons.image("Web"));  // zero-size entry
  EXPECT_TRUE(sets_.menuIcons.image("Exit").isNull());                       // not a picture
  EXPECT_EQ(filesBelow(), before);
  EXPECT_FALSE(QFile::exists(absolute));
}

TEST_F(BadArchive, DeclaredGigabyteEntriesAreSkippedWithoutAllocatingThem) {
  ASSERT_TRUE(
      writeZip(gfx_ + "odd.zip", {{"theme.cfg", configText({"[Theme]", "Name=Big", "[Icons]", "New=new"})},
                                  {"new_16.png", pngBytes(16, kGreen)}}));
  ASSERT_TRUE(declareSize(gfx_ + "odd.zip", "new_16.png", 1u << 30));
  const long before = peakRssKb();
  scanThemes(gfx_, registry_);
  EXPECT_EQ(registry_.names.at("odd"), "Big");
  loadTheme(settings_, registry_, gfx_, sets_, true, true, true);
  EXPECT_EQ(sets_.menuIcons.image("New"), builtIn_.menuIcons.image("New"));
  EXPECT_LT(peakRssKb() - before, 100 * 1024);

  // A theme.cfg that claims a gigabyte: no usable configuration, so nothing changes.
  ASSERT_TRUE(
      writeZip(gfx_ + "odd.zip", {{"theme.cfg", configText({"[Theme]", "Name=Big", "[Icons]", "New=new"})},
                                  {"new_16.png", pngBytes(16, kGreen)}}));
  ASSERT_TRUE(declareSize(gfx_ + "odd.zip", "theme.cfg", 1u << 30));
  loadTheme(settings_, registry_, gfx_, sets_, true, true, true);
  EXPECT_EQ(sets_.menuIcons.image("New"), builtIn_.menuIcons.image("New"));
  EXPECT_LT(peakRssKb() - before, 100 * 1024);
}

TEST_F(BadArchive, AnEntryThatExpandsFarBeyondItsDeclaredSizeIsCutOff) {
  // 200 MB of zeros compress to a few hundred kilobytes; the archive claims 100 bytes.
  const QByteArray bomb(200 * 1024 * 1024, '\0');
  ASSERT_TRUE(writeZip(gfx_ + "odd.zip",
                       {{"theme.cfg", configText({"[Theme]", "Name=Bomb", "[Icons]", "New=new", "Add=add"})},
                        {"new_16.png", bomb},
                        {"add_16.png", pngBytes(16, kBlue)}}));
  ASSERT_TRUE(declareSize(gfx_ + "odd.zip", "new_16.png", 100));
  ASSERT_LT(QFile(gfx_ + "odd.zip").size(), 2 * 1024 * 1024);
  scanThemes(gfx_, registry_);
  loadTheme(settings_, registry_, gfx_, sets_, true, true, true);
  EXPECT_TRUE(sets_.menuIcons.image("New").isNull() ||
              sets_.menuIcons.image("New") == builtIn_.menuIcons.image("New"));
}

TEST_F(BadArchive, EmptyAndNamelessEntriesChangeNothing) {
  ASSERT_TRUE(
      writeZip(gfx_ + "odd.zip", {{"theme.cfg", QByteArray()}, {"new_16.png", pngBytes(16, kGreen)}}));
  scanThemes(gfx_, registry_);
  EXPECT_EQ(registry_.names.at("odd"), "");  // an empty theme.cfg gives no display name
  EXPECT_TRUE(themeList(registry_).empty());
  EXPECT_TRUE(loadTheme(settings_, registry_, gfx_, sets_, true, true, true));
  EXPECT_EQ(sets_.menuIcons.image("New"), builtIn_.menuIcons.image("New"));
}

}  // namespace
