#include "themes/zip_reader.h"

#include <QFile>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <vector>

namespace themes {

namespace {
constexpr size_t kChunk = 64 * 1024;

QString entryName(archive_entry* entry) {
  if (const char* utf8 = archive_entry_pathname_utf8(entry)) return QString::fromUtf8(utf8);
  if (const char* raw = archive_entry_pathname(entry)) return QString::fromLatin1(raw);
  return {};
}
}  // namespace

void ZipReader::Free::operator()(archive* a) const { archive_read_free(a); }

ZipReader::ZipReader() = default;
ZipReader::~ZipReader() = default;

bool ZipReader::open(const QString& path) {
  archive_.reset(archive_read_new());
  atEnd_ = true;
  if (!archive_) return false;
  // The seekable reader takes names and sizes from the central directory, which is also
  // where writers that stream their entries record the sizes.
  if (archive_read_support_format_zip_seekable(archive_.get()) != ARCHIVE_OK) return false;
  const QByteArray native = QFile::encodeName(path);
  if (archive_read_open_filename(archive_.get(), native.constData(), kChunk) != ARCHIVE_OK) {
    archive_.reset();
    return false;
  }
  atEnd_ = false;
  return true;
}

bool ZipReader::nextEntry(ZipEntry* entry) {
  if (!archive_ || atEnd_) return false;
  archive_entry* header = nullptr;
  const int status = archive_read_next_header(archive_.get(), &header);
  if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
    atEnd_ = true;  // end of archive, or damage: either way the pass is over
    return false;
  }
  entry->name = entryName(header);
  entry->size = archive_entry_size_is_set(header) ? static_cast<int64_t>(archive_entry_size(header)) : -1;
  return true;
}

bool ZipReader::readAll(QByteArray* data, int64_t maxBytes) {
  data->clear();
  if (!archive_ || atEnd_) return false;
  std::vector<char> buffer(kChunk);
  for (;;) {
    const la_ssize_t got = archive_read_data(archive_.get(), buffer.data(), buffer.size());
    if (got == 0) return true;
    if (got < 0 || data->size() + got > maxBytes) {
      data->clear();
      return false;
    }
    data->append(buffer.data(), static_cast<qsizetype>(got));
  }
}

QByteArray ZipReader::readPrefix(int64_t maxBytes) {
  QByteArray data;
  if (!archive_ || atEnd_) return data;
  std::vector<char> buffer(kChunk);
  while (data.size() < maxBytes) {
    const int64_t want = std::min<int64_t>(static_cast<int64_t>(buffer.size()), maxBytes - data.size());
    const la_ssize_t got = archive_read_data(archive_.get(), buffer.data(), static_cast<size_t>(want));
    if (got <= 0) break;
    data.append(buffer.data(), static_cast<qsizetype>(got));
  }
  return data;
}

}  // namespace themes
