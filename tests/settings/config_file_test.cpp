#include "settings/config_file.h"

#include "settings/fields.h"
#include "settings/key_value_file.h"
#include "support/field_text.h"
#include "temp_folder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <type_traits>

namespace {

const DefaultsEnvironment kEnv{1920, 1080, 1700000000};

// Any field by group and key as the text the file would hold.
QString fieldText(const Settings& settings, const QString& group, const QString& key) {
  const SettingField* field = findSettingField(group, key);
  return field == nullptr ? QStringLiteral("<no such field>") : ::fieldText(settings, *field);
}

Settings graphicalDefaults() {
  Settings settings;
  applyDefaults(settings, false, kEnv);
  return settings;
}

class ConfigFile : public ::testing::Test {
 protected:
  ConfigFile() { settings.configPath = folder.path(QStringLiteral("config.ini")); }

  // Loads `bytes` as config.ini into a record that holds unrelated values beforehand.
  Settings load(const QByteArray& bytes) {
    folder.write(QStringLiteral("config.ini"), bytes);
    Settings loaded;
    loaded.watermark.text = QStringLiteral("stale");
    loaded.configPath = settings.configPath;
    loadConfig(loaded, kEnv);
    return loaded;
  }

  QByteArray saved() const { return folder.read(QStringLiteral("config.ini")); }

