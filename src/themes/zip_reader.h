// Sequential reading of zip archives with libarchive (used inside the themes module).
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

struct archive;

namespace themes {

struct ZipEntry {
  QString name;
  int64_t size = -1;  // -1 when the archive does not record it
};

// One pass over the entries of a zip file. Errors end the pass; nothing throws.
class ZipReader {
 public:
  ZipReader();
  ~ZipReader();
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  // Opens the file and reads its directory; false when it is not a readable zip archive.
  bool open(const QString& path);

  // Moves to the next entry; false at the end or on a damaged archive.
  bool nextEntry(ZipEntry* entry);

  // The current entry's whole data. False when it holds more than maxBytes or cannot be
  // decompressed; the data is then empty.
  bool readAll(QByteArray* data, int64_t maxBytes);

  // At most the first maxBytes of the current entry's data (less when the entry is shorter or
  // damaged).
  QByteArray readPrefix(int64_t maxBytes);

 private:
  struct Free {
    void operator()(archive* a) const;
  };
  std::unique_ptr<archive, Free> archive_;
  bool atEnd_ = false;
};

}  // namespace themes
