#include "cli/options.h"
#include "cli/console_run.h"
#include "cli/keywords.h"
#include "cli/parameters.h"
#include "cli/profile.h"
#include "settings/defaults.h"
#include "settings/fields.h"
#include "settings/key_value_file.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <variant>

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

Settings consoleDefaults() {
  Settings settings;
  applyDefaults(settings, true, DefaultsEnvironment{0, 0, 1700000000});
  return settings;
}

// A setting's value as text, for compact expectations.
QString fieldText(Settings& settings, const char* path) {
  const QString text = QString::fromLatin1(path);
  const SettingField* field =
      findSettingField(text.section(QLatin1Char('/'), 0, 0), text.section(QLatin1Char('/'), 1));
  if (field == nullptr) return QStringLiteral("<no such field>");
  return std::visit(
      [](auto* slot) -> QString {
        using T = std::remove_pointer_t<decltype(slot)>;
        if constexpr (std::is_same_v<T, QString>)
          return *slot;
        else if constexpr (std::is_same_v<T, float>)
          return formatFloat(*slot);
        else
          return QString::number(*slot);
      },
      field->get(settings));
}

struct Scan {
  Settings settings = consoleDefaults();
  ConversionJob job;
  ConsoleState state;
  explicit Scan(const QStringList& parameters) { scanParameters(parameters, settings, job, state); }
};

TEST(Keywords, ValuesAndWordsBothWays) {
  EXPECT_EQ(keywordToValue(12, QStringLiteral("lanczos")), 5);
  EXPECT_EQ(keywordToValue(12, QStringLiteral("Lanczos")), 5);
  EXPECT_EQ(keywordToValue(12, QStringLiteral("lanczos3")), 0);
  EXPECT_EQ(keywordToValue(4, QStringLiteral("zip")), 1);
  EXPECT_EQ(keywordToValue(4, QStringLiteral("logluv")), 8);
  EXPECT_EQ(keywordToValue(13, QStringLiteral("SOLID")), 0);  // printout-only lists
  EXPECT_EQ(keywordToValue(14, QStringLiteral("IMAGE")), 0);
  EXPECT_EQ(keywordToValue(22, QStringLiteral("AUTO")), 0);

  struct Case {
    int list;
    int32_t value;
    const char* format;
    const char* word;
  };
  for (const Case& c :
       {Case{12, 3, "", "bicubic"}, Case{19, 0, "", "topleft"}, Case{1, 4, "", "48hs"},
        Case{16, 2, "", "strikethrought"}, Case{4, 2, "png", "zlib6"}, Case{4, 1, "tiff", "ccittfax3"},
        Case{4, 1, "exr", "zip"}, Case{4, 1, "bmp", "rle"}, Case{4, 1, "tga", "rle"},
        Case{4, 0, "png", "none"}, Case{4, 6, "png", ""}, Case{13, 1, "", "solid"}, Case{14, 2, "", "image"},
        Case{20, 3, "", ""}, Case{12, -1, "", ""}}) {
    EXPECT_EQ(valueToKeyword(c.list, c.value, QString::fromLatin1(c.format)), QString::fromLatin1(c.word))
        << c.list << " " << c.value << " " << c.format;
  }
}

TEST(OptionTable, TargetsExistAndNamesAreDistinct) {
  QSet<QString> names;
  Settings settings;
  for (const OptionSpec& option : optionTable()) {
    for (const char* name : option.names) {
      if (name == nullptr) continue;
      EXPECT_FALSE(names.contains(QString::fromLatin1(name))) << name;
      names.insert(QString::fromLatin1(name));
      EXPECT_EQ(QString::fromLatin1(name), QString::fromLatin1(name).toUpper()) << name;
    }
    if (option.role != OptionRole::Setting) continue;
    EXPECT_NE(fieldText(settings, option.target), QStringLiteral("<no such field>")) << option.names[0];
    if (option.alsoSets != nullptr) {
      EXPECT_NE(fieldText(settings, option.alsoSets), QStringLiteral("<no such field>")) << option.names[0];
    }
    if (option.kind == ValueKind::Keyword) {
      EXPECT_FALSE(listKeywords(option.keywordList).isEmpty()) << option.names[0];
    }
  }
  EXPECT_EQ(names.size(), 122);
}

