#include "test_archives.h"
#include "themes/themes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace themes;
using namespace themes_test;

const QColor kRed(255, 0, 0), kGreen(0, 160, 0), kBlue(0, 0, 255), kGold(255, 200, 0);

// A theme that overrides some images, lacks or breaks others, and has an empty entry.
Entries customTheme() {
  return {
      {"theme.cfg",
       configText({"[Theme]", "Name=Custom Theme", "", "[Buttons]", "Convert=convert.PNG", "InFiles=missing",
                   "", "[Icons]", "New=new", "Add=add", "Help=broken", "Web=web"})},
      {"convert.png", pngBytes(64, kGreen)},  // names match exactly: not the entry of "convert.PNG"
      {"convert.PNG", pngBytes(64, kRed)},
      {"new_16.png", pngBytes(16, kGreen)},
      {"add_16.png", pngBytes(16, kBlue)},
      {"add_64.png", pngBytes(64, kBlue)},
      {"broken_16.png", QByteArray("this is not a picture")},
      {"web_16.png", QByteArray()},  // size 0: ignored
  };
}

class ThemeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    gfx_ = dir_.path() + "/gfx/";
    ASSERT_TRUE(QDir().mkpath(gfx_));
    ASSERT_TRUE(loadBuiltInImages(builtIn_));
    ASSERT_TRUE(loadBuiltInImages(sets_));
    settings_.ui.uiTheme = "custom";
    settings_.ui.uiSize = 4;
  }

  void expectUnchanged(const char* what) {
    for (const QString& key : bigButtonKeys())
      EXPECT_EQ(sets_.bigButtons.image(key), builtIn_.bigButtons.image(key))
          << what << " " << key.toStdString();
    for (const QString& key : iconKeys()) {
      EXPECT_EQ(sets_.menuIcons.image(key), builtIn_.menuIcons.image(key))
          << what << " " << key.toStdString();
      EXPECT_EQ(sets_.toolbarIcons.image(key), builtIn_.toolbarIcons.image(key))
          << what << " " << key.toStdString();
    }
  }

  QTemporaryDir dir_;
  QString gfx_;
  ImageSets builtIn_, sets_;
  Settings settings_;
  ThemeRegistry registry_;
};

TEST_F(ThemeTest, OverlaysTheChosenImages) {
  ASSERT_TRUE(writeZip(gfx_ + "custom.zip", customTheme()));
  ASSERT_EQ(scanThemes(gfx_, registry_), 1);
  ASSERT_TRUE(loadTheme(settings_, registry_, gfx_, sets_, true, true, true));

  EXPECT_TRUE(isSolid(sets_.bigButtons.image("Convert"), 64, kRed));                   // ".PNG" as is
  EXPECT_EQ(sets_.bigButtons.image("InFiles"), builtIn_.bigButtons.image("InFiles"));  // entry missing
  EXPECT_TRUE(isSolid(sets_.menuIcons.image("New"), 16, kGreen));                      // 16-pixel file
  EXPECT_EQ(sets_.toolbarIcons.image("New"), builtIn_.toolbarIcons.image("New"));      // no new_64.png
  EXPECT_TRUE(isSolid(sets_.menuIcons.image("Add"), 16, kBlue));
  EXPECT_TRUE(isSolid(sets_.toolbarIcons.image("Add"), 64, kBlue));                  // UI size 4
  EXPECT_TRUE(sets_.menuIcons.image("Help").isNull());                               // not a PNG
  EXPECT_EQ(sets_.toolbarIcons.image("Help"), builtIn_.toolbarIcons.image("Help"));  // no broken_64
  EXPECT_EQ(sets_.menuIcons.image("Web"), builtIn_.menuIcons.image("Web"));          // size 0
  EXPECT_EQ(sets_.menuIcons.image("About"), builtIn_.menuIcons.image("About"));      // not configured
  EXPECT_EQ(settings_.ui.uiTheme, "custom");
}

TEST_F(ThemeTest, SwitchesChooseTheSets) {
  ASSERT_TRUE(writeZip(gfx_ + "custom.zip", customTheme()));
  scanThemes(gfx_, registry_);
  settings_.ui.uiSize = 0;
  ASSERT_TRUE(loadTheme(settings_, registry_, gfx_, sets_, false, false, true));
  EXPECT_TRUE(isSolid(sets_.toolbarIcons.image("Add"), 16, kBlue));
  EXPECT_EQ(sets_.menuIcons.image("Add"), builtIn_.menuIcons.image("Add"));
  EXPECT_EQ(sets_.bigButtons.image("Convert"), builtIn_.bigButtons.image("Convert"));
}

