#include "themes/theme_config.h"

#include <gtest/gtest.h>

namespace {

using themes::decodeThemeText;
using themes::readThemeValue;

TEST(ReadThemeValue, Quirks) {
  struct Case {
    const char* what;
    const char* text;
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"plain value", "[Theme]\r\nName=Hand\r\n", "Theme", "Name", "Hand"},
      {"section and key ignore case", "[tHeMe]\r\nNAME=Hand\r\n", "THEME", "name", "Hand"},
      {"key is a prefix of the first matching line", "[Icons]\r\nHelpFile=manual\r\nHelp=help\r\n", "Icons",
       "Help", "manual"},
      {"value between first and second equals", "[S]\r\nKey=a=b=c\r\n", "S", "Key", "a"},
      {"empty between two equals", "[S]\r\nKey==b\r\n", "S", "Key", ""},
      {"no equals sign", "[S]\r\nKey value\r\n", "S", "Key", ""},
      {"blanks trimmed", "[S]\r\nKey =   v a   \r\n", "S", "Key", "v a"},
      {"blanks then tabs", "[S]\r\nKey= \t v \t \r\n", "S", "Key", " v "},
      {"a blank hidden by a tab stays", "[S]\r\nKey=\t x\t\r\n", "S", "Key", " x"},
      {"stray CR at the line end", "[S]\r\nKey=x\r\r\n", "S", "Key", "x"},
      {"section ends at a bracket inside a value", "[S]\r\nA=x[y\r\nB=z\r\n", "S", "B", ""},
      {"the line with the bracket still reads whole", "[S]\r\nA=x[y\r\nB=z\r\n", "S", "A", "x[y"},
      {"key of the next section", "[S]\r\nA=1\r\n[T]\r\nB=2\r\n", "S", "B", ""},
      {"key of the right section", "[S]\r\nA=1\r\n[T]\r\nA=2\r\n", "T", "A", "2"},
      {"key before the header", "A=0\r\n[S]\r\nA=1\r\n", "S", "A", "1"},
      {"first of two headers", "[S]\r\nA=1\r\n[S]\r\nA=2\r\n", "S", "A", "1"},
      {"last line without CR LF", "[S]\r\nA=1", "S", "A", ""},
      {"line breaks without CR", "[S]\nA=1\n", "S", "A", ""},
      {"key must start a line", "[S]\r\nXA=1\r\n", "S", "A", ""},
      {"missing section", "[S]\r\nA=1\r\n", "T", "A", ""},
      {"empty text", "", "S", "A", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(readThemeValue(QString::fromLatin1(c.text), QString::fromLatin1(c.section),
                             QString::fromLatin1(c.key)),
              QString::fromLatin1(c.expected))
        << c.what;
  }
}

TEST(DecodeThemeText, Latin1UpToTheFirstZeroByte) {
  EXPECT_EQ(decodeThemeText(QByteArray("Name=Caf\xe9\0rest", 14)), QString::fromUtf8("Name=Café"));
  EXPECT_EQ(decodeThemeText(QByteArray()), QString());
}

}  // namespace