TEST(OptionTable, IntegersReadDecimalHexAndBinary) {
  struct Case {
    const char* text;
    int32_t value;
  };
  for (const Case& c :
       {Case{"640", 640}, Case{"$280", 640}, Case{"%101", 5}, Case{"-$10", -16}, Case{"+7", 7},
        Case{" \t42", 42}, Case{"640px", 640}, Case{"abc", 0}, Case{"", 0}, Case{"$", 0}, Case{"%102", 2},
        Case{"$fFz", 255}, Case{"4294967296", 0}, Case{"-2147483648", INT32_MIN}}) {
    EXPECT_EQ(parseOptionInteger(QString::fromLatin1(c.text)), c.value) << c.text;
  }
}

TEST(Parameters, NameAndValueByPosition) {
  const QStringList p{QStringLiteral("--Help=x"), QStringLiteral("  -i  "), QStringLiteral("photo.jpg"),
                      QStringLiteral("--input=a=b.jpg"), QStringLiteral("--width")};
  EXPECT_EQ(optionName(p, 0), QStringLiteral("--HELP"));
  EXPECT_EQ(optionValue(p, 0), QStringLiteral("x"));
  EXPECT_EQ(optionName(p, 1), QStringLiteral("-I"));
  EXPECT_EQ(optionValue(p, 1), QStringLiteral("-i"));
  EXPECT_EQ(optionName(p, 2), QString());
  EXPECT_EQ(optionValue(p, 2), QStringLiteral("photo.jpg"));
  EXPECT_EQ(optionName(p, 3), QStringLiteral("--INPUT"));
  EXPECT_EQ(optionValue(p, 3), QStringLiteral("a=b.jpg"));
  EXPECT_EQ(optionValue(p, 4), QStringLiteral("--width"));
  EXPECT_EQ(optionName(p, 5), QString());
  EXPECT_EQ(optionValue(p, 5), QString());
}