TEST_F(ThemeTest, AnImageKeepsItsPreviousThemeWhenTheNextLacksIt) {
  ASSERT_TRUE(writeZip(gfx_ + "custom.zip", customTheme()));
  ASSERT_TRUE(writeZip(gfx_ + "other.zip",
                       {{"theme.cfg", configText({"[Theme]", "Name=Other", "[Icons]", "Add=plus"})},
                        {"plus_16.png", pngBytes(16, kGold)}}));
  scanThemes(gfx_, registry_);
  ASSERT_TRUE(loadTheme(settings_, registry_, gfx_, sets_, true, true, true));
  settings_.ui.uiTheme = "other";
  ASSERT_TRUE(loadTheme(settings_, registry_, gfx_, sets_, true, true, true));
  EXPECT_TRUE(isSolid(sets_.menuIcons.image("Add"), 16, kGold));
  EXPECT_TRUE(isSolid(sets_.menuIcons.image("New"), 16, kGreen));
  EXPECT_TRUE(isSolid(sets_.bigButtons.image("Convert"), 64, kRed));
}

TEST_F(ThemeTest, ScanReadsNamesFromTheFirst255Bytes) {
  const QByteArray padding(300, 'x');
  ASSERT_TRUE(writeZip(gfx_ + "custom.zip", customTheme()));
  ASSERT_TRUE(
      writeZip(gfx_ + "late.zip", {{"theme.cfg", configText({"; " + padding, "[Theme]", "Name=Too Late"})}}));
  ASSERT_TRUE(writeZip(gfx_ + "nocfg.zip", {{"new_16.png", pngBytes(16, kGreen)}}));
  ASSERT_TRUE(writeFile(gfx_ + "garbage.zip", "not a zip archive at all"));
  ASSERT_TRUE(writeFile(gfx_ + "empty.zip", ""));
  ASSERT_TRUE(writeFile(gfx_ + "readme.txt", "not a theme"));
  ASSERT_TRUE(writeFile(gfx_ + "upper.ZIP", "a different extension"));
  ASSERT_TRUE(QDir().mkpath(gfx_ + "folder.zip"));

  EXPECT_EQ(scanThemes(gfx_, registry_), 5);
  const std::map<QString, QString> expected = {{"custom", "Custom Theme"},
                                               {"empty", "empty"},      // not opened: the id
                                               {"garbage", "garbage"},  // not opened: the id
                                               {"late", ""},
                                               {"nocfg", ""}};
  EXPECT_EQ(registry_.names, expected);
  EXPECT_EQ(registry_.lastFound, "nocfg");

  const std::vector<ThemeEntry> list = themeList(registry_);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].id, "custom");
  EXPECT_EQ(list[0].name, "Custom Theme");
  EXPECT_EQ(list[1].id, "empty");
  EXPECT_EQ(list[2].id, "garbage");
}

TEST_F(ThemeTest, MissingThemeFallsBackToTheLastFound) {
  ASSERT_TRUE(writeZip(gfx_ + "custom.zip", customTheme()));
  scanThemes(gfx_, registry_);
  for (const char* configured : {"gone", "", "../gfx/custom", "Custom"}) {
    settings_.ui.uiTheme = configured;
    EXPECT_TRUE(loadTheme(settings_, registry_, gfx_, sets_, true, true, true)) << configured;
    EXPECT_EQ(settings_.ui.uiTheme, "custom") << configured;
  }
  EXPECT_TRUE(isSolid(sets_.menuIcons.image("New"), 16, kGreen));
}

