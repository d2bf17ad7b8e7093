// Fuzzes the string table's language-file override: any file leaves the table's groups and keys
// as built in, and lookups and placeholder filling keep working on whatever texts it brought.
#include "fuzz_support.h"

#include "i18n/string_table.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::MemoryFile file;
  static StringTable builtIn = [] {
    StringTable table;
    table.load(QString());
    return table;
  }();
  const QByteArray bytes = fuzz::bytesOf(data, size);

  StringTable table;
  table.load(file.write(bytes));
  FUZZ_CHECK(table.groups().size() == builtIn.groups().size());
  for (qsizetype g = 0; g < table.groups().size(); ++g) {
    const TextGroup& group = table.groups()[g];
    FUZZ_CHECK(group.name == builtIn.groups()[g].name);
    FUZZ_CHECK(group.first == builtIn.groups()[g].first && group.last == builtIn.groups()[g].last);
    for (int i = group.first; i <= group.last; ++i) {
      FUZZ_CHECK(table.keyAt(i) == builtIn.keyAt(i));
      // Every key still finds its entry (keys that occur twice share the first one's text).
      FUZZ_CHECK(table.text(group.name, table.keyAt(i)) != QLatin1String(kNoStringError));
    }
  }
  const QString text = QString::fromLatin1(bytes.left(4096));
  (void)table.text(text, text);
  (void)table.text(QStringLiteral("Msg"), text);
  (void)fillPlaceholders(text, QStringLiteral("%s2%"), QStringLiteral("x"), QString(),
                         QStringLiteral("%S1%"));
  return 0;
}