TEST(Parameters, EveryValueKindStoresItsSetting) {
  struct Case {
    QStringList parameters;
    const char* field;
    const char* value;
  };
  const QList<Case> cases = {
      {{"--resize-algorithm=lanczos"}, "Transform/Image Resize Algorithm", "5"},
      {{"--resize-algorithm= Lanczos "}, "Transform/Image Resize Algorithm", "5"},
      {{"--resize-algorithm=lanczos3"}, "Transform/Image Resize Algorithm", "0"},
      {{"--wm-text-position=bottomright"}, "Watermark/Text Position", "8"},
      {{"--tiff-compression=lzw"}, "Output/TIFF Compression", "6"},
      {{"--png-compression=lzw"}, "Output/PNG Compression", "6"},
      {{"--png-compression=zip"}, "Output/PNG Compression", "1"},
      {{"--wm-font-effect=strikethrought"}, "Watermark/Font Effect", "2"},
      {{"--file-timestamp=original"}, "Advanced/File Timestamp", "1"},
      {{"--width=$280"}, "Transform/Image Width", "640"},
      {{"--width=$280"}, "Transform/Do Image Resize", "1"},
      {{"--height=%101"}, "Transform/Image Height", "5"},
      {{"--height=%101"}, "Transform/Do Image Resize", "1"},
      {{"--width=abc"}, "Transform/Image Width", "0"},
      {{"--brightness=-50"}, "Adjustment/Image Brightness", "-50"},
      {{"--contrast=7"}, "Adjustment/Do Image Color Correction", "1"},
      {{"--gamma=2,2"}, "Adjustment/Image Gamma", "2.000000"},
      {{"--gamma=1.5e-1"}, "Adjustment/Image Gamma", "0.150000"},
      {{"--gamma=-infinity"}, "Adjustment/Image Gamma", "-Infinity"},
      {{"--gamma=nan"}, "Adjustment/Image Gamma", "NaN"},
      {{"--gamma=x"}, "Adjustment/Image Gamma", "0.000000"},
      {{"--invert=no"}, "Adjustment/Image Invert", "1"},
      {{"--invert=no"}, "Adjustment/Do Image Color Correction", "1"},
      {{"--greyscale"}, "Adjustment/Do Image Color Correction", "0"},
      {{"--threshold=128"}, "Adjustment/Do Image Threshold", "1"},
      {{"--rotation=90"}, "Transform/Do Image Rotation", "1"},
      {{"--rotation-type=advanced"}, "Transform/Do Image Rotation", "0"},
      {{"--fr-solid-left=3"}, "Frame/Do Frame", "1"},
      {{"--fr-solid-opacity=128"}, "Frame/Solid Opacity", "128"},
      {{"--fr-solid-opacity=128"}, "Frame/Do Frame", "0"},
      {{"--fr-solid-top-color=FF0000"}, "Frame/Do Frame", "0"},
      {{"--no-subfolders"}, "Advanced/Keep Subfolders", "0"},
      {{"--keep-aspect-ratio=0"}, "Transform/Keep Aspect Ratio", "1"},
      {{"--hdr-bpp=96"}, "Output/HDR BPP", "96"},
      {{"--WM-TEXT=\"Hello", "World\""}, "Watermark/Text", "Hello World"},
      {{"--wm-text=\"Hello", "big", "World\"", "--width=5"}, "Watermark/Text", "Hello big World"},
      {{"--wm-text=\"Hello", "big", "World\"", "--width=5"}, "Transform/Image Width", "5"},
      {{"--wm-text=\"\"Hi\"\""}, "Watermark/Text", "Hi"},
      {{"--wm-text=a", "--wm-image=b.png"}, "Watermark/Do Watermark", "2"},
      {{"--wm-image=b.png", "--wm-text=a"}, "Watermark/Do Watermark", "1"},
      {{"--filename-mask=\"%filename%_x.%ext%\""}, "Advanced/Filename Mask", "%filename%_x.%ext%"},
      {{"--width=1", "--width=2"}, "Transform/Image Width", "2"},
      {{"-v", "--width=3"}, "Transform/Image Width", "3"},  // a late switch is just ignored
  };
  for (const Case& c : cases) {
    Scan scan(c.parameters);
    EXPECT_EQ(scan.state.error, ScanError::None) << c.parameters.join(' ').toStdString();
    EXPECT_EQ(fieldText(scan.settings, c.field), QString::fromLatin1(c.value))
        << c.parameters.join(' ').toStdString() << " -> " << c.field;
  }
}

TEST(Parameters, MainOptionsAndSwitches) {
  Scan quoted({"-i", "\"my", "photo.jpg\"", "-o", "\"/tmp/out", "dir\"", "-c", "\"hdr", "-d", "-q", "-p"});
  EXPECT_EQ(quoted.state.error, ScanError::None);
  EXPECT_EQ(quoted.state.inputPath, QStringLiteral("my photo.jpg"));
  EXPECT_EQ(quoted.job.outputFolder, QStringLiteral("/tmp/out dir"));
  EXPECT_EQ(quoted.job.outputExtension, QStringLiteral("hdr"));  // no rejoining, quotes removed
  EXPECT_EQ(quoted.job.consoleMode, 1);
  EXPECT_EQ(quoted.job.consoleOutputMode, QStringLiteral("DEBUG"));
  EXPECT_TRUE(quoted.state.quiet);
  EXPECT_TRUE(quoted.state.pause);

  Scan longForms({"--INPUT=a.jpg", "--output=out", "--Conversion=hdr", "--input=b.jpg"});
  EXPECT_EQ(longForms.state.error, ScanError::None);
  EXPECT_EQ(longForms.state.inputPath, QStringLiteral("b.jpg"));
  EXPECT_EQ(longForms.job.outputFolder, QStringLiteral("out"));
  EXPECT_EQ(longForms.job.outputExtension, QStringLiteral("hdr"));

  Scan noInput({"-o", "out", "a.jpg"});
  EXPECT_EQ(noInput.state.error, ScanError::None);
  EXPECT_EQ(noInput.state.inputPath, QString());
  EXPECT_EQ(noInput.job.consoleMode, 0);
}

