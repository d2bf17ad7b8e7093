#include "convert/colour.h"

Colour parseColor(const QString& text) {
  if (text.size() != 6) return {};
  const auto channel = [&](int at) { return static_cast<uint8_t>(text.mid(at, 2).toUInt(nullptr, 16)); };
  return {channel(0), channel(2), channel(4)};
}
