// The built-in English texts: the ordered list the string table is built from.
#pragma once

#include <span>

// A pair of the list. ("_GROUP_", name) opens a group, ("_END_", "") ends the list, and every
// other pair is a (key, text) entry of the group opened last.
struct BuiltinText {
  const char16_t* first;
  const char16_t* second;
};

std::span<const BuiltinText> builtinTexts();
