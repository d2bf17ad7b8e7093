#include "i18n/string_table.h"
#include "i18n/builtin_texts.h"
#include "i18n/product.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kMissing = QString::fromLatin1(kNoStringError);

QString q(const char* text) { return QString::fromUtf8(text); }

StringTable builtinTable() {
  StringTable table;
  table.load(QString());
  return table;
}

TEST(StringTable, BuiltinGroupsInOrderWithTheirEntryCounts) {
  const StringTable table = builtinTable();
  const QStringList names = {q("MENU"),  q("GENERAL"),          q("MSG"),      q("DIALOG"), q("PREFERENCES"),
                             q("ABOUT"), q("CUSTOM-CONVERTER"), q("UNINSTALL")};
  const int counts[] = {27, 10, 41, 16, 214, 4, 4, 3};
  ASSERT_EQ(table.groups().size(), names.size());
  int next = 1;
  for (qsizetype g = 0; g < names.size(); ++g) {
    const TextGroup& group = table.groups()[g];
    EXPECT_EQ(group.name, names[g]);
    EXPECT_EQ(group.first, next) << group.name.toStdString();
    EXPECT_EQ(group.last - group.first + 1, counts[g]) << group.name.toStdString();
    next = group.last + 1;
  }
  EXPECT_EQ(next - 1, 319);
}

// Each run is sorted, and each first-character slot points at the first key of its character.
TEST(StringTable, GroupsAreSortedWithFirstCharacterSlots) {
  const StringTable table = builtinTable();
  for (const TextGroup& group : table.groups()) {
    SCOPED_TRACE(group.name.toStdString());
    for (int i = group.first; i <= group.last; ++i) {
      const QString& key = table.keyAt(i);
      EXPECT_EQ(key, key.toUpper());
      if (i > group.first) {
        EXPECT_LE(table.keyAt(i - 1), key);
      }
      const int slot = group.firstCharacter[key[0].unicode()];
      EXPECT_GE(slot, group.first);
      EXPECT_LE(slot, i);
      EXPECT_EQ(table.keyAt(slot)[0], key[0]);
      if (slot > group.first) {
        EXPECT_NE(table.keyAt(slot - 1)[0], key[0]);
      }
    }
    for (int code = 0; code < 256; ++code) {
      const int slot = group.firstCharacter[code];
      if (slot != 0) {
        EXPECT_EQ(table.keyAt(slot)[0].unicode(), code);
      }
    }
  }
}

// Every entry of the built-in list is found under its group and key, in any letter case.
TEST(StringTable, EveryBuiltinEntryIsFound) {
  const StringTable table = builtinTable();
  QString group;
  int entries = 0;
  for (const BuiltinText& pair : builtinTexts()) {
    const QString first = QStringView(pair.first).toString();
    const QString second = QStringView(pair.second).toString();
    if (first == q("_END_")) break;
    if (first == q("_GROUP_")) {
      group = second;
      continue;
    }
    ++entries;
    EXPECT_EQ(table.text(group, first), second) << group.toStdString() << "/" << first.toStdString();
    EXPECT_EQ(table.text(group.toLower(), first.toLower()), second) << first.toStdString();
  }
  EXPECT_EQ(entries, 319);
}

