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

// What a desktop's "Open With" passes: one existing file, which the window takes as its input.
TEST(Startup, TheOnlyParameterNamingAFileIsOpenedInTheWindow) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString photo = folder.filePath("photo.jpg");
  QFile file(photo);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("x");
  file.close();
  EXPECT_EQ(fileToOpen({photo}), photo);
  EXPECT_EQ(fileToOpen({}), QString());
  EXPECT_EQ(fileToOpen({photo, photo}), QString());   // not what a desktop passes
  EXPECT_EQ(fileToOpen({"-o"}), QString());           // an option, not a file
  EXPECT_EQ(fileToOpen({folder.path()}), QString());  // a folder
  EXPECT_EQ(fileToOpen({folder.filePath("missing.jpg")}), QString());
  // A relative name is taken from the current directory and handed on as an absolute path.
  const QString saved = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(folder.path()));
  const QString relative = fileToOpen({"photo.jpg"});
  QDir::setCurrent(saved);
  EXPECT_EQ(QFileInfo(relative).canonicalFilePath(), QFileInfo(photo).canonicalFilePath());
  EXPECT_TRUE(QFileInfo(relative).isAbsolute());
}

TEST(Startup, InstanceLockIsNamedAfterTheTitleAndVersion) {
  EXPECT_EQ(instanceLockName(), QStringLiteral("Lumavane JPG to HDR 2.2"));
}

}  // namespace