TEST(Parameters, MissingValuesStopTheScan) {
  struct Case {
    QStringList parameters;
    bool consoleMode;
    bool pause;
  };
  const QList<Case> cases = {
      {{"-i"}, true, false},
      {{"-i", "-o"}, true, false},
      {{"--input", "a.jpg"}, true, false},
      {{"--input="}, true, false},
      {{"-o", "out", "-c"}, false, false},
      {{"--jpg-quality", "90"}, false, false},
      {{"--width=", "-i", "a.jpg"}, false, false},
      {{"--brightness=--5"}, false, false},
      {{"--wm-text"}, false, false},
      {{"-p", "--width"}, false, true},
      {{"--width", "-p"}, false, false},
  };
  for (const Case& c : cases) {
    Scan scan(c.parameters);
    EXPECT_EQ(scan.state.error, ScanError::IncorrectParameterCount) << c.parameters.join(' ').toStdString();
    EXPECT_EQ(scan.job.consoleMode == 1, c.consoleMode) << c.parameters.join(' ').toStdString();
    EXPECT_EQ(scan.state.pause, c.pause) << c.parameters.join(' ').toStdString();
    EXPECT_EQ(scan.state.inputPath, QString()) << c.parameters.join(' ').toStdString();
  }
}

class Profiles : public ::testing::Test {
 protected:
  QString write(const char* name, const QByteArray& text) {
    const QString path = dir_.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
  }
  QTemporaryDir dir_;
};

TEST_F(Profiles, ProfileKeysDifferFromTheCommandLine) {
  const QString path = write("a.ini",
                             "; settings for the batch\n"
                             "[Other]\n--HEIGHT = 1\n"
                             "[cli]\n"
                             "--width = 800\n"
                             "--INVERT = 0\n"
                             "--FR-SOLID-OPACITY = 128\n"
                             "--WM-TEXT =   \"Hi there\"  \n"
                             "--FILENAME-MASK = \"%filename% x.%ext%\"\n"
                             "--RESIZE-ALGORITHM =  lanczos \n"
                             "--gamma = 2.5\n"
                             "--INPUT = other.jpg\n--OUTPUT = /x\n--CONVERSION = png\n"
                             "--DEBUG = 1\n--QUIET = 1\n--PAUSE = 1\n--PROFILE = missing.ini\n"
                             "--UNKNOWN = 3\n"
                             "--HDR-BPP = 32\n--HDR-BPP = 96\n"
                             "[CLI]\n--HEIGHT = 2\n");
  Scan scan({QStringLiteral("--profile=") + path});
  EXPECT_EQ(scan.state.error, ScanError::None);
  EXPECT_EQ(fieldText(scan.settings, "Transform/Image Width"), QStringLiteral("800"));
  EXPECT_EQ(fieldText(scan.settings, "Transform/Do Image Resize"), QStringLiteral("1"));
  EXPECT_EQ(fieldText(scan.settings, "Transform/Image Height"), QStringLiteral("0"));  // only the first [CLI]
  EXPECT_EQ(fieldText(scan.settings, "Adjustment/Image Invert"), QStringLiteral("1"));
  EXPECT_EQ(fieldText(scan.settings, "Adjustment/Image Gamma"), QStringLiteral("2.500000"));
  EXPECT_EQ(fieldText(scan.settings, "Frame/Solid Opacity"), QStringLiteral("255"));
  EXPECT_EQ(fieldText(scan.settings, "Watermark/Text"), QStringLiteral("\"Hi there\""));
  EXPECT_EQ(fieldText(scan.settings, "Watermark/Do Watermark"), QStringLiteral("1"));
  EXPECT_EQ(fieldText(scan.settings, "Advanced/Filename Mask"), QStringLiteral("%filename% x.%ext%"));
  EXPECT_EQ(fieldText(scan.settings, "Transform/Image Resize Algorithm"), QStringLiteral("5"));
  EXPECT_EQ(fieldText(scan.settings, "Output/HDR BPP"), QStringLiteral("96"));
  EXPECT_EQ(scan.state.inputPath, QString());
  EXPECT_EQ(scan.job.outputFolder, QString());
  EXPECT_EQ(scan.job.outputExtension, QString());
  EXPECT_EQ(scan.job.consoleOutputMode, QString());
  EXPECT_FALSE(scan.state.quiet);
  EXPECT_FALSE(scan.state.pause);
}