  TempFolder folder;
  Settings settings;
};

TEST_F(ConfigFile, SavedDefaultsMatchTheReferenceFileByteForByte) {
  QFile reference(QStringLiteral(QUILLET_TEST_DATA_DIR "/config_defaults.ini"));
  ASSERT_TRUE(reference.open(QIODevice::ReadOnly));
  applyDefaults(settings, false, kEnv);
  ASSERT_TRUE(saveConfig(settings));
  EXPECT_EQ(saved(), reference.readAll());
}

TEST_F(ConfigFile, SavingTwiceOrSavingWhatWasLoadedGivesIdenticalBytes) {
  applyDefaults(settings, false, kEnv);
  settings.watermark.text = QString::fromUtf8(
      "\xC2\xA9 %yyyy% Ren\xC3\xA9"
      "e  ");
  settings.adjustment.imageGamma = 0.3f;
  settings.advanced.outFoldersNumber = -56;
  ASSERT_TRUE(saveConfig(settings));
  const QByteArray first = saved();
  ASSERT_TRUE(saveConfig(settings));
  EXPECT_EQ(saved(), first);

  Settings loaded = load(first);
  ASSERT_TRUE(saveConfig(loaded));
  EXPECT_EQ(saved(), first);
}

TEST_F(ConfigFile, ValuesAsRead) {
  const struct {
    const char* rule;
    QByteArray bytes;
    const char* group;
    const char* key;
    QString expected;
  } cases[] = {
      {"Latin-1 without BOM", "[Watermark]\r\nText = caf\xE9\r\n", "Watermark", "Text",
       QString::fromUtf8("caf\xC3\xA9")},
      {"UTF-8 with BOM", "\xEF\xBB\xBF\r\n[Watermark]\r\nText = caf\xC3\xA9\r\n", "Watermark", "Text",
       QString::fromUtf8("caf\xC3\xA9")},
      {"lower-case group and key", "[general]\r\ncfg = 13\r\n", "General", "CFG", "13"},
      {"empty number is 0, not the default", "[Window]\r\nWidth =\r\n", "Window", "Width", "0"},
      {"missing key takes the default", "[Window]\r\nWidth =\r\n", "Window", "Height", "260"},
      {"8-bit field keeps the low byte", "[Advanced]\r\nOut Folders Number = 200\r\n", "Advanced",
       "Out Folders Number", "-56"},
      {"8-bit field, 257", "[General]\r\nSave Window Position = 257\r\n", "General", "Save Window Position",
       "1"},
      {"32-bit field keeps the whole number", "[Watermark]\r\nText Opacity = 200\r\n", "Watermark",
       "Text Opacity", "200"},
      {"leading number of garbage", "[Window]\r\nWidth = 640px\r\n", "Window", "Width", "640"},
      {"garbage without digits", "[Window]\r\nWidth = wide\r\n", "Window", "Width", "0"},
      {"empty string is empty, not the default", "[Watermark]\r\nFont =\r\n", "Watermark", "Font", ""},
      {"trailing blanks kept", "[Watermark]\r\nFont = Arial  \r\n", "Watermark", "Font", "Arial  "},
      {"gamma", "[Adjustment]\r\nImage Gamma = 2.2\r\n", "Adjustment", "Image Gamma", "2.200000"},
      {"gamma -Infinity", "[Adjustment]\r\nImage Gamma = -INFINITY\r\n", "Adjustment", "Image Gamma",
       "-Infinity"},
      {"gamma NaN", "[Adjustment]\r\nImage Gamma = nan\r\n", "Adjustment", "Image Gamma", "NaN"},
      {"missing gamma", "[Adjustment]\r\n", "Adjustment", "Image Gamma", "1.000000"},
      {"out-of-range values stay", "[Output]\r\nJPG Quality = 500\r\n", "Output", "JPG Quality", "500"},
      {"first key wins", "[Window]\r\nX = 5\r\nX = 6\r\n", "Window", "X", "5"},
      {"only the first group counts", "[Window]\r\n[Window]\r\nX = 5\r\n", "Window", "X", "100"},
      {"key of another group", "[General]\r\nX = 5\r\n", "Window", "X", "100"},
      {"missing date is now", "[General]\r\n", "General", "Update Date", "1700000000"},
      {"missing string default", "[General]\r\n", "Watermark", "Text", defaultWatermarkText()},
  };
  for (const auto& c : cases) {
    const Settings loaded = load(c.bytes);
    EXPECT_EQ(fieldText(loaded, QString::fromLatin1(c.group), QString::fromLatin1(c.key)), c.expected)
        << c.rule;
    EXPECT_EQ(loaded.configPath, settings.configPath) << c.rule;
  }
}

TEST_F(ConfigFile, OlderLayoutsAreUpgraded) {
  const struct {
    const char* cfgLine;  // nullptr: no CFG key, layout 0
    const char* mask;
    int rawLoadAs;
    const char* expectedMask;
    int expectedRawLoadAs;
  } cases[] = {
      {"CFG = 10", "%filename%", 0, "%filename%.%ext%", 0},
      {"CFG = 10", "%filename%_%ext%", 0, "%filename%_%ext%", 0},
      {"CFG = 10", "%filename%.%EXT%", 0, "%filename%.%EXT%.%ext%", 0},
      {"CFG = 11", "%filename%", 0, "%filename%", 0},
      {"CFG = 13", "%filename%", 1, "%filename%", 3},
      {"CFG = 13", "%filename%", 0, "%filename%", 0},
      {"CFG = 14", "%filename%", 1, "%filename%", 1},
      {"CFG = 17", "", 3, "", 3},
      {nullptr, "%filename%", 1, "%filename%.%ext%", 3},
      {"CFG = 9", "", -2, ".%ext%", 0},
  };
  for (const auto& c : cases) {
    QByteArray bytes = "[General]\r\n";
    if (c.cfgLine != nullptr) bytes += QByteArray(c.cfgLine) + "\r\n";
    bytes += "[Input]\r\nRAW Load As = " + QByteArray::number(c.rawLoadAs) + "\r\n";
    bytes += "[Advanced]\r\nFilename Mask = " + QByteArray(c.mask) + "\r\n";
    const Settings loaded = load(bytes);
    const std::string label = std::string(c.cfgLine ? c.cfgLine : "no CFG") + " / " + c.mask;
    EXPECT_EQ(loaded.advanced.filenameMask, QString::fromLatin1(c.expectedMask)) << label;
    EXPECT_EQ(loaded.input.rawLoadAs, c.expectedRawLoadAs) << label;
  }
}

TEST_F(ConfigFile, EmptyFileReadsEveryDefaultButOpensTheWindowAt100) {
  for (const QByteArray& bytes : {QByteArray(), QByteArray("\xEF\xBB\xBF\r\n[Unknown]\r\nX = 1\r\n")}) {
    const Settings loaded = load(bytes);
    Settings expected = graphicalDefaults();
    expected.general.cfg = 0;
    expected.window.x = 100;
    expected.window.y = 100;
    for (const SettingField& field : settingFields())
      EXPECT_EQ(fieldText(loaded, field), fieldText(expected, field)) << field.group << '/' << field.key;
  }
}

TEST_F(ConfigFile, FileThatCannotBeOpenedGivesTheDefaults) {
  QDir(folder.root()).mkdir(QStringLiteral("folder"));
  for (const QString& path :
       {folder.path(QStringLiteral("missing.ini")), folder.path(QStringLiteral("folder")), QString()}) {
    Settings loaded;
    loaded.configPath = path;
    loaded.window.width = 1;
    loaded.transform.keepAspectRatio = 0;
    loadConfig(loaded, kEnv);
    const Settings expected = graphicalDefaults();
    for (const SettingField& field : settingFields())
      EXPECT_EQ(fieldText(loaded, field), fieldText(expected, field))
          << field.key << " at " << path.toStdString();
    EXPECT_EQ(loaded.configPath, path);
  }
}

TEST_F(ConfigFile, WindowKeysOnlyWhenTheWindowPositionIsSaved) {
  applyDefaults(settings, false, kEnv);
  settings.general.saveWindowPosition = 0;
  settings.window.width = 800;
  ASSERT_TRUE(saveConfig(settings));
  EXPECT_TRUE(saved().contains("Save Window Position = 0\r\n; \r\n[Window]\r\n; \r\n[Interface]\r\n"));

  const Settings loaded = load(saved());
  EXPECT_EQ(loaded.general.saveWindowPosition, 0);
  EXPECT_EQ(loaded.window.width, 510);
  EXPECT_EQ(loaded.window.x, 100);
  EXPECT_EQ(loaded.window.y, 100);
}

TEST_F(ConfigFile, SaverWritesLayout17AndDropsUnknownAndRetiredKeys) {
  const Settings loaded = load(
      "[General]\r\nCFG = 5\r\nUnknown = 1\r\n"
      "[Window]\r\nHide Passwords = 1\r\nShow Single Password = 1\r\nShow Password List = 1\r\n"
      "Show Character Set = 1\r\nShow Advanced Options = 1\r\n"
      "[File]\r\nTxtFields = 3\r\nCsvDelimiter = ;\r\n"
      "[Extra]\r\nKey = value\r\n");
  EXPECT_EQ(loaded.general.cfg, 5);
  ASSERT_TRUE(saveConfig(loaded));
  const QByteArray bytes = saved();
  EXPECT_TRUE(bytes.contains("\r\nCFG = 17\r\n"));
  for (const char* gone : {"CFG = 5", "Unknown", "Password", "Character Set", "Advanced Options", "TxtFields",
                           "CsvDelimiter", "[Extra]"})
    EXPECT_FALSE(bytes.contains(gone)) << gone;
}

TEST_F(ConfigFile, LeadingBlanksOfAStringAreLostOnReload) {
  applyDefaults(settings, false, kEnv);
  settings.watermark.text = QStringLiteral("  two before, two after  ");
  ASSERT_TRUE(saveConfig(settings));
  EXPECT_TRUE(saved().contains("\r\nText =   two before, two after  \r\n"));
  EXPECT_EQ(load(saved()).watermark.text, QStringLiteral("two before, two after  "));
}

TEST_F(ConfigFile, FailedSaveKeepsTheOldFileAndLeavesNothingBehind) {
  folder.write(QStringLiteral("config.ini"), "[General]\r\nCFG = 17\r\n");
  applyDefaults(settings, false, kEnv);
  {
    FileSizeLimit limit(100);  // the write stops part-way, as on a full disk
    EXPECT_FALSE(saveConfig(settings));
  }
  EXPECT_EQ(saved(), QByteArray("[General]\r\nCFG = 17\r\n"));
  EXPECT_EQ(folder.entries(), QStringList{QStringLiteral("config.ini")});

  for (const QString& path : {folder.path(QStringLiteral("config.ini/below.ini")),
                              folder.path(QStringLiteral("missing/config.ini")), QString()}) {
    settings.configPath = path;
    EXPECT_FALSE(saveConfig(settings)) << path.toStdString();
  }
  EXPECT_EQ(folder.entries(), QStringList{QStringLiteral("config.ini")});
}

TEST_F(ConfigFile, EveryWrittenFieldSurvivesARoundTrip) {
  applyDefaults(settings, false, kEnv);
  int index = 0;
  for (const SettingField& field : settingFields()) {
    ++index;
    std::visit(
        [&](auto* value) {
          using T = std::remove_pointer_t<decltype(value)>;
          if constexpr (std::is_same_v<T, QString>)
            *value = QString::fromUtf8("Wert %1 \xC3\xA9\xE6\x97\xA5 ;=[x] ").arg(index);
          else if constexpr (std::is_same_v<T, float>)
            *value = 2.5f;
          else if constexpr (std::is_same_v<T, int8_t>)
            *value = static_cast<int8_t>(-10 - index % 100);
          else
            *value = index % 2 ? -(index * 1001 + 7) : index * 1001 + 7;
        },
        field.get(settings));
  }
  settings.general.cfg = 3;  // the file always says 17, so no upgrade applies on reload
  ASSERT_TRUE(saveConfig(settings));

  Settings loaded;
  loaded.configPath = settings.configPath;
  loadConfig(loaded, kEnv);

  // With the format lists {"jpg"} and {"hdr"} only `Output/HDR BPP` of the per-format keys is
  // written; the others come back at their defaults.
  const Settings defaults = graphicalDefaults();
  for (const SettingField& field : settingFields()) {
    const QString group = QString::fromLatin1(field.group), key = QString::fromLatin1(field.key);
    const bool perFormat = (group == "Input" || group == "Output") && key != "Format" && key != "HDR BPP";
    const Settings& expected = perFormat ? defaults : settings;
    if (group == "General" && key == "CFG")
      EXPECT_EQ(loaded.general.cfg, 17);
    else
      EXPECT_EQ(fieldText(loaded, field), fieldText(expected, field)) << field.group << '/' << field.key;
  }
}

TEST(ConfigFileBytes, PerFormatKeysFollowTheFormatLists) {
  Settings settings;
  applyDefaults(settings, false, kEnv);
  const QByteArray bytes = configFileBytes(settings, {"raw", "xyz", "dds"}, {"tiff", "jpg", "hdr"});
  EXPECT_TRUE(bytes.contains(
      "[Input]\r\nFormat = jpg\r\nRAW Load As = 0\r\nRAW Header Size = 0\r\nRAW Image Width = 0\r\n"
      "RAW Image Height = 0\r\nRAW Tone Mapping = 2\r\nDDS Load As = 0\r\n; \r\n"));
  EXPECT_TRUE(bytes.contains(
      "[Output]\r\nFormat = hdr\r\nTIFF BPP = 0\r\nTIFF Compression = 0\r\nTIFF Color Model = 0\r\n"
      "JPG BPP = 0\r\nJPG Quality = 95\r\nJPG Chroma = 0\r\nJPG Save As = 0\r\nHDR BPP = 0\r\n; \r\n"));
}

TEST(ConfigFileBytes, EveryFormatListedWritesEveryPerFormatFieldOnce) {
  const QStringList inputs{"dds", "gif", "ico", "raw", "tiff", "jpg"};
  const QStringList outputs{"bmp", "dds", "exr", "gif",  "hdr",  "ico",  "j2k", "jng",
                            "jp2", "jpg", "jxr", "pbm",  "pcx",  "pfm",  "pgm", "png",
                            "ppm", "psd", "tga", "tiff", "wbmp", "webp", "xpm"};
  Settings settings;
  applyDefaults(settings, false, kEnv);
  KeyValueReader reader;
  reader.openBytes(configFileBytes(settings, inputs, outputs));
  for (const char* group : {"Input", "Output"}) {
    std::multiset<std::string> written, fields;
    reader.selectGroup(QString::fromLatin1(group));
    for (const KeyValueReader::Entry& entry : reader.entries()) written.insert(entry.key.toStdString());
    for (const SettingField& field : settingFields())
      if (std::string(field.group) == group) fields.insert(field.key);
    EXPECT_EQ(written, fields) << group;
  }
}

}  // namespace
