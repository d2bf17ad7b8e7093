#include "window_fixture.h"

#include "ui/screenshot.h"

#include <FreeImage.h>

#include <QDir>
#include <QFileInfo>

namespace {

using ScreenshotTest = WindowTest;

struct Picture {
  unsigned width = 0;
  unsigned height = 0;
  unsigned bpp = 0;
  int darkInCorner = 0;  // dark pixels where the web address is drawn
};

Picture readJpeg(const QString& path) {
  Picture picture;
  const QByteArray name = path.toUtf8();
  if (FreeImage_GetFileType(name.constData(), 0) != FIF_JPEG) return picture;
  FIBITMAP* bitmap = FreeImage_Load(FIF_JPEG, name.constData(), 0);
  if (bitmap == nullptr) return picture;
  picture.width = FreeImage_GetWidth(bitmap);
  picture.height = FreeImage_GetHeight(bitmap);
  picture.bpp = FreeImage_GetBPP(bitmap);
  // The text's box: ends 35 pixels from the right, starts 26 pixels above the bottom.
  for (unsigned y = 14; y < 26 && y < picture.height; ++y) {
    for (unsigned x = picture.width > 135 ? picture.width - 135 : 0; x + 35 < picture.width; ++x) {
      RGBQUAD colour;
      // FreeImage rows run bottom-up.
      FreeImage_GetPixelColor(bitmap, x, y, &colour);
      if (colour.rgbRed + colour.rgbGreen + colour.rgbBlue < 200) ++picture.darkInCorner;
    }
  }
  FreeImage_Unload(bitmap);
  return picture;
}

TEST(SmallScreenshot, IsAHundredAndEightyWideWithTheHeightRounded) {
  EXPECT_EQ(smallScreenshotSize(QSize(520, 300)), QSize(180, 104));
  EXPECT_EQ(smallScreenshotSize(QSize(510, 282)), QSize(180, 100));
  EXPECT_EQ(smallScreenshotSize(QSize(900, 100)), QSize(180, 20));
  EXPECT_EQ(smallScreenshotSize(QSize(0, 100)), QSize());
}

TEST_F(ScreenshotTest, SavesBothPicturesOfTheSampleWindow) {
  const QString target = folder(QStringLiteral("shots")).chopped(1);  // without the final "/"
  screenshotMode(*context, target);
  const Picture large = readJpeg(target + QStringLiteral("/quillet1.jpg"));
  const Picture small = readJpeg(target + QStringLiteral("/quillet1x.jpg"));
  ASSERT_GT(large.width, 0u);
  EXPECT_GE(large.width, 510u);
  EXPECT_GE(large.height, 260u);
  EXPECT_EQ(large.bpp, 24u);
  EXPECT_GT(large.darkInCorner, 10);
  const QSize expectedSmall = smallScreenshotSize(QSize(int(large.width), int(large.height)));
  EXPECT_EQ(small.width, unsigned(expectedSmall.width()));
  EXPECT_EQ(small.height, unsigned(expectedSmall.height()));
  EXPECT_EQ(small.width, 180u);
}

TEST_F(ScreenshotTest, MissingFolderWritesNothing) {
  const QString missing = temp.filePath(QStringLiteral("missing"));
  screenshotMode(*context, missing);
  EXPECT_FALSE(QFileInfo::exists(missing));
  const QString file = writeFile(QStringLiteral("plain"), "x");
  screenshotMode(*context, file);
  EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("plain")});
}

}  // namespace
