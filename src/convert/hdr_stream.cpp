#include "convert/hdr_stream.h"

#include "convert/rgbe_rows.h"

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
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

// Rows decoded and turned into RGBE planes, kBlockRows at most: the unit handed from the
// decoding thread to the writing one.
struct Block {
  std::vector<uint8_t> planes;  // per row: red, green, blue, exponent, width bytes each
  int rows = 0;

  RgbePlanes row(int i, size_t width) {
    uint8_t* p = planes.data() + 4 * width * static_cast<size_t>(i);
    return {p, p + width, p + 2 * width, p + 3 * width};
  }
};

// Decodes the next rows into the block, each turned into RGBE while its samples are still in
// cache; fewer than kBlockRows only at the end or on failure.
void decodeBlock(JpegRowReader& reader, std::vector<uint8_t>& samples, Block& block) {
  const size_t width = static_cast<size_t>(reader.header().width);
  const int w = reader.header().width;
  block.rows = 0;
  while (block.rows < kBlockRows && reader.readRows(samples.data(), samples.size(), 1) == 1) {
    const RgbePlanes out = block.row(block.rows++, width);
    switch (reader.pixelBytes()) {
      case 1:
        greyRowToRgbe(samples.data(), w, out);
        break;
      case 3:
        rgbRowToRgbe(samples.data(), w, out);
        break;
      default:
        rgbxRowToRgbe(samples.data(), w, out);
        break;
    }
  }
}

bool writeBlock(Block& block, RadianceWriter& writer) {
  for (int i = 0; i < block.rows; ++i) {
    if (!writer.writeRow(block.row(i, static_cast<size_t>(writer.width())))) return false;
  }
  return true;
}

// Blocks in flight between the threads: slots are filled in turn and given back in turn.
struct BlockQueue {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<Block> blocks;
  size_t produced = 0;  // blocks handed over so far
  size_t consumed = 0;  // blocks given back so far
  bool stop = false;    // the writer gave up
};

void decodeAll(JpegRowReader& reader, std::vector<uint8_t>& samples, BlockQueue& q) {
  for (;;) {
    size_t slot = 0;
    {
      std::unique_lock lock(q.mutex);
      q.changed.wait(lock, [&] { return q.stop || q.produced - q.consumed < q.blocks.size(); });
      if (q.stop) return;
      slot = q.produced % q.blocks.size();
    }
    decodeBlock(reader, samples, q.blocks[slot]);
    const bool last = q.blocks[slot].rows < kBlockRows;
    {
      std::lock_guard lock(q.mutex);
      ++q.produced;
    }
    q.changed.notify_all();
    if (last) return;
  }
}

bool sequential(JpegRowReader& reader, RadianceWriter& writer, size_t blockBytes) {
  std::vector<uint8_t> samples(reader.rowBytes());
  Block block;
  block.planes.resize(blockBytes);
  do {
    decodeBlock(reader, samples, block);
    if (!writeBlock(block, writer)) return false;
  } while (block.rows == kBlockRows);
  return true;
}

// Decodes on a second thread while this one writes. When no thread can be started, the work
// is done here in turn.
bool overlapped(JpegRowReader& reader, RadianceWriter& writer, size_t blockBytes) {
  std::vector<uint8_t> samples(reader.rowBytes());
  BlockQueue q;
  q.blocks.resize(kBlocks);
  for (Block& b : q.blocks) b.planes.resize(blockBytes);
  std::thread decoder;
  try {
    decoder = std::thread([&] { decodeAll(reader, samples, q); });
  } catch (const std::system_error&) {
    return sequential(reader, writer, blockBytes);
  }
  bool ok = true;
  for (;;) {
    size_t slot = 0;
    {
      std::unique_lock lock(q.mutex);
      q.changed.wait(lock, [&] { return q.produced > q.consumed; });
      slot = q.consumed % q.blocks.size();
    }
    Block& block = q.blocks[slot];
    ok = writeBlock(block, writer);
    const bool last = block.rows < kBlockRows;
    {
      std::lock_guard lock(q.mutex);
      ++q.consumed;
      if (!ok) q.stop = true;
    }
    q.changed.notify_all();
    if (!ok || last) break;
  }
  decoder.join();
  return ok;
}

StreamResult stream(const std::string& jpegPath, RadianceWriter& writer, const StreamOptions& options) {
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
  if (reader.start(true) != JpegStatus::Ok) return finishWith(fromJpeg(reader.status()));
  const JpegHeader& header = reader.header();
  if (!writer.begin(header.width, header.height)) {
    return finishWith(writer.writeError() == ENOMEM ? StreamStatus::NoMemory : StreamStatus::WriteFailed);
  }
  const size_t blockBytes = 4 * static_cast<size_t>(header.width) * kBlockRows;
  const bool written =
      options.overlap ? overlapped(reader, writer, blockBytes) : sequential(reader, writer, blockBytes);
  if (!written) return finishWith(StreamStatus::WriteFailed);
  if (reader.rowsRead() != header.height || reader.finish() != JpegStatus::Ok) {
    return finishWith(StreamStatus::DecodeFailed);
  }
  if (!writer.finish()) return finishWith(StreamStatus::WriteFailed);
  return finishWith(StreamStatus::Ok);
}

}  // namespace

bool canStreamJpeg(const JpegHeader& header) {
  return (header.components == 1 || header.components == 3) && isUpright(header);
}

StreamResult streamJpegToRadiance(const std::string& jpegPath, RadianceWriter& writer,
                                  const StreamOptions& options) {
  try {
    return stream(jpegPath, writer, options);
  } catch (const std::bad_alloc&) {
    StreamResult result;
    result.status = StreamStatus::NoMemory;
    return result;
  }
}

StreamResult streamJpegToRadiance(const std::string& jpegPath, int outFd, const StreamOptions& options) {
  RadianceWriter writer(outFd);
  return streamJpegToRadiance(jpegPath, writer, options);
}
