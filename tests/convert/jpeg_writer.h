// Writes test JPEGs of the kinds cameras and editors produce (colour, grey, CMYK, YCCK,
// progressive) with libjpeg, so that fixtures are made at test time.
#pragma once

#include <QByteArray>
#include <QImage>

enum class JpegColour { Rgb, Grey, Cmyk, Ycck };

struct JpegOptions {
  JpegColour colour = JpegColour::Rgb;
  bool progressive = false;
  int quality = 92;
};

// The JPEG bytes of `image` (any format; converted to RGB first), or empty on failure. CMYK and
// YCCK files carry an Adobe marker and store inverted values, as Photoshop does, so that a
// decoder's R = C * K / 255 gives back the RGB image.
QByteArray encodeJpeg(const QImage& image, const JpegOptions& options);

// A photo-like test picture: smooth gradients, hard edges and fine detail.
QImage testPicture(int width, int height);
