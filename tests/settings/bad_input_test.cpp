// Malformed, huge and endless key-value files: the reader and the config.ini loader never crash
// or hang, and read what can be read.
#include "settings/config_file.h"
#include "settings/key_value_file.h"
#include "temp_folder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <thread>

namespace {

const DefaultsEnvironment kEnv{1920, 1080, 1700000000};

QString fixture(const char* name) {
  return QStringLiteral(QUILLET_TEST_DATA_DIR "/bad/") + QString::fromLatin1(name);
}

Settings loadFrom(const QString& path) {
  Settings settings;
  settings.configPath = path;
  loadConfig(settings, kEnv);
  return settings;
}

Settings graphicalDefaults() {
  Settings settings;
  applyDefaults(settings, false, kEnv);
  return settings;
}

TEST(BadConfigFile, JunkAndBracketOnlyFilesLoadAsAFileWithoutKnownGroups) {
  // Neither file holds a usable group: every key takes its missing-key default.
  for (const char* name : {"binary_junk.ini", "only_brackets.ini"}) {
    const Settings loaded = loadFrom(fixture(name));
    EXPECT_EQ(loaded.general.cfg, 0) << name;
    EXPECT_EQ(loaded.window.x, 100) << name;
    EXPECT_EQ(loaded.window.width, graphicalDefaults().window.width) << name;
    EXPECT_EQ(loaded.advanced.filenameMask, graphicalDefaults().advanced.filenameMask) << name;
  }
}

TEST(BadConfigFile, NulBytesAreOrdinaryCharacters) {
  const Settings loaded = loadFrom(fixture("nul_bytes.ini"));
  EXPECT_EQ(loaded.general.cfg, 0);          // the key is "CFG\0", not "CFG"
  EXPECT_EQ(loaded.general.updateRange, 3);  // the number ends at the NUL
  EXPECT_EQ(loaded.general.language, QStringLiteral("d") + QChar(0) + QStringLiteral("e"));
  EXPECT_EQ(loaded.watermark.text, QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
}

TEST(BadConfigFile, AHugeLineIsReadWhole) {
  TempFolder folder;
  const QByteArray text(8 * 1024 * 1024, 'w');
  folder.write(QStringLiteral("config.ini"),
               "[Watermark]\r\nText = " + text + "\r\n[General]\r\nCFG = 17\r\n");
  const Settings loaded = loadFrom(folder.path(QStringLiteral("config.ini")));
  EXPECT_EQ(loaded.watermark.text.size(), text.size());
  EXPECT_EQ(loaded.general.cfg, 17);
}

TEST(BadConfigFile, AMillionLinesBeforeTheKeysStillLoad) {
  TempFolder folder;
  QByteArray bytes = "[General]\r\n";
  for (int i = 0; i < 1000000; ++i) bytes += "[\r\n";
  bytes += "[Window]\r\nX = 7\r\n";
  folder.write(QStringLiteral("config.ini"), bytes);
  EXPECT_EQ(loadFrom(folder.path(QStringLiteral("config.ini"))).window.x, 7);
}

TEST(BadKeyValueFile, FilesBeyondTheLimitAndEndlessDevicesAreNotOpened) {
  TempFolder folder;
  QFile big(folder.path(QStringLiteral("big.ini")));
  ASSERT_TRUE(big.open(QIODevice::WriteOnly));
  ASSERT_TRUE(big.write("[G]\r\nK = v\r\n") > 0);
  ASSERT_TRUE(big.resize(kMaxKeyValueFileBytes + 1));  // a sparse tail of zero bytes
  big.close();
  KeyValueReader reader;
  EXPECT_FALSE(reader.open(big.fileName()));

  ASSERT_TRUE(big.resize(kMaxKeyValueFileBytes));  // exactly at the limit: read
  EXPECT_TRUE(reader.open(big.fileName()));
  reader.selectGroup(QStringLiteral("G"));
  EXPECT_EQ(reader.readText(QStringLiteral("K"), QString()), QStringLiteral("v"));

  EXPECT_FALSE(reader.open(QStringLiteral("/dev/zero")));
  EXPECT_FALSE(reader.open(folder.root()));  // a folder

  // The loader treats such a file as unreadable: defaults.
  const Settings loaded = loadFrom(QStringLiteral("/dev/zero"));
  EXPECT_EQ(loaded.general.cfg, graphicalDefaults().general.cfg);
}

TEST(BadKeyValueFile, APipeIsReadToItsEnd) {
  TempFolder folder;
  const QByteArray fifo = folder.path(QStringLiteral("pipe")).toLocal8Bit();
  ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
  std::thread writer([&] {
    QFile out(QString::fromLocal8Bit(fifo));
    if (!out.open(QIODevice::WriteOnly)) return;
    out.write("[CLI]\r\n");
    out.flush();
    out.write("--width = 800\r\n");
  });
  KeyValueReader reader;
  EXPECT_TRUE(reader.open(QString::fromLocal8Bit(fifo)));
  writer.join();
  reader.selectGroup(QStringLiteral("cli"));
  EXPECT_EQ(reader.readInt(QStringLiteral("--WIDTH"), 0), 800);
}

}  // namespace
