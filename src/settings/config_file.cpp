#include "settings/config_file.h"

#include "settings/fields.h"
#include "settings/format_lists.h"
#include "settings/key_value_file.h"

#include <cstring>
#include <span>
#include <type_traits>
#include <variant>

namespace {

// The per-format keys written for each entry of the input- and output-format lists, in order.
// A list entry without rows here adds no keys.
struct FormatKey {
  const char* group;
  const char* extension;
  const char* key;
};

constexpr FormatKey kFormatKeys[] = {
    {"Input", "dds", "DDS Load As"},
    {"Input", "gif", "GIF Frame Loading"},
    {"Input", "ico", "ICO Frame Loading"},
    {"Input", "raw", "RAW Load As"},
    {"Input", "raw", "RAW Header Size"},
    {"Input", "raw", "RAW Image Width"},
    {"Input", "raw", "RAW Image Height"},
    {"Input", "raw", "RAW Tone Mapping"},
    {"Input", "tiff", "TIFF Frame Loading"},
    {"Output", "bmp", "BMP BPP"},
    {"Output", "bmp", "BMP Compression"},
    {"Output", "bmp", "BMP Color Table"},
    {"Output", "dds", "DDS BPP"},
    {"Output", "exr", "EXR BPP"},
    {"Output", "exr", "EXR Compression"},
    {"Output", "gif", "GIF BPP"},
    {"Output", "hdr", "HDR BPP"},
    {"Output", "ico", "ICO BPP"},
    {"Output", "j2k", "J2K BPP"},
    {"Output", "jng", "JNG BPP"},
    {"Output", "jp2", "JP2 BPP"},
    {"Output", "jpg", "JPG BPP"},
    {"Output", "jpg", "JPG Quality"},
    {"Output", "jpg", "JPG Chroma"},
    {"Output", "jpg", "JPG Save As"},
    {"Output", "jxr", "JXR BPP"},
    {"Output", "pbm", "PBM BPP"},
    {"Output", "pcx", "PCX BPP"},
    {"Output", "pfm", "PFM BPP"},
    {"Output", "pgm", "PGM BPP"},
    {"Output", "png", "PNG BPP"},
    {"Output", "png", "PNG Compression"},
    {"Output", "png", "PNG Interlaced"},
    {"Output", "ppm", "PPM BPP"},
    {"Output", "psd", "PSD BPP"},
    {"Output", "tga", "TGA BPP"},
    {"Output", "tga", "TGA Compression"},
    {"Output", "tiff", "TIFF BPP"},
    {"Output", "tiff", "TIFF Compression"},
    {"Output", "tiff", "TIFF Color Model"},
    {"Output", "wbmp", "WBMP BPP"},
    {"Output", "webp", "WEBP BPP"},
    {"Output", "xpm", "XPM BPP"},
};

constexpr int32_t kLayoutVersion = 17;

bool sameName(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

QString latin1(const char* text) { return QString::fromLatin1(text); }

// The value a missing key reads as: the graphical-mode default, except that a file without
// `CFG` counts as layout 0 and a window without a stored position opens at 100, 100.
Settings missingKeyDefaults(const DefaultsEnvironment& env) {
  Settings defaults;
  applyDefaults(defaults, false, env);
  defaults.general.cfg = 0;
  defaults.window.x = 100;
  defaults.window.y = 100;
  return defaults;
}

void readField(const KeyValueReader& reader, const SettingField& field, Settings& settings,
               Settings& defaults) {
  const QString key = latin1(field.key);
  std::visit(
      [&](auto* value) {
        using T = std::remove_pointer_t<decltype(value)>;
        const T fallback = *std::get<T*>(field.get(defaults));
        if constexpr (std::is_same_v<T, QString>) {
          *value = reader.readText(key, fallback);
        } else if constexpr (std::is_same_v<T, float>) {
          *value = reader.readFloat(key, fallback);
        } else {
          // 8-bit fields keep the low byte of the number as a signed value (200 reads as -56).
          *value = static_cast<T>(reader.readInt(key, fallback));
        }
      },
      field.get(settings));
}

void upgradeLayout(Settings& settings) {
  const int32_t version = settings.general.cfg;
  if (version < 11 && !settings.advanced.filenameMask.contains(QStringLiteral("%ext%")))
    settings.advanced.filenameMask += QStringLiteral(".%ext%");
  if (version < 14 && settings.input.rawLoadAs != 0) settings.input.rawLoadAs += 2;
}

void writeField(KeyValueWriter& writer, const SettingField& field, Settings& settings) {
  const QString key = latin1(field.key);
  std::visit(
      [&](auto* value) {
        using T = std::remove_pointer_t<decltype(value)>;
        if constexpr (std::is_same_v<T, QString>) {
          writer.writeText(key, *value);
        } else if constexpr (std::is_same_v<T, float>) {
          writer.writeFloat(key, *value);
        } else {
          writer.writeInt(key, *value);
        }
      },
      field.get(settings));
}

void writeKey(KeyValueWriter& writer, const char* group, const char* key, Settings& settings) {
  const SettingField* field = findSettingField(latin1(group), latin1(key));
  if (field != nullptr) writeField(writer, *field, settings);
}

// `Format`, then the keys of every entry of the format list, in list order.
void writeFormatGroup(KeyValueWriter& writer, const char* group, const QStringList& formats,
                      Settings& settings) {
  writeKey(writer, group, "Format", settings);
  for (const QString& extension : formats) {
    for (const FormatKey& row : kFormatKeys) {
      if (sameName(row.group, group) && extension == QLatin1String(row.extension))
        writeKey(writer, group, row.key, settings);
    }
  }
}

struct FormatLists {
  const QStringList& input;
  const QStringList& output;
};

void writeGroup(KeyValueWriter& writer, const char* group, std::span<const SettingField> fields,
                const FormatLists& formats, Settings& settings) {
  writer.beginGroup(latin1(group));
  if (sameName(group, "Input")) {
    writeFormatGroup(writer, group, formats.input, settings);
  } else if (sameName(group, "Output")) {
    writeFormatGroup(writer, group, formats.output, settings);
  } else if (!sameName(group, "Window") || settings.general.saveWindowPosition != 0) {
    for (const SettingField& field : fields) {
      if (sameName(group, "General") && sameName(field.key, "CFG"))
        writer.writeInt(latin1(field.key), kLayoutVersion);
      else
        writeField(writer, field, settings);
    }
  }
  writer.writeComment(QString());
}

KeyValueWriter configWriter(const Settings& settings, const FormatLists& formats) {
  // The field accessors hand out writable pointers; the saver only reads, from a copy.
  Settings record = settings;
  KeyValueWriter writer;
  const std::span<const SettingField> fields = settingFields();
  for (size_t first = 0; first < fields.size();) {
    size_t end = first;
    while (end < fields.size() && sameName(fields[end].group, fields[first].group)) ++end;
    writeGroup(writer, fields[first].group, fields.subspan(first, end - first), formats, record);
    first = end;
  }
  return writer;
}

}  // namespace

void loadConfig(Settings& settings, const DefaultsEnvironment& env) {
  KeyValueReader reader;
  if (!reader.open(settings.configPath)) {
    applyDefaults(settings, false, env);
  } else {
    Settings defaults = missingKeyDefaults(env);
    const char* selected = nullptr;
    for (const SettingField& field : settingFields()) {
      if (selected == nullptr || !sameName(selected, field.group)) {
        selected = field.group;
        reader.selectGroup(latin1(selected));
      }
      readField(reader, field, settings, defaults);
    }
    // Keys of earlier versions (Window/Hide Passwords, Show Single Password, Show Password List,
    // Show Character Set, Show Advanced Options; File/TxtFields, CsvDelimiter) carry nothing
    // now: like any unknown key they are skipped here and never written back.
    reader.close();
  }
  upgradeLayout(settings);
}

QByteArray configFileBytes(const Settings& settings, const QStringList& inputFormats,
                           const QStringList& outputFormats) {
  return configWriter(settings, {inputFormats, outputFormats}).bytes();
}

bool saveConfig(const Settings& settings) {
  return configWriter(settings, {inputFormatList(), outputFormatList()}).save(settings.configPath);
}
