// Fuzzes the key-value file reader (config.ini, profiles, language files) with every read call
// and the writer's round trip of what was read.
#include "fuzz_support.h"

#include "settings/key_value_file.h"

#include <QStringList>

#include <cmath>

namespace {

// Bounds on the names tried and entries checked per input, so that each run stays quick.
constexpr qsizetype kMaxNames = 8;
constexpr qsizetype kMaxEntries = 16;

// Group and key names the input itself mentions, plus a few fixed ones: text between "[" and
// "]" and text before "=" on each line.
void collectNames(const QByteArray& bytes, QStringList* groups, QStringList* keys) {
  *groups = {QStringLiteral("General"), QStringLiteral("CLI"), QStringLiteral("msg"), QString()};
  *keys = {QStringLiteral("CFG"), QStringLiteral("--width"), QString()};
  const QString text =
      bytes.startsWith("\xEF\xBB\xBF") ? QString::fromUtf8(bytes.mid(3)) : QString::fromLatin1(bytes);
  for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
    if (groups->size() >= kMaxNames || keys->size() >= kMaxNames) break;
    line = line.trimmed();
    if (line.startsWith(QLatin1Char('['))) {
      const qsizetype close = line.indexOf(QLatin1Char(']'));
      groups->append((close < 0 ? line.mid(1) : line.mid(1, close - 1)).toString());
    } else {
      const qsizetype equals = line.indexOf(QLatin1Char('='));
      keys->append((equals < 0 ? line : line.left(equals)).trimmed().toString());
    }
  }
}

void readGroup(const KeyValueReader& reader, const QStringList& keys) {
  const QList<KeyValueReader::Entry> entries = reader.entries().mid(0, kMaxEntries);
  FUZZ_CHECK(reader.groupFound() || entries.isEmpty());
  for (const KeyValueReader::Entry& entry : entries) {
    FUZZ_CHECK(!entry.key.contains(QLatin1Char('\r')) && !entry.key.contains(QLatin1Char('\n')));
    FUZZ_CHECK(!entry.value.contains(QLatin1Char('\r')) && !entry.value.contains(QLatin1Char('\n')));
    FUZZ_CHECK(!entry.value.startsWith(QLatin1Char(' ')) && !entry.value.startsWith(QLatin1Char('\t')));
    FUZZ_CHECK(reader.has(entry.key));
    (void)reader.readInt(entry.key, 7);
    (void)reader.readFloat(entry.key, 7.0f);
    (void)parseDecimalInt(entry.value);
    (void)formatFloat(parseDecimalFloat(entry.value));
  }
  // The first of several equal keys wins.
  for (qsizetype i = entries.size() - 1; i >= 0; --i) {
    bool firstOfItsName = true;
    for (qsizetype j = 0; j < i && firstOfItsName; ++j)
      firstOfItsName = !equalsIgnoringAsciiCase(entries[j].key, entries[i].key);
    if (firstOfItsName) FUZZ_CHECK(reader.readText(entries[i].key, QString()) == entries[i].value);
  }
  for (const QString& key : keys) {
    if (!reader.has(key)) {
      FUZZ_CHECK(reader.readText(key, QStringLiteral("fallback")) == QLatin1String("fallback"));
      FUZZ_CHECK(reader.readInt(key, -5) == -5);
      FUZZ_CHECK(reader.readFloat(key, 0.5f) == 0.5f);
    }
  }

  // What was read writes and reads back unchanged (values are one line without leading blanks).
  KeyValueWriter writer;
  writer.beginGroup(QStringLiteral("G"));
  for (qsizetype i = 0; i < entries.size(); ++i)
    writer.writeText(QStringLiteral("k%1").arg(i), entries[i].value);
  writer.writeComment(entries.isEmpty() ? QString() : entries.first().key);
  KeyValueReader again;
  again.openBytes(writer.bytes());
  again.selectGroup(QStringLiteral("g"));
  for (qsizetype i = 0; i < entries.size(); ++i)
    FUZZ_CHECK(again.readText(QStringLiteral("K%1").arg(i), QString()) == entries[i].value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::MemoryFile file;
  const QByteArray bytes = fuzz::bytesOf(data, size);
  QStringList groups, keys;
  collectNames(bytes, &groups, &keys);

  KeyValueReader fromMemory;
  fromMemory.openBytes(bytes);
  KeyValueReader fromFile;
  const QString path = file.write(bytes);
  FUZZ_CHECK(fromFile.open(path));
  for (const QString& group : groups) {
    fromMemory.selectGroup(group);
    fromFile.selectGroup(group);
    FUZZ_CHECK(fromMemory.groupFound() == fromFile.groupFound());
    readGroup(fromMemory, keys);
  }
  fromMemory.close();
  FUZZ_CHECK(!fromMemory.groupFound() && fromMemory.entries().isEmpty());

  return 0;
}
