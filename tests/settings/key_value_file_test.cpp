#include "settings/key_value_file.h"

#include "temp_folder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace {

QByteArray utf8(const char* text) { return QByteArray(text); }

// One lookup of `group`/`key` in a file's bytes; nullopt when the key is not found.
struct LookupCase {
  const char* rule;
  QByteArray bytes;
  const char* group;
  const char* key;
  std::optional<QString> expected;
};

TEST(KeyValueReader, LookupRules) {
  const QString eAcute(QChar(0xE9));
  const LookupCase cases[] = {
      {"plain line", "[G]\r\nK = v\r\n", "G", "K", QStringLiteral("v")},
      {"BOM means UTF-8", "\xEF\xBB\xBF[G]\r\nK = caf\xC3\xA9\r\n", "G", "K", "caf" + eAcute},
      {"no BOM means Latin-1", "[G]\r\nK = caf\xE9\r\n", "G", "K", "caf" + eAcute},
      {"UTF-8 without BOM is Latin-1", "[G]\nK = \xC3\xA9\n", "G", "K", QString::fromLatin1("\xC3\xA9")},
      {"BOM directly before the group", "\xEF\xBB\xBF[G]\nK=v", "G", "K", QStringLiteral("v")},
      {"LF line ends", "[G]\nA = 1\nK = v\n", "G", "K", QStringLiteral("v")},
      {"CR line ends", "[G]\rA = 1\rK = v\r", "G", "K", QStringLiteral("v")},
      {"mixed line ends, no final one", "[G]\r\n\r\nA = 1\n\rK = v", "G", "K", QStringLiteral("v")},
      {"leading blanks skipped", "  \t[G]\n\t  K = v\n", "G", "K", QStringLiteral("v")},
      {"comment line", "[G]\n; K = comment\nK = v\n", "G", "K", QStringLiteral("v")},
      {"indented comment line", "[G]\n \t; K = comment\n", "G", "K", std::nullopt},
      {"group and key ignore ASCII case", "[gEnErAl]\ncfg = 13\n", "General", "CFG", QStringLiteral("13")},
      {"non-ASCII letters keep their case", "[G]\n\xC9t\xE9 = v\n", "G", "\xC3\xA9T\xC3\xA9", std::nullopt},
      {"first occurrence of a group only", "[G]\nA = 1\n[H]\n[g]\nK = late\n", "G", "K", std::nullopt},
      {"first key wins", "[G]\nK = first\nk = second\n", "G", "K", QStringLiteral("first")},
      {"key bounded by the next group", "[G]\n[H]\nK = v\n", "G", "K", std::nullopt},
      {"missing group", "[G]\nK = v\n", "Other", "K", std::nullopt},
      {"key before any group", "K = v\n[G]\n", "G", "K", std::nullopt},
      {"blanks around = dropped, trailing kept", "[G]\nK \t =\t  v w \t\n", "G", "K",
       QStringLiteral("v w \t")},
      {"no blanks around =", "[G]\nK=v\n", "G", "K", QStringLiteral("v")},
      {"empty value", "[G]\nK =\n", "G", "K", QString()},
      {"line without = is a key with empty value", "[G]\nK\n", "G", "K", QString()},
      {"value runs past a second =", "[G]\nK = a = b\n", "G", "K", QStringLiteral("a = b")},
      {"group name ends at ]", "[G] trailing\nK = v\n", "G", "K", QStringLiteral("v")},
      {"unclosed group name runs to line end", "[G\nK = v\n", "G", "K", QStringLiteral("v")},
      {"key with inner blanks", "[G]\nSave Window Position = 1\n", "G", "save window position",
       QStringLiteral("1")},
      {"empty file", "", "G", "K", std::nullopt},
  };
  for (const LookupCase& c : cases) {
    KeyValueReader reader;
    reader.openBytes(c.bytes);
    reader.selectGroup(QString::fromUtf8(c.group));
    const QString key = QString::fromUtf8(c.key);
    EXPECT_EQ(reader.has(key), c.expected.has_value()) << c.rule;
    EXPECT_EQ(reader.readText(key, QStringLiteral("<default>")),
              c.expected.value_or(QStringLiteral("<default>")))
        << c.rule;
  }
}

