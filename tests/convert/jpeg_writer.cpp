#include "jpeg_writer.h"

#include <jpeglib.h>
#include <cstdio>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <vector>

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void onError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

// One row of the picture in the file's input colour space.
std::vector<JSAMPLE> inputRow(const QImage& rgb, int y, JpegColour colour) {
  std::vector<JSAMPLE> row;
  const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
  for (int x = 0; x < rgb.width(); ++x) {
    const int r = qRed(pixels[x]), g = qGreen(pixels[x]), b = qBlue(pixels[x]);
    switch (colour) {
      case JpegColour::Rgb:
        row.insert(row.end(), {static_cast<JSAMPLE>(r), static_cast<JSAMPLE>(g), static_cast<JSAMPLE>(b)});
        break;
      case JpegColour::Grey:
        row.push_back(static_cast<JSAMPLE>(qGray(r, g, b)));
        break;
      case JpegColour::Cmyk:
      case JpegColour::Ycck: {
        // Inverted (Adobe) values: stored K = max channel, stored C = R * 255 / K.
        const int k = std::max({r, g, b});
        const auto scaled = [k](int v) { return static_cast<JSAMPLE>(k == 0 ? 0 : (v * 255 + k / 2) / k); };
        row.insert(row.end(), {scaled(r), scaled(g), scaled(b), static_cast<JSAMPLE>(k)});
        break;
      }
    }
  }
  return row;
}

}  // namespace

QByteArray encodeJpeg(const QImage& image, const JpegOptions& options) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  // Every row is prepared before libjpeg may jump out on an error, so no C++ object is skipped.
  std::vector<std::vector<JSAMPLE>> rows;
  for (int y = 0; y < rgb.height(); ++y) rows.push_back(inputRow(rgb, y, options.colour));
  jpeg_compress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = onError;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return {};
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(rgb.width());
  info.image_height = static_cast<JDIMENSION>(rgb.height());
  switch (options.colour) {
    case JpegColour::Rgb:
      info.input_components = 3;
      info.in_color_space = JCS_RGB;
      break;
    case JpegColour::Grey:
      info.input_components = 1;
      info.in_color_space = JCS_GRAYSCALE;
      break;
    case JpegColour::Cmyk:
    case JpegColour::Ycck:
      info.input_components = 4;
      info.in_color_space = JCS_CMYK;
      break;
  }
  jpeg_set_defaults(&info);
  if (options.colour == JpegColour::Cmyk) jpeg_set_colorspace(&info, JCS_CMYK);
  if (options.colour == JpegColour::Ycck) jpeg_set_colorspace(&info, JCS_YCCK);
  jpeg_set_quality(&info, options.quality, TRUE);
  if (options.progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  for (std::vector<JSAMPLE>& row : rows) {
    JSAMPROW pointers[] = {row.data()};
    jpeg_write_scanlines(&info, pointers, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
  std::free(buffer);
  return bytes;
}

QImage testPicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const int r = 255 * x / std::max(1, width - 1);
      const int g = 255 * y / std::max(1, height - 1);
      const int b = static_cast<int>(127.5 + 127.5 * std::sin((x + 2 * y) / 9.0));
      // A dark square and a bright stripe give hard edges.
      const bool square = x > width / 4 && x < width / 2 && y > height / 4 && y < height / 2;
      const bool stripe = (x / 4) % 8 == 0 && y > height / 2;
      row[x] = square ? qRgb(20, 30, 40) : stripe ? qRgb(250, 250, 240) : qRgb(r, g, b);
    }
  }
  return image;
}
