// RGBE pixels straight from 8-bit samples, without a float image: the same bytes that
// FreeImage_ConvertToRGBF (sample / 255.0f per channel) followed by the HDR writer give.
#pragma once

#include "convert/radiance_writer.h"

#include <FreeImage.h>

#include <cstdint>

// Red, green, blue samples in this order (libjpeg's RGB output), 3 bytes a pixel.
void rgbRowToRgbe(const uint8_t* rgb, int width, RgbePlanes out);
// Red, green, blue and one unused byte a pixel (libjpeg's RGBX output).
void rgbxRowToRgbe(const uint8_t* rgbx, int width, RgbePlanes out);
// One grey sample a pixel; grey g stands for red = green = blue = g.
void greyRowToRgbe(const uint8_t* grey, int width, RgbePlanes out);

// The RGBE of one 8-bit colour, for tests and single pixels.
Rgbe rgbeFromBytes(uint8_t red, uint8_t green, uint8_t blue);

// True for the bitmaps writeBitmapRadiance takes: FIT_BITMAP of 1, 4, 8 (through the palette),
// 24 or 32 bits (alpha ignored), and FIT_RGBF.
bool canWriteBitmapRadiance(FIBITMAP* bitmap);

// The whole bitmap through the writer (begin, every row from the top, finish): the file that
// FreeImage_Save(FIF_HDR) writes for FreeImage_ConvertToRGBF(bitmap). False for an unsupported
// bitmap (nothing written) or a failed write.
bool writeBitmapRadiance(FIBITMAP* bitmap, RadianceWriter& writer);