TEST(KeyValueReader, TypedReadsUseTheDefaultOnlyWhenTheKeyIsMissing) {
  KeyValueReader reader;
  reader.openBytes("[G]\nEmpty =\nNumber = 42px\nGamma = 2.5\nText = \n");
  reader.selectGroup(QStringLiteral("G"));
  EXPECT_TRUE(reader.groupFound());
  EXPECT_EQ(reader.readInt(QStringLiteral("Empty"), 510), 0);
  EXPECT_EQ(reader.readInt(QStringLiteral("Number"), 7), 42);
  EXPECT_EQ(reader.readInt(QStringLiteral("Missing"), 7), 7);
  EXPECT_FLOAT_EQ(reader.readFloat(QStringLiteral("Gamma"), 1.0f), 2.5f);
  EXPECT_FLOAT_EQ(reader.readFloat(QStringLiteral("Empty"), 1.0f), 0.0f);
  EXPECT_FLOAT_EQ(reader.readFloat(QStringLiteral("Missing"), 1.0f), 1.0f);
  EXPECT_EQ(reader.readText(QStringLiteral("Text"), QStringLiteral("d")), QString());

  reader.selectGroup(QStringLiteral("Nope"));
  EXPECT_FALSE(reader.groupFound());
  EXPECT_EQ(reader.readInt(QStringLiteral("Number"), 7), 7);
  EXPECT_TRUE(reader.entries().isEmpty());
}

TEST(KeyValueReader, EntriesOfTheSelectedGroupInFileOrder) {
  KeyValueReader reader;
  reader.openBytes(
      "[Other]\r\nx = 0\r\n"
      "[CLI]\r\n"
      "  output = /tmp/out dir  \r\n"
      "; a comment\r\n"
      "\r\n"
      "Width=\t640\r\n"
      "width = 800\r\n"
      "flag\r\n"
      "[Next]\r\ny = 1\r\n"
      "[cli]\r\nignored = 1\r\n");
  reader.selectGroup(QStringLiteral("cli"));
  const QList<KeyValueReader::Entry> entries = reader.entries();
  ASSERT_EQ(entries.size(), 4);
  const std::pair<QString, QString> expected[] = {
      {"output", "/tmp/out dir  "}, {"Width", "640"}, {"width", "800"}, {"flag", ""}};
  for (qsizetype i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].key, expected[i].first) << i;
    EXPECT_EQ(entries[i].value, expected[i].second) << i;
  }
}

TEST(KeyValueReader, OpensFilesAndRefusesWhatIsNoFile) {
  TempFolder folder;
  const QString path = folder.path(QStringLiteral("profile.ini"));
  KeyValueReader reader;
  EXPECT_FALSE(reader.open(path));
  EXPECT_FALSE(reader.open(QString()));
  EXPECT_FALSE(reader.open(folder.root()));

  folder.write(QStringLiteral("profile.ini"), "[CLI]\nquality = 80\n");
  ASSERT_TRUE(reader.open(path));
  reader.selectGroup(QStringLiteral("CLI"));
  EXPECT_EQ(reader.readInt(QStringLiteral("Quality"), 0), 80);
  reader.close();
  reader.selectGroup(QStringLiteral("CLI"));
  EXPECT_FALSE(reader.groupFound());
}

