// The pages of the Preferences window as data: every page, per-format and scrolling panel, and
// row, with its control kind, its Settings field and its items. The window builds itself from
// these tables.
#pragma once

#include <span>

enum class RowKind {
  Language,      // one item, "English"; OK always stores "en"
  Theme,         // the themes' display names, or "None"
  List,          // the field holds the index of the selected item; without a field one item stays selected
  InputFormat,   // icon list of the input-format list
  OutputFormat,  // icon list of the output-format list
  Depth,         // "Auto" and the depths of the panel's output format
  Check,
  Text,        // free text, cleaned when stored
  ImagePath,   // free text with "..." opening the image file dialog
  Number,      // digits-only edit followed by a unit list
  Pair,        // slider + spin box
  Gamma,       // slider of gamma x 100 + spin box showing two decimals
  Colour,      // swatch button + read-only hexadecimal edit
  ColourList,  // colours of a list field with "..." opening the colour dialog
  FontList,    // names of `Watermark/Fonts` with "..." opening the font dialog
  Date,
};

using ItemKeys = std::span<const char* const>;

struct RowDef {
  RowKind kind;
  const char* label;          // text key in group Preferences
  const char* key = nullptr;  // field key in the page's group; nullptr for a row without field
  ItemKeys items = {};        // list items, or the unit items of a Number row (keys in Preferences)
  int minimum = 0;            // Pair: range of the spin box; the slider runs over range + offset
  int maximum = 0;
  int offset = 0;
  const char* unitKey = nullptr;  // Number: field holding the unit list's index
  const char* listKey = nullptr;  // ColourList: the field holding the offered colours
};

// A panel below a page's first row, at (0, 40), 450 x 215.
struct PanelDef {
  const char* id;     // format extension, or "solid", "text", "image"
  int contentHeight;  // 0: plain panel; otherwise a scrolling panel with this content height
  std::span<const RowDef> rows;
};

struct PageDef {
  const char* title;  // text key in group Preferences
  const char* group;  // Settings group of the page's fields
  int contentHeight;  // 0: plain page; otherwise a scrolling page
  std::span<const RowDef> rows;
  std::span<const PanelDef> panels;
};

// General, Interface, Input, Output, Transform, Adjustment, Frame, Watermark, Advanced.
std::span<const PageDef> preferencesPages();

inline constexpr int kPageCount = 9;
inline constexpr int kOutputPage = 3;
