// Malformed, huge and endless language files: the string table keeps its groups and keys, takes
// what the file really holds, and never crashes or hangs.
#include "i18n/string_table.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString fixture(const char* name) {
  return QStringLiteral(QUILLET_TEST_DATA_DIR "/text/") + QString::fromLatin1(name);
}

// Every text of the table, in order.
QStringList allTexts(const StringTable& table) {
  QStringList texts;
  for (const TextGroup& group : table.groups())
    for (int i = group.first; i <= group.last; ++i) texts << table.textAt(i);
  return texts;
}

StringTable builtIn() {
  StringTable table;
  table.load(QString());
  return table;
}

TEST(BadLanguageFile, UnusableFilesLeaveEveryBuiltInText) {
  QTemporaryDir dir;
  for (const QString& path :
       {fixture("binary_junk.ini"), fixture("only_brackets.ini"), QStringLiteral("/dev/zero"),
        QStringLiteral("/dev/urandom"), dir.path(), dir.filePath(QStringLiteral("missing"))}) {
    StringTable table;
    table.load(path);
    EXPECT_EQ(allTexts(table), allTexts(builtIn())) << path.toStdString();
  }
}

TEST(BadLanguageFile, NulBytesAndHugeTextsAreTakenAsWritten) {
  StringTable table;
  table.load(fixture("nul_bytes_language.ini"));
  EXPECT_EQ(table.text(QStringLiteral("Msg"), QStringLiteral("Warning")),
            QStringLiteral("Ach") + QChar(0) + QStringLiteral("tung"));
  EXPECT_EQ(table.text(QStringLiteral("Msg"), QStringLiteral("Error")), builtIn().text("Msg", "Error"));

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("huge.ini"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[Msg]\r\nWarning = " + QByteArray(4 * 1024 * 1024, 'w') + "\r\n");
  file.close();
  table.load(path);
  EXPECT_EQ(table.text(QStringLiteral("Msg"), QStringLiteral("Warning")).size(), 4 * 1024 * 1024);
  EXPECT_EQ(table.groups().size(), builtIn().groups().size());
}

}  // namespace
