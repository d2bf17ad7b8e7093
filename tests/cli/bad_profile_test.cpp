// Malformed, huge and endless profile files: loadProfile never crashes or hangs, and sets only
// what a [CLI] group really holds.
#include "cli/profile.h"
#include "settings/defaults.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

Settings consoleDefaults() {
  Settings settings;
  applyDefaults(settings, true, DefaultsEnvironment{1920, 1080, 0});
  return settings;
}

QString fixture(const char* name) {
  return QStringLiteral(QUILLET_TEST_DATA_DIR "/text/") + QString::fromLatin1(name);
}

TEST(BadProfile, JunkAndBracketOnlyFilesAreReadAndSetNothing) {
  for (const char* name : {"binary_junk.ini", "only_brackets.ini"}) {
    Settings settings = consoleDefaults();
    EXPECT_TRUE(loadProfile(fixture(name), settings)) << name;
    EXPECT_EQ(settings.transform.imageWidth, consoleDefaults().transform.imageWidth) << name;
    EXPECT_EQ(settings.watermark.text, consoleDefaults().watermark.text) << name;
    EXPECT_EQ(settings.transform.doImageResize, 0) << name;
  }
}

TEST(BadProfile, NulBytesAreOrdinaryCharacters) {
  Settings settings = consoleDefaults();
  ASSERT_TRUE(loadProfile(fixture("nul_bytes_profile.ini"), settings));
  EXPECT_EQ(settings.transform.imageWidth, 8);  // the number ends at the NUL
  EXPECT_EQ(settings.transform.doImageResize, 1);
  EXPECT_EQ(settings.watermark.text, QStringLiteral("a") + QChar(0) + QStringLiteral("b"));
}

TEST(BadProfile, AHugeValueIsReadWhole) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("huge.ini"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[CLI]\r\n--wm-text = " + QByteArray(8 * 1024 * 1024, 'w') + "\r\n--width = 640\r\n");
  file.close();
  Settings settings = consoleDefaults();
  ASSERT_TRUE(loadProfile(path, settings));
  EXPECT_EQ(settings.watermark.text.size(), 8 * 1024 * 1024);
  EXPECT_EQ(settings.transform.imageWidth, 640);
}

TEST(BadProfile, EndlessDevicesAndFoldersAreNotProfiles) {
  QTemporaryDir dir;
  for (const QString& path : {QStringLiteral("/dev/zero"), QStringLiteral("/dev/urandom"), dir.path()}) {
    Settings settings = consoleDefaults();
    EXPECT_FALSE(loadProfile(path, settings)) << path.toStdString();
  }
}

}  // namespace
