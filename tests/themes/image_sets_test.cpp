#include "themes/image_sets.h"

#include <gtest/gtest.h>

namespace {

using namespace themes;

TEST(ImageSets, KeysOfTheThreeSets) {
  const ImageSets sets;
  EXPECT_EQ(sets.bigButtons.keys(), (QStringList{"Convert", "InFiles", "InFolder"}));
  const QStringList icons = {"New",
                             "Add",
                             "InFiles",
                             "InFolder",
                             "OutFolder",
                             "OutFormat",
                             "FavFolder",
                             "ImportFiles",
                             "ExportFiles",
                             "Exit",
                             "Copy",
                             "Delete",
                             "SelectAll",
                             "Convert",
                             "Error",
                             "Preferences",
                             "CustomConverter",
                             "Help",
                             "Email",
                             "Web",
                             "Updates",
                             "About"};
  EXPECT_EQ(sets.menuIcons.keys(), icons);
  EXPECT_EQ(sets.toolbarIcons.keys(), icons);
  EXPECT_TRUE(sets.menuIcons.image("New").isNull());
}

TEST(ImageSets, SlotsAcceptOnlyTheirKeys) {
  ImageSet set(QStringList{"A"});
  QImage image(2, 2, QImage::Format_ARGB32);
  image.fill(Qt::red);
  EXPECT_TRUE(set.setImage("A", image));
  EXPECT_FALSE(set.setImage("a", image));
  EXPECT_FALSE(set.hasKey("a"));
  EXPECT_EQ(set.image("A"), image);
  EXPECT_TRUE(set.image("B").isNull());
  EXPECT_TRUE(set.setImage("A", QImage()));
  EXPECT_TRUE(set.image("A").isNull());
}

TEST(ImageSets, ToolbarIconSize) {
  const std::pair<int32_t, int> cases[] = {{0, 16}, {1, 24}, {2, 32},  {3, 48},
                                           {4, 64}, {5, 16}, {-1, 16}, {64, 16}};
  for (const auto& [uiSize, pixels] : cases) EXPECT_EQ(toolbarIconSize(uiSize), pixels) << uiSize;
}

TEST(ImageSets, BuiltInImagesFillEverySlot) {
  ImageSets sets;
  ASSERT_TRUE(loadBuiltInImages(sets));
  EXPECT_EQ(sets.bigButtons.image("Convert").size(), QSize(64, 64));
  EXPECT_EQ(sets.bigButtons.image("InFiles").size(), QSize(48, 48));
  EXPECT_EQ(sets.bigButtons.image("InFolder").size(), QSize(48, 48));
  for (const QString& key : iconKeys()) {
    EXPECT_EQ(sets.menuIcons.image(key).size(), QSize(16, 16)) << key.toStdString();
    EXPECT_EQ(sets.toolbarIcons.image(key), sets.menuIcons.image(key)) << key.toStdString();
  }
  // Every key has its own picture.
  for (const QString& a : iconKeys())
    for (const QString& b : iconKeys())
      if (a != b) {
        EXPECT_NE(sets.menuIcons.image(a), sets.menuIcons.image(b)) << a.toStdString();
      }
}

TEST(ImageSets, AboutBannerIs24BitAndSized) {
  const QImage banner = aboutBanner();
  EXPECT_EQ(banner.size(), QSize(360, 40));
  EXPECT_EQ(banner.format(), QImage::Format_RGB888);
  EXPECT_FALSE(banner.hasAlphaChannel());
}

}  // namespace
