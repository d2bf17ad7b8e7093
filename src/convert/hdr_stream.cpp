#include "convert/hdr_stream.h"

#include "convert/rgbe_rows.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int kBlockRows = 16;  // rows decoded per hand-over
constexpr int kBlocks = 4;      // blocks in flight between the threads

StreamStatus fromJpeg(JpegStatus status) {
  switch (status) {
    case JpegStatus::Ok:
      return StreamStatus::Ok;
    case JpegStatus::CannotOpen:
      return StreamStatus::CannotOpen;
    case JpegStatus::NotJpeg:
      return StreamStatus::NotJpeg;
    case JpegStatus::TooLarge:
      return StreamStatus::TooLarge;
    case JpegStatus::Unsupported:
      return StreamStatus::NotStreamable;
    case JpegStatus::DecodeFailed:
      return StreamStatus::DecodeFailed;
  }
  return StreamStatus::DecodeFailed;
}

// Encodes decoded rows (grey or RGB samples) into the writer.
bool encodeRows(const uint8_t* rows, int count, size_t rowBytes, bool grey, RadianceWriter& writer) {
  for (int i = 0; i < count; ++i) {
    const uint8_t* row = rows + static_cast<size_t>(i) * rowBytes;
    if (grey) {
      greyRowToRgbe(row, writer.width(), writer.nextRow());
    } else {
      rgbRowToRgbe(row, writer.width(), writer.nextRow());
    }
    if (!writer.commitRow()) return false;
  }
  return true;
}

// Blocks of decoded rows handed from the decoding thread to the encoding one.
struct BlockQueue {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::vector<uint8_t>> blocks;
  std::vector<int> rows;  // rows in each block; 0 marks the end of decoding
  size_t produced = 0;    // blocks handed over so far
  size_t consumed = 0;    // blocks given back so far
  bool stop = false;      // the encoder gave up
};

void decodeAll(JpegRowReader& reader, BlockQueue& q) {
  const size_t rowBytes = reader.rowBytes();
  for (;;) {
    size_t slot = 0;
    {
      std::unique_lock lock(q.mutex);
      q.changed.wait(lock, [&] { return q.stop || q.produced - q.consumed < q.blocks.size(); });
      if (q.stop) return;
      slot = q.produced % q.blocks.size();
    }
    const int n = reader.readRows(q.blocks[slot].data(), rowBytes, kBlockRows);
    {
      std::lock_guard lock(q.mutex);
      q.rows[slot] = n;
      ++q.produced;
    }
    q.changed.notify_all();
    if (n < kBlockRows) return;
  }
}

bool overlapped(JpegRowReader& reader, bool grey, RadianceWriter& writer) {
  const size_t rowBytes = reader.rowBytes();
  BlockQueue q;
  q.blocks.assign(kBlocks, std::vector<uint8_t>(rowBytes * kBlockRows));
  q.rows.assign(kBlocks, 0);
  std::thread decoder([&] { decodeAll(reader, q); });
  bool ok = true;
  for (;;) {
    size_t slot = 0;
    int n = 0;
    {
      std::unique_lock lock(q.mutex);
      q.changed.wait(lock, [&] { return q.produced > q.consumed; });
      slot = q.consumed % q.blocks.size();
      n = q.rows[slot];
    }
    ok = encodeRows(q.blocks[slot].data(), n, rowBytes, grey, writer);
    {
      std::lock_guard lock(q.mutex);
      ++q.consumed;
      if (!ok) q.stop = true;
    }
    q.changed.notify_all();
    if (!ok || n < kBlockRows) break;
  }
  decoder.join();
  return ok;
}

bool sequential(JpegRowReader& reader, bool grey, RadianceWriter& writer) {
  const size_t rowBytes = reader.rowBytes();
  std::vector<uint8_t> block(rowBytes * kBlockRows);
  for (;;) {
    const int n = reader.readRows(block.data(), rowBytes, kBlockRows);
    if (!encodeRows(block.data(), n, rowBytes, grey, writer)) return false;
    if (n < kBlockRows) return true;
  }
}

}  // namespace

bool canStreamJpeg(const JpegHeader& header) {
  return (header.components == 1 || header.components == 3) && isUpright(header);
}

StreamResult streamJpegToRadiance(const std::string& jpegPath, RadianceWriter& writer,
                                  const StreamOptions& options) {
  StreamResult result;
  JpegRowReader reader;
  const auto finishWith = [&](StreamStatus status) {
    result.status = status;
    result.header = reader.header();
    result.warnings = reader.warningCount();
    result.warning = reader.firstWarning();
    result.message = reader.errorMessage();
    result.writeError = writer.writeError();
    return result;
  };
  if (reader.open(jpegPath, options.maxPixels) != JpegStatus::Ok)
    return finishWith(fromJpeg(reader.status()));
  if (!canStreamJpeg(reader.header())) return finishWith(StreamStatus::NotStreamable);
  if (reader.start() != JpegStatus::Ok) return finishWith(fromJpeg(reader.status()));
  const JpegHeader& header = reader.header();
  if (!writer.begin(header.width, header.height)) return finishWith(StreamStatus::WriteFailed);
  const bool grey = header.components == 1;
  const bool written = options.overlap ? overlapped(reader, grey, writer) : sequential(reader, grey, writer);
  if (!written) return finishWith(StreamStatus::WriteFailed);
  if (reader.rowsRead() != header.height || reader.finish() != JpegStatus::Ok) {
    return finishWith(StreamStatus::DecodeFailed);
  }
  if (!writer.finish()) return finishWith(StreamStatus::WriteFailed);
  return finishWith(StreamStatus::Ok);
}

StreamResult streamJpegToRadiance(const std::string& jpegPath, int outFd, const StreamOptions& options) {
  RadianceWriter writer(outFd);
  return streamJpegToRadiance(jpegPath, writer, options);
}