TEST(StringTable, QuotedTexts) {
  struct Case {
    const char* group;
    const char* key;
    const char* text;
  };
  const Case cases[] = {
      // The console run's texts.
      {"General", "Preparing", "Preparing..."},
      {"General", "Importing", "Importing..."},
      {"General", "Converting", "Converting..."},
      {"Msg", "Import complete", "Import complete, new files added: %s1%"},
      {"Msg", "Files converted", "Files converted: %s1% of %s2%"},
      {"Msg", "Conversion complete", "Conversion complete"},
      {"Msg", "Conversion is not complete", "Conversion stopped"},
      {"Msg", "Empty input files", "No input file(s) found. Please, add valid file(s) and try again!"},
      {"Msg", "Unable to open file", "Unable to open the file: %s1%!"},
      {"Msg", "Unable to save file", "Unable to save the file: %s1%!"},
      // Multi-line texts.
      {"Msg", "Invalid output folder",
       "The following output folder is invalid or doesn't exist:\r\n%s1%\r\n\r\n"
       "Please, correct the output path and try again!"},
      {"Msg", "Ask continue to find",
       "No matches of %s1% found!\r\n\r\nDo you want to search from the start of the list?"},
      // The product title.
      {"Msg", "New Update Text",
       "A new version of Lumavane JPG to HDR is available! Are you ready to download it right now?"},
      {"Msg", "No Update Text",
       "There is no update of Lumavane JPG to HDR yet. You're using the most recent version."},
      // Letter case of group and key.
      {"msg", "ask break conversion", "Do you want to break the conversion?"},
      {"MENU", "save as", "Save As..."},
      {"custom-converter", "FROM", "From:"},
      // Each form of the Preferences texts.
      {"Preferences", "Medium", "Medium"},
      {"Preferences", "Language", "Language:"},
      {"Preferences", "RGB48HS", "RGB 48-bit (HS)"},
      {"Preferences", "Title", "Preferences..."},
      {"Dialog", "Import Progress", "Importing"},
      {"About", "Title", "About..."},
      {"Uninstall", "Uninstall Text", "Full Uninstall - Visit Uninstall Center"},
  };
  const StringTable table = builtinTable();
  for (const Case& c : cases)
    EXPECT_EQ(table.text(q(c.group), q(c.key)), q(c.text)) << c.group << "/" << c.key;
  EXPECT_TRUE(table.text(q("Msg"), q("New Update Text")).contains(q(product::kTitle)));
}

TEST(StringTable, AbsentGroupsAndKeys) {
  struct Case {
    const char* group;
    const char* key;
  };
  const Case cases[] = {
      {"Msg", "Empty input file"},       // sorts just before "Empty input files"
      {"Msg", "Empty input filez"},      // between "Empty input files" and "Empty input folder"
      {"Menu", "Zoom"},                  // no key of the group starts with Z
      {"About", "From"},                 // a key of the next group only
      {"Dialog", "Title"},               // after the group's last key; the next group has it
      {"Uninstall", "Uninstall Texts"},  // after the last key of the table
      {"Menu", ""},                      // empty key
      {"Menu", "Жук"},                   // first character beyond the table's 256 slots
      {"Menus", "File"},                 // unknown group
      {"", "File"},
  };
  const StringTable table = builtinTable();
  for (const Case& c : cases)
    EXPECT_EQ(table.text(q(c.group), q(c.key)), kMissing) << c.group << "/" << c.key;
}

// An unknown group clears the cached group, so the next lookup scans the groups again.
TEST(StringTable, UnknownGroupBetweenLookupsOfKnownGroups) {
  const StringTable table = builtinTable();
  EXPECT_EQ(table.text(q("Msg"), q("Warning")), q("Warning"));
  EXPECT_EQ(table.text(q("Msgs"), q("Warning")), kMissing);
  EXPECT_EQ(table.text(q("Msg"), q("Warning")), q("Warning"));
  EXPECT_EQ(table.text(q("Menu"), q("Exit")), q("Exit"));
  EXPECT_EQ(table.text(q("Menu"), q("Warning")), kMissing);
  EXPECT_EQ(table.text(q("msg"), q("warning")), q("Warning"));
}

TEST(FillPlaceholders, ReplacesInOrderIgnoringCase) {
  struct Case {
    const char* text;
    const char* s1;
    const char* s2;
    const char* s3;
    const char* s4;
    const char* expected;
  };
  const Case cases[] = {
      {"(%s1%/%s2%)", "3", "10", "", "", "(3/10)"},
      {"(%s1%/%s2%)", "3", "", "", "", "(3/%s2%)"},
      {"%S1% and %s1%", "x", "", "", "", "x and x"},
      {"%s4%%s3%%s2%%s1%", "a", "b", "c", "d", "dcba"},
      {"%s1%", "<%s2%>", "two", "", "", "<two>"},  // an earlier argument brings in a later placeholder
      {"%s2%", "x", "%s1%", "", "", "%s1%"},       // but not an earlier one
      {"no placeholders", "x", "y", "", "", "no placeholders"},
      {"", "x", "y", "z", "w", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fillPlaceholders(q(c.text), q(c.s1), q(c.s2), q(c.s3), q(c.s4)), q(c.expected)) << c.text;
  }
}

