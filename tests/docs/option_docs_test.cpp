#include "docs/option_docs.h"

#include "cli/keywords.h"
#include "cli/options.h"
#include "convert/naming.h"
#include "settings/format_lists.h"

#include <gtest/gtest.h>

#include <set>

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

std::vector<docs::OptionSection> sections() {
  std::vector<docs::OptionSection> result;
  QString error;
  EXPECT_TRUE(docs::buildOptionSections(&result, &error)) << error.toStdString();
  return result;
}

const docs::OptionEntry* entryOf(const std::vector<docs::OptionSection>& all, const char* longName) {
  for (const docs::OptionSection& section : all) {
    for (const docs::OptionEntry& entry : section.options) {
      if (::longName(*entry.spec) == QLatin1String(longName)) return &entry;
    }
  }
  return nullptr;
}

QString plainText(const docs::Paragraph& runs) {
  QString text;
  for (const docs::Run& run : runs) text += run.text;
  return text;
}

const OptionSpec& option(const char* name) {
  const OptionSpec* found = findOption(QString::fromLatin1(name), true);
  EXPECT_NE(found, nullptr) << name;
  return *found;
}

TEST(OptionDocs, EveryOptionIsInExactlyOneSectionInTableOrder) {
  const std::vector<docs::OptionSection> all = sections();
  std::vector<const OptionSpec*> documented;
  for (const docs::OptionSection& section : all) {
    EXPECT_FALSE(section.title.isEmpty());
    EXPECT_FALSE(section.intro.isEmpty()) << section.title.toStdString();
    EXPECT_FALSE(section.options.empty()) << section.title.toStdString();
    for (const docs::OptionEntry& entry : section.options) documented.push_back(entry.spec);
  }
  ASSERT_EQ(documented.size(), optionTable().size());
  std::set<const OptionSpec*> distinct(documented.begin(), documented.end());
  EXPECT_EQ(distinct.size(), documented.size());
  EXPECT_EQ(all.front().title, QStringLiteral("Switches of the first parameter"));
  EXPECT_EQ(all.back().title, QStringLiteral("Advanced options"));
}

TEST(OptionDocs, ManPageShowsEveryFormAndEveryKeyword) {
  const QString man = docs::manOptions(sections());
  for (const OptionSpec& spec : optionTable()) {
    for (const char* name : spec.names) {
      if (name == nullptr) continue;
      const QString form = QStringLiteral("\\fB") + docs::roffEscape(QString::fromLatin1(name).toLower()) +
                           QStringLiteral("\\fR");
      EXPECT_TRUE(man.contains(form)) << name;
    }
    for (const QString& word : docs::valueWords(spec))
      EXPECT_TRUE(man.contains(QStringLiteral("\\fB") + docs::roffEscape(word) + QStringLiteral("\\fR")))
          << longName(spec).toStdString() << " " << word.toStdString();
  }
  EXPECT_TRUE(man.contains(QStringLiteral(".SS \"Watermark options\"\n")));
  EXPECT_TRUE(man.contains(QStringLiteral("\\fB\\-\\-resize\\-algorithm\\fR=\\fIWORD\\fR\n")));
  EXPECT_TRUE(man.contains(QStringLiteral("\\fB\\-t\\fR [\\fIFOLDER\\fR]\n")));
  // No generated line may start as a roff request by accident.
  for (const QString& line : man.split(QLatin1Char('\n'))) {
    if (!line.startsWith(QLatin1Char('.'))) continue;
    EXPECT_TRUE(line == QLatin1String(".TP") || line.startsWith(QLatin1String(".SS "))) << line.toStdString();
  }
}

TEST(OptionDocs, HtmlReferenceShowsEveryLongName) {
  const QString html = docs::htmlOptions(sections());
  for (const OptionSpec& spec : optionTable())
    EXPECT_TRUE(html.contains(QStringLiteral("<code>") + longName(spec).toLower()))
        << longName(spec).toStdString();
  EXPECT_TRUE(
      html.contains(QStringLiteral("<code>-i <var>FILE</var></code>, <code>--input=<var>FILE</var></code>")));
  EXPECT_TRUE(html.contains(QStringLiteral("<h3 id=\"options-transform-options\">Transform options</h3>")));
}

TEST(OptionDocs, KeywordsAreTheListsInLowerCaseAndCompressionsFollowTheirFormat) {
  EXPECT_EQ(docs::valueWords(option("--RESIZE-ALGORITHM")),
            QStringList({"box", "bilinear", "bspline", "bicubic", "catmullrom", "lanczos"}));
  EXPECT_EQ(docs::valueWords(option("--PNG-COMPRESSION")), QStringList({"none", "zlib1", "zlib6", "zlib9"}));
  EXPECT_EQ(docs::valueWords(option("--BMP-COMPRESSION")), QStringList({"none", "rle"}));
  EXPECT_EQ(docs::valueWords(option("--TIFF-COMPRESSION")).size(), 9);
  EXPECT_EQ(docs::valueWords(option("--WM-FONT-EFFECT")),
            QStringList({"none", "underline", "strikethrought"}));
  EXPECT_EQ(docs::valueWords(option("-C")), outputFormatList());
  EXPECT_TRUE(docs::valueWords(option("--WIDTH")).isEmpty());
  // Every word documented for an option is one the option reads back as its own value.
  for (const OptionSpec& spec : optionTable()) {
    if (spec.kind != ValueKind::Keyword) continue;
    const QStringList words = docs::valueWords(spec);
    EXPECT_FALSE(words.isEmpty()) << longName(spec).toStdString();
    for (qsizetype i = 1; i < words.size(); ++i)
      EXPECT_NE(keywordToValue(spec.keywordList, words[i]), 0) << words[i].toStdString();
  }
}

