#include "test_archives.h"

#include <QBuffer>
#include <QFile>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

namespace themes_test {

namespace {
struct WriterFree {
  void operator()(archive* a) const { archive_write_free(a); }
};
struct EntryFree {
  void operator()(archive_entry* e) const { archive_entry_free(e); }
};
}  // namespace

bool writeZip(const QString& path, const Entries& entries) {
  std::unique_ptr<archive, WriterFree> zip(archive_write_new());
  if (!zip || archive_write_set_format_zip(zip.get()) != ARCHIVE_OK) return false;
  if (archive_write_open_filename(zip.get(), QFile::encodeName(path).constData()) != ARCHIVE_OK) return false;
  for (const auto& [name, data] : entries) {
    std::unique_ptr<archive_entry, EntryFree> entry(archive_entry_new());
    archive_entry_set_pathname_utf8(entry.get(), name.toUtf8().constData());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_size(entry.get(), data.size());
    if (archive_write_header(zip.get(), entry.get()) != ARCHIVE_OK) return false;
    if (!data.isEmpty() &&
        archive_write_data(zip.get(), data.constData(), static_cast<size_t>(data.size())) !=
            static_cast<la_ssize_t>(data.size()))
      return false;
  }
  return archive_write_close(zip.get()) == ARCHIVE_OK;
}

QByteArray pngBytes(int size, const QColor& colour) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

QByteArray configText(const std::vector<QByteArray>& lines) {
  QByteArray text;
  for (const QByteArray& line : lines) text += line + "\r\n";
  return text;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

bool isSolid(const QImage& image, int size, const QColor& colour) {
  if (image.width() != size || image.height() != size) return false;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (image.pixelColor(x, y).rgba() != colour.rgba()) return false;
  return true;
}

}  // namespace themes_test