class LanguageFile : public ::testing::Test {
 protected:
  QString write(const QByteArray& content) {
    const QString path = dir_.filePath(QStringLiteral("language.ini"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
    return path;
  }

  QTemporaryDir dir_;
};

TEST_F(LanguageFile, SectionInAnyCaseOverridesItsGroup) {
  StringTable table;
  table.load(
      write("; German\r\n"
            "[msg]\r\n"
            "Warning = Achtung\r\n"
            "error=\r\n"
            "Unknown key = ignored\r\n"
            "[Dialog]\r\n"
            "Cancel =  Abbrechen  \r\n"
            "[custom-converter]\r\n"
            "TITLE=Konverter finden\r\n"
            "[Nowhere]\r\n"
            "Warning = ignored\r\n"));
  EXPECT_EQ(table.text(q("Msg"), q("Warning")), q("Achtung"));
  EXPECT_EQ(table.text(q("Msg"), q("Error")), QString());  // empty value gives an empty text
  EXPECT_EQ(table.text(q("Msg"), q("Unknown key")), kMissing);
  EXPECT_EQ(table.text(q("Msg"), q("Conversion complete")), q("Conversion complete"));
  EXPECT_EQ(table.text(q("Dialog"), q("Cancel")), q("Abbrechen  "));
  EXPECT_EQ(table.text(q("Dialog"), q("OK")), q("OK"));
  EXPECT_EQ(table.text(q("Custom-Converter"), q("Title")), q("Konverter finden"));
  EXPECT_EQ(table.groups().size(), 8);
  EXPECT_EQ(table.groups().last().last, 319);
}

TEST_F(LanguageFile, LineUnderAnotherSectionChangesNothing) {
  StringTable table;
  table.load(write("[Menu]\r\nWarning = Achtung\r\n"));
  EXPECT_EQ(table.text(q("Msg"), q("Warning")), q("Warning"));
  EXPECT_EQ(table.text(q("Menu"), q("Warning")), kMissing);
}

TEST_F(LanguageFile, OneLineChangesBothMediumEntries) {
  StringTable table;
  table.load(write("\xEF\xBB\xBF[Preferences]\nmedium=Mittelgroß\n"));
  EXPECT_EQ(table.text(q("Preferences"), q("Medium")), q("Mittelgroß"));
  const TextGroup& group = table.groups()[4];
  int changed = 0;
  for (int i = group.first; i <= group.last; ++i) {
    if (table.keyAt(i) == q("MEDIUM")) {
      EXPECT_EQ(table.textAt(i), q("Mittelgroß"));
      ++changed;
    }
  }
  EXPECT_EQ(changed, 2);
}

TEST_F(LanguageFile, MissingOrUnreadableFileKeepsBuiltinTexts) {
  for (const QString& path : {dir_.filePath(q("absent.ini")), dir_.path(), QString()}) {
    StringTable table;
    table.load(path);
    EXPECT_EQ(table.text(q("Msg"), q("Warning")), q("Warning")) << path.toStdString();
    EXPECT_EQ(table.text(q("Preferences"), q("Medium")), q("Medium"));
  }
}

// Loading again rebuilds the table from the built-in list.
TEST_F(LanguageFile, ReloadWithoutFileRestoresEnglish) {
  StringTable table;
  table.load(write("[Msg]\r\nWarning = Achtung\r\n"));
  EXPECT_EQ(table.text(q("Msg"), q("Warning")), q("Achtung"));
  table.load(QString());
  EXPECT_EQ(table.text(q("Msg"), q("Warning")), q("Warning"));
  EXPECT_EQ(table.groups().size(), 8);
}

}  // namespace