TEST(OptionDocs, TextsSayWhatElseAnOptionSetsItsDefaultAndItsProfileKey) {
  const std::vector<docs::OptionSection> all = sections();
  const QString width = plainText(entryOf(all, "--WIDTH")->text);
  EXPECT_TRUE(width.startsWith(QStringLiteral("Set output image width.")));
  EXPECT_TRUE(width.contains(QStringLiteral("Also turns resizing on.")));
  EXPECT_TRUE(width.endsWith(QStringLiteral("Default: 0.")));
  EXPECT_TRUE(
      plainText(entryOf(all, "--RESIZE-ALGORITHM")->text).endsWith(QStringLiteral("Default: bicubic.")));
  EXPECT_TRUE(plainText(entryOf(all, "--GAMMA")->text).endsWith(QStringLiteral("Default: 1.00.")));
  EXPECT_TRUE(plainText(entryOf(all, "--WM-TEXT")->text)
                  .endsWith(QStringLiteral("Default: \"Converted with Lumavane JPG to HDR\".")));
  EXPECT_TRUE(plainText(entryOf(all, "--FR-SOLID-OPACITY")->text)
                  .endsWith(QStringLiteral("In a profile file its key is --wm-solid-opacity.")));
  // The custom date defaults to the moment of start, so no default is claimed; flags have none.
  EXPECT_FALSE(plainText(entryOf(all, "--FILE-TIMESTAMP-CUSTOM")->text).contains(QStringLiteral("Default")));
  EXPECT_FALSE(plainText(entryOf(all, "--INVERT")->text).contains(QStringLiteral("Default")));
  EXPECT_TRUE(plainText(entryOf(all, "--CONVERSION")->text).contains(QStringLiteral("STR can only be hdr.")));
}

TEST(OptionDocs, CompletionDataNamesEveryOptionAndTheKindOfItsValue) {
  const QString data = docs::completionData();
  EXPECT_TRUE(data.contains(QStringLiteral(
      "    '--resize-algorithm') echo 'words box bilinear bspline bicubic catmullrom lanczos' ;;\n")));
  EXPECT_TRUE(data.contains(QStringLiteral("    '-i'|'--input') echo 'input' ;;\n")));
  EXPECT_TRUE(data.contains(QStringLiteral("    '-o'|'--output') echo 'folder' ;;\n")));
  EXPECT_TRUE(data.contains(QStringLiteral("    '--wm-image') echo 'file' ;;\n")));
  EXPECT_TRUE(
      data.contains(QStringLiteral("_quillet_first_only=('-h' '-?' '--help' '-v' '--version' '-u' '-t')\n")));
  EXPECT_TRUE(data.contains(QStringLiteral("_quillet_short_valued=('-i' '-o' '-c')\n")));
  EXPECT_FALSE(data.contains(QStringLiteral("'--width')")));  // a free number completes to nothing
  for (const OptionSpec& spec : optionTable())
    EXPECT_TRUE(data.contains(QLatin1Char('\'') + longName(spec).toLower() + QLatin1Char('\'')))
        << longName(spec).toStdString();
}

TEST(OptionDocs, RoffEscapesHyphensBackslashesAndLeadingDots) {
  EXPECT_EQ(docs::roffEscape(QStringLiteral("--a\\b")), QStringLiteral("\\-\\-a\\eb"));
  const QString man = docs::manTokens({{QStringLiteral(".x"), QStringLiteral("text")}});
  EXPECT_EQ(man, QStringLiteral(".TP\n\\fB.x\\fR\nText.\n"));
  EXPECT_EQ(docs::htmlEscape(QStringLiteral("<a & \"b\">")), QStringLiteral("&lt;a &amp; &quot;b&quot;&gt;"));
}

TEST(OptionDocs, FilenameMaskTokensAreTheOnesTheMaskKnows) {
  std::vector<std::pair<QString, QString>> tokens;
  QString error;
  ASSERT_TRUE(docs::buildTokenList(&tokens, &error)) << error.toStdString();
  ASSERT_EQ(tokens.size(), static_cast<size_t>(maskTokens().size()));
  for (size_t i = 0; i < tokens.size(); ++i) {
    EXPECT_EQ(tokens[i].first, maskTokens()[static_cast<qsizetype>(i)]);
    EXPECT_FALSE(tokens[i].second.isEmpty());
  }
  EXPECT_TRUE(docs::htmlTokens(tokens).contains(QStringLiteral("<tr><td><code>%n%</code></td>")));
}

TEST(OptionDocs, TemplatesGetEveryValueAndNoStrayOnes) {
  QString result;
  QString error;
  std::map<QString, QString> values = docs::productValues();
  values[QStringLiteral("OPTIONS")] = QStringLiteral("opts");
  ASSERT_TRUE(
      docs::fillTemplate(QStringLiteral("quillet @VERSION@: @OPTIONS@, 50% @ @"), values, &result, &error));
  EXPECT_EQ(result, QStringLiteral("quillet 2.2: opts, 50% @ @"));

  EXPECT_FALSE(docs::fillTemplate(QStringLiteral("@TOKENS@"), values, &result, &error));
  EXPECT_EQ(error, QStringLiteral("no value for @TOKENS@"));
  EXPECT_FALSE(docs::fillTemplate(QStringLiteral("@VERSION@"), values, &result, &error));
  EXPECT_EQ(error, QStringLiteral("@OPTIONS@ is not used"));
}

}  // namespace
