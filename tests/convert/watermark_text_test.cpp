// Text watermarks and the watermark font. Fonts need a QGuiApplication (offscreen under CTest).
#include "convert/layer_bitmap.h"
#include "convert/layers.h"
#include "convert/watermark_parts.h"
#include "pixels.h"
#include "platform/fonts.h"

#include <QFontInfo>

#include <gtest/gtest.h>

namespace {

constexpr QRgb kBack = qRgba(0, 0, 0, 255);

Settings textSettings(const QString& text) {
  Settings settings = defaultSettings();
  settings.watermark.doWatermark = 1;
  settings.watermark.text = text;
  settings.watermark.font = QStringLiteral("DejaVu Sans");
  settings.watermark.fontSize = 14;
  settings.watermark.fontColor = QStringLiteral("FFFFFF");
  settings.watermark.backColor = QStringLiteral("000000");
  settings.watermark.backOpacity = 255;
  settings.watermark.textPadding = 4;
  return settings;
}

QFont fontOf(const Settings& settings) {
  std::optional<QFont> font = loadWatermarkFont(settings);
  EXPECT_TRUE(font.has_value());
  return font.value_or(QFont());
}

QImage layerOf(const Settings& settings) {
  return textWatermarkLayer(settings.watermark.text, fontOf(settings), settings.watermark);
}

bool isInk(QRgb pixel) { return qRed(pixel) > 127; }

// Leftmost inked column in rows [top, bottom); -1 when the band is empty.
int inkLeft(const QImage& layer, int top, int bottom) {
  for (int x = 0; x < layer.width(); ++x)
    for (int y = top; y < bottom; ++y)
      if (isInk(layer.pixel(x, y))) return x;
  return -1;
}

// Rows whose ink spans at least 90 % of the text's inked width.
std::vector<int> solidRows(const QImage& layer) {
  int left = layer.width(), right = -1;
  for (int y = 0; y < layer.height(); ++y)
    for (int x = 0; x < layer.width(); ++x)
      if (isInk(layer.pixel(x, y))) left = std::min(left, x), right = std::max(right, x);
  std::vector<int> rows;
  for (int y = 0; y < layer.height(); ++y) {
    int inked = 0;
    for (int x = left; x <= right; ++x) inked += isInk(layer.pixel(x, y));
    if (right >= left && inked * 10 >= (right - left + 1) * 9) rows.push_back(y);
  }
  return rows;
}

TEST(WatermarkFont, FamiliesThatLoad) {
  struct Case {
    const char* family;
    bool available;
  };
  // Installed faces and configured substitutes load; names that only reach the generic
  // fallback do not.
  for (const Case& c : {Case{"Arial", true}, Case{"DejaVu Sans", true}, Case{"dejavu sans", true},
                        Case{"Times New Roman", true}, Case{"Helvetica", true}, Case{"NoSuchFontXYZ", false},
                        Case{"Verdana", false}, Case{"", false}, Case{"sans-serif", false}}) {
    EXPECT_EQ(platform::fontFamilyAvailable(QString::fromUtf8(c.family)), c.available) << c.family;
    Settings settings = textSettings(QStringLiteral("x"));
    settings.watermark.font = QString::fromUtf8(c.family);
    EXPECT_EQ(loadWatermarkFont(settings).has_value(), c.available) << c.family;
  }
  Settings arial = textSettings(QStringLiteral("x"));
  arial.watermark.font = QStringLiteral("Arial");
  EXPECT_EQ(QFontInfo(fontOf(arial)).family(), QStringLiteral("Liberation Sans"));

  Settings noSize = textSettings(QStringLiteral("x"));
  noSize.watermark.fontSize = 0;
  EXPECT_FALSE(loadWatermarkFont(noSize).has_value());
}

TEST(WatermarkFont, StyleAndEffect) {
  struct Case {
    int style, effect;
    bool bold, italic, underline, strikeOut;
  };
  for (const Case& c : {Case{0, 0, false, false, false, false}, Case{1, 0, true, false, false, false},
                        Case{2, 1, false, true, true, false}, Case{3, 2, true, true, false, true}}) {
    Settings settings = textSettings(QStringLiteral("x"));
    settings.watermark.fontStyle = static_cast<int8_t>(c.style);
    settings.watermark.fontEffect = static_cast<int8_t>(c.effect);
    settings.watermark.fontSize = 20;
    const QFont font = fontOf(settings);
    EXPECT_EQ(font.pointSize(), 20);
    EXPECT_EQ(font.bold(), c.bold) << c.style;
    EXPECT_EQ(font.italic(), c.italic) << c.style;
    EXPECT_EQ(font.underline(), c.underline) << c.effect;
    EXPECT_EQ(font.strikeOut(), c.strikeOut) << c.effect;
  }
}

TEST(WatermarkText, TokensOnlyWithTwoPercentSigns) {
  ConversionJob job;
  job.inputPath = QStringLiteral("/pictures/photo.jpg");
  job.clock = [] {
    std::tm now{};
    now.tm_year = 2024 - 1900;
    now.tm_mon = 4;
    now.tm_mday = 6;
    return now;
  };
  struct Case {
    const char* text;
    const char* printed;
  };
  for (const Case& c : {Case{"%filename% %yyyy%", "photo 2024"}, Case{"%FILENAME% %Yyyy%", "photo 2024"},
                        Case{"100% sure", "100% sure"}, Case{"%filename", "%filename"},
                        Case{"Photo %eol%%filename%", "Photo %eol%photo"}}) {
    EXPECT_EQ(watermarkText(QString::fromUtf8(c.text), job), QString::fromUtf8(c.printed)) << c.text;
  }

  // The step prints the expanded text: the same pixels as the literal text.
  Settings tokens = textSettings(QStringLiteral("%filename% %yyyy%"));
  tokens.watermark.textPosition = 0;
  Settings literal = tokens;
  literal.watermark.text = QStringLiteral("photo 2024");
  job.watermarkFont = fontOf(tokens);
  BitmapPtr a = watermark(solidBitmap(200, 60, qRgb(0, 0, 255)), 200, 60, tokens, job);
  BitmapPtr b = watermark(solidBitmap(200, 60, qRgb(0, 0, 255)), 200, 60, literal, job);
  ASSERT_TRUE(a && b);
  int differing = 0, inked = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x) {
      differing += pixelAt(a.get(), x, y) != pixelAt(b.get(), x, y);
      inked += isInk(pixelAt(a.get(), x, y));
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(inked, 20);
}

TEST(WatermarkText, LinesSplitAtEolInAnyCase) {
  EXPECT_EQ(watermarkLines(QStringLiteral("one line")), QStringList{QStringLiteral("one line")});
  EXPECT_EQ(watermarkLines(QStringLiteral("a%EOL%%eol%b%Eol%")),
            (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b"), QString()}));
}

TEST(WatermarkText, AlignLine) {
  struct Case {
    int lineWidth, layerWidth, alignment, padding, x;
  };
  for (const Case& c : {Case{50, 100, 0, 5, 5}, Case{50, 100, 1, 5, 25}, Case{51, 100, 1, 5, 25},
                        Case{49, 100, 1, 5, 26}, Case{50, 100, 2, 5, 45}, Case{50, 100, 3, 5, 0}}) {
    EXPECT_EQ(alignLine(c.lineWidth, c.layerWidth, c.alignment, c.padding), c.x)
        << c.lineWidth << " " << c.alignment;
  }
}

TEST(WatermarkText, TwoLinesCentredInTheWiderLine) {
  for (int antialiasing : {0, 1}) {
    Settings settings = textSettings(QStringLiteral("Line one, the longer%EOL%line two"));
    settings.watermark.textAntialiasing = static_cast<int8_t>(antialiasing);
    settings.watermark.fontLeading = 3;
    QImage layers[3];
    for (int alignment : {0, 1, 2}) {
      settings.watermark.textAlignment = static_cast<int8_t>(alignment);
      layers[alignment] = layerOf(settings);
      ASSERT_FALSE(layers[alignment].isNull());
    }
    const QImage& left = layers[0];
    const int padding = 4;
    const int lineHeight = (left.height() - 2 * padding - 3) / 2;
    EXPECT_EQ(left.height(), 2 * padding + 2 * lineHeight + 3);
    ASSERT_EQ(layers[1].size(), left.size());
    ASSERT_EQ(layers[2].size(), left.size());

    const int firstTop = padding, secondTop = padding + lineHeight + 3;
    // The longer line fills the block: it sits at the padding whatever the alignment.
    for (const QImage& layer : layers)
      EXPECT_EQ(inkLeft(layer, firstTop, firstTop + lineHeight),
                inkLeft(left, firstTop, firstTop + lineHeight));
    // The shorter one moves half its slack when centred and all of it when right-aligned.
    const int base = inkLeft(left, secondTop, secondTop + lineHeight);
    const int centred = inkLeft(layers[1], secondTop, secondTop + lineHeight) - base;
    const int right = inkLeft(layers[2], secondTop, secondTop + lineHeight) - base;
    EXPECT_GT(right, 10) << antialiasing;
    EXPECT_NEAR(2 * centred, right, 1) << antialiasing;
  }
}

TEST(WatermarkText, OneLineIsTheSameForEveryAlignment) {
  for (int antialiasing : {0, 1}) {
    Settings settings = textSettings(QStringLiteral("Converted with care"));
    settings.watermark.textAntialiasing = static_cast<int8_t>(antialiasing);
    settings.watermark.textAlignment = 0;
    const QImage left = layerOf(settings);
    ASSERT_FALSE(left.isNull());
    const int ink = inkLeft(left, 0, left.height());
    EXPECT_GE(ink, 4) << "drawn at the padding";
    EXPECT_LE(ink, 7) << "drawn at the padding";
    for (int alignment : {1, 2}) {
      settings.watermark.textAlignment = static_cast<int8_t>(alignment);
      EXPECT_EQ(layerOf(settings), left) << antialiasing << " " << alignment;
    }
  }
}

TEST(WatermarkText, PlainTextWritesColoursAndOpacitiesAsTheyAre) {
  Settings settings = textSettings(QStringLiteral("Plain"));
  settings.watermark.backColor = QStringLiteral("0000FF");
  settings.watermark.backOpacity = 100;
  settings.watermark.fontColor = QStringLiteral("FFFF00");
  settings.watermark.textOpacity = 200;
  const QImage layer = layerOf(settings);
  ASSERT_FALSE(layer.isNull());
  int text = 0, back = 0, other = 0;
  for (int y = 0; y < layer.height(); ++y)
    for (int x = 0; x < layer.width(); ++x) {
      const QRgb pixel = layer.pixel(x, y);
      if (pixel == qRgba(255, 255, 0, 200))
        ++text;
      else if (pixel == qRgba(0, 0, 255, 100))
        ++back;
      else
        ++other;
    }
  EXPECT_GT(text, 30);
  EXPECT_GT(back, text);
  EXPECT_EQ(other, 0);
}

TEST(WatermarkText, AntialiasedTextBlendsItsLayers) {
  Settings settings = textSettings(QStringLiteral("Smooth"));
  settings.watermark.textAntialiasing = 1;
  settings.watermark.backColor = QStringLiteral("0000FF");
  settings.watermark.backOpacity = 100;
  settings.watermark.textOpacity = 255;
  const QImage layer = layerOf(settings);
  ASSERT_FALSE(layer.isNull());
  EXPECT_PIXEL_NEAR(layer.pixel(0, 0), qRgba(0, 0, 255, 100), 1);
  int white = 0, partial = 0;
  for (int y = 0; y < layer.height(); ++y)
    for (int x = 0; x < layer.width(); ++x) {
      const QRgb pixel = layer.pixel(x, y);
      if (near(pixel, qRgba(255, 255, 255, 255), 1))
        ++white;
      else if (qRed(pixel) > 20 && qRed(pixel) < 235)
        ++partial;
    }
  EXPECT_GT(white, 30);
  EXPECT_GT(partial, 10) << "edges are smoothed";
}

TEST(WatermarkText, UnderlineAndStrikeOutAreDrawn) {
  for (int antialiasing : {0, 1}) {
    std::vector<int> rows[3];
    for (int effect : {0, 1, 2}) {
      Settings settings = textSettings(QStringLiteral("ii ii ii ii"));
      settings.watermark.textAntialiasing = static_cast<int8_t>(antialiasing);
      settings.watermark.fontEffect = static_cast<int8_t>(effect);
      settings.watermark.fontSize = 24;
      const QImage layer = layerOf(settings);
      ASSERT_FALSE(layer.isNull());
      rows[effect] = solidRows(layer);
    }
    EXPECT_TRUE(rows[0].empty()) << antialiasing;
    ASSERT_FALSE(rows[1].empty()) << antialiasing;
    ASSERT_FALSE(rows[2].empty()) << antialiasing;
    EXPECT_LT(rows[2].back(), rows[1].front()) << "strike-through lies above the underline";
  }
}

TEST(WatermarkText, RotatedAndPlacedOnTheImage) {
  Settings settings = textSettings(QStringLiteral("Turned"));
  settings.watermark.textRotation = 90;
  settings.watermark.textPosition = 0;
  settings.watermark.textXOffset = 5;
  settings.watermark.textYOffset = 5;
  const QImage layer = layerOf(settings);
  ConversionJob job;
  job.watermarkFont = fontOf(settings);
  BitmapPtr result = watermark(solidBitmap(200, 200, qRgb(0, 0, 255)), 200, 200, settings, job);
  ASSERT_TRUE(result);
  // The black box of the turned layer: as wide as the text was high.
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 5, 5), kBack, 1);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 5 + layer.height() - 1, 5 + layer.width() - 1), kBack, 1);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 5 + layer.height() + 1, 5), qRgb(0, 0, 255), 0);
  EXPECT_PIXEL_NEAR(pixelAt(result.get(), 5, 5 + layer.width() + 1), qRgb(0, 0, 255), 0);
}

}  // namespace
