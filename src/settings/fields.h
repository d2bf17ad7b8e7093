// Every option field of Settings by its configuration group and key, in file order.
#pragma once

#include "settings/settings.h"

#include <QString>

#include <span>
#include <variant>

using FieldRef = std::variant<int32_t*, int8_t*, float*, QString*>;

struct SettingField {
  const char* group;
  const char* key;
  FieldRef (*get)(Settings&);
};

// All fields of all groups, in the order of the configuration file's groups and keys.
std::span<const SettingField> settingFields();

// The field of `group`/`key` (ASCII case ignored); nullptr when there is none.
const SettingField* findSettingField(const QString& group, const QString& key);

// The `Output/<EXT> BPP` field of an output extension ("hdr" -> hdrBpp); nullptr when the
// extension has no depth key.
int32_t* outputBppField(Settings& settings, const QString& extension);
int32_t outputBpp(const Settings& settings, const QString& extension);
