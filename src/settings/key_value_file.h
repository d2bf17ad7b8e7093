// Reader and writer of the key-value text files: config.ini, profile files, language files.
//
// Reader rules: a byte-order mark means UTF-8, otherwise every byte is Latin-1; lines end at
// CR, LF or the end; leading blanks are skipped; ";" starts a comment; "[name]" opens a group;
// other lines are "key = value". Group and key names match without regard to ASCII case; only
// the first occurrence of a group, and the first of a key inside it, counts.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

// Largest file the reader accepts: far above any real configuration, profile or language file.
inline constexpr qint64 kMaxKeyValueFileBytes = 16 * 1024 * 1024;

class KeyValueReader {
 public:
  struct Entry {
    QString key;
    QString value;  // leading blanks removed, trailing blanks kept
  };

  // Reads the whole file. False when it cannot be opened or read, or holds more than
  // kMaxKeyValueFileBytes (an endless device such as /dev/zero included).
  bool open(const QString& path);
  // Parses text already in memory (same rules as a file's bytes).
  void openBytes(const QByteArray& bytes);

  // Selects the first group of that name; a missing group reads every key as its default.
  void selectGroup(const QString& name);
  bool groupFound() const { return group_ >= 0; }

  bool has(const QString& key) const;
  QString readText(const QString& key, const QString& fallback) const;
  int32_t readInt(const QString& key, int32_t fallback) const;
  float readFloat(const QString& key, float fallback) const;

  // The keys of the selected group in file order, comment lines skipped.
  QList<Entry> entries() const;

  void close();

 private:
  struct Line {
    bool isGroup = false;
    QString name;  // group name or key
    QString value;
  };
  const Line* find(const QString& key) const;

  QList<Line> lines_;
  qsizetype group_ = -1;  // index of the selected group's header line
};

class KeyValueWriter {
 public:
  // Names, values and comments are written as they are, except that CR and LF become spaces:
  // a value is one line.
  void beginGroup(const QString& name);
  void writeText(const QString& key, const QString& value);
  void writeInt(const QString& key, int64_t value);
  void writeFloat(const QString& key, float value);
  void writeComment(const QString& text);

  // The whole file: byte-order mark, CR LF, then the lines, each ending in CR LF.
  QByteArray bytes() const;

  // Writes the file through a temporary file beside it that replaces the target only once it
  // is complete, so a failed save never leaves a truncated file. False on failure.
  bool save(const QString& path) const;

 private:
  QString text_;
};

// Equality of two names without regard to the case of ASCII letters.
bool equalsIgnoringAsciiCase(QStringView a, QStringView b);

// C-like decimal integer: blanks, an optional sign, digits up to the first other character;
// no digits give 0. Like strtol with a 64-bit long, a magnitude beyond that range clamps;
// the low 32 bits of the result are kept.
int32_t parseDecimalInt(QStringView text);

// C-like decimal floating-point number, or "+Infinity", "-Infinity", "NaN" in any case;
// text without a number gives 0.
float parseDecimalFloat(QStringView text);

// Six decimals ("1.000000"), or "+Infinity", "-Infinity", "NaN".
QString formatFloat(float value);
