#include "themes/themes.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

using namespace themes;

TEST(ShippedTheme, HanddrawnScansAndLoadsEveryKeyAtEverySize) {
  const QFileInfo archive(QStringLiteral(QUILLET_HANDDRAWN_ZIP));
  ASSERT_TRUE(archive.isFile()) << QUILLET_HANDDRAWN_ZIP;
  const QString gfx = archive.absolutePath() + "/";

  ThemeRegistry registry;
  ASSERT_GE(scanThemes(gfx, registry), 1);
  ASSERT_EQ(registry.names.count("handdrawn"), 1u);
  EXPECT_EQ(registry.names.at("handdrawn"), "Hand-drawn");

  ImageSets builtIn;
  ASSERT_TRUE(loadBuiltInImages(builtIn));
  for (int32_t uiSize = 0; uiSize <= 4; ++uiSize) {
    ImageSets sets;
    ASSERT_TRUE(loadBuiltInImages(sets));
    Settings settings;
    settings.ui.uiTheme = "handdrawn";
    settings.ui.uiSize = uiSize;
    ASSERT_TRUE(loadTheme(settings, registry, gfx, sets, true, true, true));
    EXPECT_EQ(settings.ui.uiTheme, "handdrawn");

    const int toolbar = toolbarIconSize(uiSize);
    const std::pair<const char*, int> big[] = {{"Convert", 64}, {"InFiles", 48}, {"InFolder", 48}};
    for (const auto& [key, size] : big) {
      EXPECT_EQ(sets.bigButtons.image(key).size(), QSize(size, size)) << key;
      EXPECT_NE(sets.bigButtons.image(key), builtIn.bigButtons.image(key)) << key;
    }
    for (const QString& key : iconKeys()) {
      const std::string name = key.toStdString();
      EXPECT_EQ(sets.menuIcons.image(key).size(), QSize(16, 16)) << name;
      EXPECT_NE(sets.menuIcons.image(key), builtIn.menuIcons.image(key)) << name;
      EXPECT_EQ(sets.toolbarIcons.image(key).size(), QSize(toolbar, toolbar)) << name << " " << uiSize;
      EXPECT_NE(sets.toolbarIcons.image(key), builtIn.toolbarIcons.image(key)) << name << " " << uiSize;
    }
  }
}

}  // namespace