TEST_F(Profiles, FrameOpacityHasItsOwnProfileName) {
  Settings settings = consoleDefaults();
  EXPECT_TRUE(loadProfile(write("b.ini", "[CLI]\n--WM-SOLID-OPACITY = 64\n"), settings));
  EXPECT_EQ(settings.frame.solidOpacity, 64);
}

TEST_F(Profiles, AppliedWhereTheOptionStands) {
  const QString option = QStringLiteral("--profile=") + write("a.ini", "[CLI]\n--WIDTH = 800\n");
  EXPECT_EQ(Scan({option, "--width=100"}).settings.transform.imageWidth, 100);
  EXPECT_EQ(Scan({"--width=100", option}).settings.transform.imageWidth, 800);
  EXPECT_EQ(Scan({"--width=100", "--profile=" + write("c.ini", "[General]\n--WIDTH = 1\n")})
                .settings.transform.imageWidth,
            100);
}

TEST_F(Profiles, UnreadableProfileStopsTheScan) {
  for (const QStringList& parameters :
       {QStringList{"--profile=" + dir_.filePath("missing.ini"), "-p"}, QStringList{"--profile=\"\"", "-p"},
        QStringList{"--profile=" + dir_.path(), "-p"}}) {
    Scan scan(parameters);
    EXPECT_EQ(scan.state.error, ScanError::InvalidProfile) << parameters.join(' ').toStdString();
    EXPECT_FALSE(scan.state.pause);
  }
}

}  // namespace

namespace {

TEST(ConsoleChecks, FormatsAndDepths) {
  EXPECT_TRUE(isOutputFormat(QStringLiteral("hdr")));
  EXPECT_FALSE(isOutputFormat(QStringLiteral("HDR")));
  EXPECT_FALSE(isOutputFormat(QStringLiteral("png")));  // a known format, but not one this program offers
  EXPECT_TRUE(isAllowedBitDepth(QStringLiteral("hdr"), 0));
  EXPECT_TRUE(isAllowedBitDepth(QStringLiteral("hdr"), 96));
  EXPECT_FALSE(isAllowedBitDepth(QStringLiteral("hdr"), 24));
  EXPECT_TRUE(isAllowedBitDepth(QStringLiteral("nope"), 0));
  EXPECT_FALSE(isAllowedBitDepth(QStringLiteral("nope"), 8));
}

TEST(ConsoleChecks, FormatDebugLinesNameKeywordsOfTheFormatsFamily) {
  Settings settings = consoleDefaults();
  settings.output.pngCompression = 2;
  settings.output.tiffCompression = 1;
  settings.output.bmpCompression = 1;
  settings.output.jpgChroma = 3;
  EXPECT_EQ(formatDebugLines(QStringLiteral("png"), settings),
            QStringList({"PNG Compression: zlib6", "PNG Interlaced: 0"}));
  EXPECT_EQ(formatDebugLines(QStringLiteral("tiff"), settings),
            QStringList({"TIFF Compression: ccittfax3", "TIFF Color Model: rgb"}));
  EXPECT_EQ(formatDebugLines(QStringLiteral("bmp"), settings),
            QStringList({"BMP Compression: rle", "BMP Color Table: auto"}));
  EXPECT_EQ(formatDebugLines(QStringLiteral("jpg"), settings),
            QStringList({"JPG Quality: 95", "JPG Chroma Subsampling: high", "JPG Save As: standard"}));
  EXPECT_EQ(formatDebugLines(QStringLiteral("hdr"), settings), QStringList());
}

}  // namespace
