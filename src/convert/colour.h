// Colours as the settings store them: six hexadecimal digits RRGGBB.
#pragma once

#include <QString>

#include <cstdint>

struct Colour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

// "FF8000" -> (255, 128, 0). Any text whose length is not 6 gives black; the digits are not
// validated further.
Colour parseColor(const QString& text);