TEST_F(ThemeTest, UnreadableArchivesChangeNothing) {
  ASSERT_TRUE(writeZip(gfx_ + "good.zip", customTheme()));
  QFile good(gfx_ + "good.zip");
  ASSERT_TRUE(good.open(QIODevice::ReadOnly));
  const QByteArray whole = good.readAll();
  good.close();
  ASSERT_TRUE(writeZip(gfx_ + "noentries.zip", {}));

  const std::pair<const char*, QByteArray> cases[] = {
      {"empty file", QByteArray()},
      {"garbage", QByteArray("PK\x03\x04 but nothing else of a zip archive")},
      {"first half of an archive", whole.left(whole.size() / 2)},
      {"archive cut in its directory", whole.left(whole.size() - 30)},
      {"directory lost, only zeros", QByteArray(whole.size(), '\0')},
  };
  for (const auto& [what, bytes] : cases) {
    ASSERT_TRUE(writeFile(gfx_ + "broken.zip", bytes));
    settings_.ui.uiTheme = "broken";
    scanThemes(gfx_, registry_);
    EXPECT_EQ(registry_.names.count("broken"), 1u) << what;
    EXPECT_FALSE(loadTheme(settings_, registry_, gfx_, sets_, true, true, true)) << what;
    EXPECT_EQ(settings_.ui.uiTheme, "broken") << what;
    expectUnchanged(what);
  }
  settings_.ui.uiTheme = "noentries";
  loadTheme(settings_, registry_, gfx_, sets_, true, true, true);
  EXPECT_EQ(settings_.ui.uiTheme, "noentries");
  expectUnchanged("no entries");
}

TEST_F(ThemeTest, OversizedEntriesAreIgnored) {
  const QByteArray huge(kMaxEntryBytes + 1, '\0');
  ASSERT_TRUE(writeZip(gfx_ + "custom.zip",
                       {{"theme.cfg", configText({"[Theme]", "Name=Huge", "[Icons]", "New=new", "Add=add"})},
                        {"new_16.png", huge},
                        {"add_16.png", pngBytes(16, kBlue)}}));
  scanThemes(gfx_, registry_);
  ASSERT_TRUE(loadTheme(settings_, registry_, gfx_, sets_, true, true, true));
  EXPECT_EQ(sets_.menuIcons.image("New"), builtIn_.menuIcons.image("New"));
  EXPECT_TRUE(isSolid(sets_.menuIcons.image("Add"), 16, kBlue));
}

TEST_F(ThemeTest, NoGfxFolderKeepsTheBuiltInImages) {
  const QString missing = dir_.path() + "/nowhere/gfx/";
  EXPECT_EQ(scanThemes(missing, registry_), 0);
  EXPECT_TRUE(registry_.names.empty());
  EXPECT_TRUE(themeList(registry_).empty());
  settings_.ui.uiTheme = "handdrawn";
  EXPECT_FALSE(loadTheme(settings_, registry_, missing, sets_, true, true, true));
  EXPECT_EQ(settings_.ui.uiTheme, "handdrawn");
  expectUnchanged("no gfx folder");
}

TEST(ThemeList, SortedByIdIgnoringCaseAtMost128) {
  ThemeRegistry registry;
  for (int i = 0; i < 130; ++i) registry.names[QString("t%1").arg(i, 3, 10, QChar('0'))] = "Theme";
  registry.names["b"] = "Bee";
  registry.names["A"] = "Ay";
  registry.names["C"] = "Cee";
  registry.names["a0"] = "";
  const std::vector<ThemeEntry> list = themeList(registry);
  ASSERT_EQ(list.size(), 128u);
  EXPECT_EQ(list[0].id, "A");
  EXPECT_EQ(list[1].id, "b");
  EXPECT_EQ(list[2].id, "C");
  EXPECT_EQ(list[3].id, "t000");
  EXPECT_EQ(list[127].id, "t124");
}

TEST(GfxFolder, BesideTheProgramOrInstalled) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString root = dir.path() + "/";
  ASSERT_TRUE(QDir().mkpath(root + "build/gfx"));
  ASSERT_TRUE(QDir().mkpath(root + "usr/bin"));
  ASSERT_TRUE(QDir().mkpath(root + "usr/share/quillet/gfx"));
  ASSERT_TRUE(QDir().mkpath(root + "opt/bin"));
  const std::pair<QString, QString> cases[] = {
      {root + "build/", root + "build/gfx/"},
      {root + "build", root + "build/gfx/"},
      {root + "usr/bin/", root + "usr/share/quillet/gfx/"},
      {root + "opt/bin/", root + "opt/bin/gfx/"},  // no data folder either: the folder beside
      {root + "elsewhere/", root + "elsewhere/gfx/"},
  };
  for (const auto& [program, expected] : cases)
    EXPECT_EQ(gfxFolder(program), expected) << program.toStdString();
}

}  // namespace