TEST(ParseDecimalInt, BehavesLikeTheCLibraryStoredAt32Bits) {
  const char* inputs[] = {"0",
                          "42",
                          "-17",
                          "+8",
                          "  12",
                          "\t-3",
                          "007",
                          "12abc",
                          "3.9",
                          "1e5",
                          "",
                          "   ",
                          "abc",
                          "-",
                          "+",
                          "+-5",
                          "- 5",
                          "0x1F",
                          "2147483647",
                          "2147483648",
                          "-2147483648",
                          "-2147483649",
                          "4294967297",
                          "200",
                          "99999999999999999999999",
                          "-99999999999999999999999",
                          "9223372036854775807",
                          "-9223372036854775808"};
  for (const char* input : inputs) {
    const auto expected = static_cast<int32_t>(std::strtol(input, nullptr, 10));
    EXPECT_EQ(parseDecimalInt(QString::fromLatin1(input)), expected) << '"' << input << '"';
  }
  EXPECT_EQ(parseDecimalInt(QStringLiteral("12\u0663")), 12);  // non-ASCII digits end the number
}

TEST(ParseDecimalFloat, CSyntaxAndTheSpecialWords) {
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    const char* text;
    float expected;
  } cases[] = {
      {"1.0", 1.0f},       {"  2.5", 2.5f},     {"-0.25", -0.25f},      {"+3", 3.0f},
      {".5", 0.5f},        {"1e2", 100.0f},     {"-2.25e1xyz", -22.5f}, {"1,5", 1.0f},
      {"", 0.0f},          {"abc", 0.0f},       {"+Infinity", inf},     {"-Infinity", -inf},
      {"+INFINITY", inf},  {"-infinity", -inf}, {"+Infinityx", inf},    {"1e999", inf},
      {"0.010000", 0.01f}, {"9.990000", 9.99f},
  };
  for (const auto& c : cases)
    EXPECT_EQ(parseDecimalFloat(QString::fromLatin1(c.text)), c.expected) << '"' << c.text << '"';
  for (const char* nan : {"NaN", "nan", "NAN", " NaN"})
    EXPECT_TRUE(std::isnan(parseDecimalFloat(QString::fromLatin1(nan)))) << nan;
  EXPECT_EQ(parseDecimalFloat(QString::fromUtf8("\xC3\xA9"
                                                "1")),
            0.0f);
}

TEST(FormatFloat, SixDecimalsOrTheSpecialWords) {
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {1.0f, "1.000000"},
      {0.0f, "0.000000"},
      {-0.5f, "-0.500000"},
      {2.345678f, "2.345678"},
      {9.99f, "9.990000"},
      {1e10f, "10000000000.000000"},
      {std::numeric_limits<float>::infinity(), "+Infinity"},
      {-std::numeric_limits<float>::infinity(), "-Infinity"},
      {std::numeric_limits<float>::quiet_NaN(), "NaN"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatFloat(c.value), QLatin1String(c.text)) << c.text;
}

TEST(EqualsIgnoringAsciiCase, OnlyAsciiLettersFold) {
  EXPECT_TRUE(equalsIgnoringAsciiCase(u"Image Gamma", u"IMAGE gamma"));
  EXPECT_FALSE(equalsIgnoringAsciiCase(u"Image Gamma", u"Image Gamm"));
  EXPECT_FALSE(equalsIgnoringAsciiCase(u"\u00E9", u"\u00C9"));
  EXPECT_FALSE(equalsIgnoringAsciiCase(u"k", u"\u212A"));  // Kelvin sign
  EXPECT_FALSE(equalsIgnoringAsciiCase(u"[", u"{"));
}

TEST(KeyValueWriter, LayoutOfTheWrittenText) {
  KeyValueWriter writer;
  writer.beginGroup(QStringLiteral("General"));
  writer.writeInt(QStringLiteral("CFG"), 17);
  writer.writeInt(QStringLiteral("Negative"), -56);
  writer.writeText(QStringLiteral("Text"), QString::fromUtf8("caf\xC3\xA9 "));
  writer.writeText(QStringLiteral("Empty"), QString());
  writer.writeFloat(QStringLiteral("Gamma"), 1.0f);
  writer.writeComment(QString());
  writer.beginGroup(QStringLiteral("Empty Group"));
  writer.writeComment(QStringLiteral("note"));
  EXPECT_EQ(writer.bytes(), utf8("\xEF\xBB\xBF\r\n"
                                 "[General]\r\n"
                                 "CFG = 17\r\n"
                                 "Negative = -56\r\n"
                                 "Text = caf\xC3\xA9 \r\n"
                                 "Empty = \r\n"
                                 "Gamma = 1.000000\r\n"
                                 "; \r\n"
                                 "[Empty Group]\r\n"
                                 "; note\r\n"));
}

