// Test helper: any Settings field as the text config.ini would hold, so that tables and
// comparisons can name fields by group and key.
#pragma once

#include "settings/fields.h"
#include "settings/key_value_file.h"

#include <QString>

#include <type_traits>
#include <variant>

inline QString fieldText(const Settings& settings, const SettingField& field) {
  Settings copy = settings;  // the field table hands out pointers into a mutable record
  return std::visit(
      [](auto* value) -> QString {
        using T = std::remove_pointer_t<decltype(value)>;
        if constexpr (std::is_same_v<T, QString>)
          return *value;
        else if constexpr (std::is_same_v<T, float>)
          return formatFloat(*value);
        else
          return QString::number(*value);
      },
      field.get(copy));
}
