// Hand-over of a drawn 32-bit layer to FreeImage.
#pragma once

#include "convert/bitmap.h"

#include <QImage>

// A 32-bit FreeImage bitmap with the image's pixels and straight (non-premultiplied) alpha, rows
// bottom-up as FreeImage keeps them. Null for a null image or when the bitmap cannot be made.
BitmapPtr bitmapFromLayer(const QImage& layer);

// A transparent layer of the given size, or a null image when it cannot be made (for instance
// a size of 0 or one too large to allocate).
QImage transparentLayer(int width, int height);