TEST(KeyValueWriter, LineBreaksInsideAValueCannotSplitTheLine) {
  KeyValueWriter writer;
  writer.beginGroup(QStringLiteral("File"));
  writer.writeText(QStringLiteral("Recent Out Folders"), QStringLiteral("/tmp/a\r\n[General]\nCFG = 0\rb"));
  writer.writeText(QStringLiteral("Recent Files"), QStringLiteral("kept"));
  EXPECT_EQ(writer.bytes(), utf8("\xEF\xBB\xBF\r\n[File]\r\n"
                                 "Recent Out Folders = /tmp/a  [General] CFG = 0 b\r\n"
                                 "Recent Files = kept\r\n"));

  KeyValueReader reader;
  reader.openBytes(writer.bytes());
  reader.selectGroup(QStringLiteral("File"));
  EXPECT_EQ(reader.entries().size(), 2);
  EXPECT_FALSE(reader.has(QStringLiteral("CFG")));
}

TEST(KeyValueWriter, SaveWritesTheWholeFileAndReplacesAnOldOne) {
  TempFolder folder;
  const QString path = folder.path(QStringLiteral("out.ini"));
  folder.write(QStringLiteral("out.ini"), QByteArray(10000, 'x'));
  KeyValueWriter writer;
  writer.beginGroup(QStringLiteral("G"));
  writer.writeText(QStringLiteral("K"), QStringLiteral("v"));
  ASSERT_TRUE(writer.save(path));
  EXPECT_EQ(folder.read(QStringLiteral("out.ini")), writer.bytes());
  EXPECT_EQ(folder.entries(), QStringList{QStringLiteral("out.ini")});
}

TEST(KeyValueWriter, SaveFailsWithoutTouchingAnything) {
  TempFolder folder;
  folder.write(QStringLiteral("plain"), "content");
  QDir(folder.root()).mkdir(QStringLiteral("folder"));
  KeyValueWriter writer;
  writer.beginGroup(QStringLiteral("G"));
  for (const QString& path :
       {folder.path(QStringLiteral("plain/below.ini")), folder.path(QStringLiteral("missing/out.ini")),
        folder.path(QStringLiteral("folder")), QString()}) {
    EXPECT_FALSE(writer.save(path)) << path.toStdString();
  }
  EXPECT_EQ(folder.read(QStringLiteral("plain")), QByteArray("content"));
  EXPECT_EQ(folder.entries(), (QStringList{QStringLiteral("folder"), QStringLiteral("plain")}));
}

TEST(KeyValueWriter, ShortWriteKeepsTheOldFile) {
  TempFolder folder;
  const QString path = folder.path(QStringLiteral("out.ini"));
  folder.write(QStringLiteral("out.ini"), "old content");
  KeyValueWriter writer;
  writer.beginGroup(QStringLiteral("G"));
  for (int i = 0; i < 200; ++i) writer.writeInt(QStringLiteral("Key %1").arg(i), i);
  {
    // The file-size limit makes the write stop part-way, as a full disk would.
    FileSizeLimit limit(100);
    EXPECT_FALSE(writer.save(path));
  }
  EXPECT_EQ(folder.read(QStringLiteral("out.ini")), QByteArray("old content"));
  EXPECT_EQ(folder.entries(), QStringList{QStringLiteral("out.ini")});
}

}  // namespace
