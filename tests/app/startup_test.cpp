#include "app/startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Startup, SettingsFolderLevelsAreCreatedWhenMissing) {
  QTemporaryDir base;
  ASSERT_TRUE(base.isValid());
  const QString expected = base.path() + "/Lumavane/quillet/";
  EXPECT_EQ(resolveSettingsFolder("  " + base.path() + "  "), expected);
  EXPECT_TRUE(QFileInfo(expected).isDir());
  // A second start finds both levels and changes nothing.
  EXPECT_EQ(resolveSettingsFolder(base.path() + "/"), expected);
  EXPECT_EQ(configFilePath(expected), expected + "config.ini");
}

TEST(Startup, SettingsFolderFollowsTheUserConfigurationFolder) {
  QTemporaryDir base;
  ASSERT_TRUE(base.isValid());
  const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(base.path()));
  const QString folder = resolveSettingsFolder();
  qputenv("XDG_CONFIG_HOME", saved);
  EXPECT_EQ(folder, base.path() + "/Lumavane/quillet/");
  EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST(Startup, InstanceLockIsNamedAfterTheTitleAndVersion) {
  EXPECT_EQ(instanceLockName(), QStringLiteral("Lumavane JPG to HDR 2.2"));
}

}  // namespace
