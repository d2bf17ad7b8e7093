#include "cli/options.h"

#include "cli/keywords.h"
#include "settings/fields.h"
#include "settings/key_value_file.h"

#include <optional>
#include <variant>

namespace {

using K = ValueKind;
using R = OptionRole;

constexpr OptionSpec control(std::array<const char*, 3> names, R role, K kind, const char* hint,
                             const char* description) {
  OptionSpec o{names, role, kind};
  o.valueHint = hint;
  o.description = description;
  return o;
}

constexpr OptionSpec setting(const char* name, K kind, const char* target, const char* hint,
                             const char* description) {
  OptionSpec o{{name, nullptr, nullptr}, R::Setting, kind};
  o.target = target;
  o.valueHint = hint;
  o.description = description;
  return o;
}

constexpr OptionSpec flag(const char* name, const char* target, int8_t value, const char* description) {
  OptionSpec o = setting(name, K::None, target, "", description);
  o.flagValue = value;
  return o;
}

constexpr OptionSpec keyword(const char* name, int8_t list, const char* target, const char* description) {
  OptionSpec o = setting(name, K::Keyword, target, "WORD", description);
  o.keywordList = list;
  return o;
}

constexpr OptionSpec integer(const char* name, const char* target, const char* description) {
  return setting(name, K::Integer, target, "NUM", description);
}

constexpr OptionSpec text(const char* name, const char* target, const char* hint, const char* description) {
  return setting(name, K::Text, target, hint, description);
}

constexpr OptionSpec also(OptionSpec o, const char* target, int8_t value) {
  o.alsoSets = target;
  o.alsoValue = value;
  return o;
}

// The option with further sentences for the man page and the manual.
constexpr OptionSpec explained(OptionSpec o, const char* details) {
  o.details = details;
  return o;
}

constexpr OptionSpec bpp(const char* name, const char* target) {
  return integer(name, target, "Set the output bits per pixel of this format, 0 = as the source");
}

constexpr OptionSpec kOptions[] = {
    // First-parameter switches.
    control({"-H", "-?", "--HELP"}, R::Help, K::None, "", "Display this help and exit"),
    control({"-V", "--VERSION"}, R::Version, K::None, "", "Display version information and exit"),
    explained(control({"-U"}, R::Uninstall, K::None, "", "Show the uninstall feedback window"),
              "With its box ticked, Next opens the uninstall feedback page in the web browser."),
    explained(control({"-T"}, R::Screenshot, K::None, "[FOLDER]", "Screenshot mode"),
              "Shows the main window with sample values and saves two pictures of it, quillet1.jpg and "
              "the 180 pixels wide quillet1x.jpg, in FOLDER (the second parameter), or in the program's "
              "folder when it is not given. The folder must exist. Needs a display."),

    // Main options and console switches.
    explained(control({"-I", "--INPUT"}, R::Input, K::Text, "FILE", "Set input file"),
              "The JPEG file to convert (.jpg, .jpeg, .jpe or .jif). The short form takes the next "
              "parameter, the long form only --input=FILE. A relative path is relative to the current "
              "directory."),
    explained(control({"-O", "--OUTPUT"}, R::Output, K::Text, "PATH", "Set output folder"),
              "The folder must exist; it is not created. A relative path is relative to the current "
              "directory and may not begin with \"..\". Without this option the output goes into the "
              "input file's folder."),
    [] {
      OptionSpec o = control({"-C", "--CONVERSION"}, R::Conversion, K::Text, "STR",
                             "Set output extension, STR = (jpg | bmp | ...)");
      o.rejoinQuotes = false;
      o.details = "It is also the default. The name is compared exactly: HDR is refused.";
      return o;
    }(),
    explained(
        control({"--PROFILE"}, R::Profile, K::Text, "FILE", "Set configuration file with required settings"),
        "Reads the options of the [CLI] group of FILE at this place among the options: options "
        "before it can be overridden by the profile, options after it override the profile."),
    explained(control({"-D", "--DEBUG"}, R::Debug, K::None, "", "Print debug information to stdout"),
              "Prints every effective setting before the conversion and each step of it."),
    explained(control({"-Q", "--QUIET"}, R::Quiet, K::None, "", "Don't print status messages to stdout"),
              "Errors are still printed."),
    explained(control({"-P", "--PAUSE"}, R::Pause, K::None, "", "Pause at exit"),
              "Waits for a key on a terminal; without a terminal, for one byte or the end of standard "
              "input."),

    // Input load options (stored; JPEG input uses none of them).
    keyword("--DDS-LOAD-AS", 0, "Input/DDS Load As", "Set DDS load mode"),
    keyword("--GIF-FRAME-LOADING", 2, "Input/GIF Frame Loading", "Set GIF frame loading"),
    keyword("--ICO-FRAME-LOADING", 2, "Input/ICO Frame Loading", "Set ICO frame loading"),
    keyword("--RAW-LOAD-AS", 1, "Input/RAW Load As", "Set RAW load mode"),
    integer("--RAW-HEADER-SIZE", "Input/RAW Header Size", "Set RAW header size in bytes"),
    integer("--RAW-WIDTH", "Input/RAW Image Width", "Set RAW image width"),
    integer("--RAW-HEIGHT", "Input/RAW Image Height", "Set RAW image height"),
    keyword("--RAW-TONE-MAPPING", 3, "Input/RAW Tone Mapping", "Set RAW tone mapping"),
    keyword("--TIFF-FRAME-LOADING", 2, "Input/TIFF Frame Loading", "Set TIFF frame loading"),

    // Output bit depths, one per output format.
    bpp("--BMP-BPP", "Output/BMP BPP"),
    bpp("--DDS-BPP", "Output/DDS BPP"),
    bpp("--EXR-BPP", "Output/EXR BPP"),
    bpp("--GIF-BPP", "Output/GIF BPP"),
    explained(bpp("--HDR-BPP", "Output/HDR BPP"), "HDR output accepts 0 and 96 (three 32-bit floats)."),
    bpp("--ICO-BPP", "Output/ICO BPP"),
    bpp("--J2K-BPP", "Output/J2K BPP"),
    bpp("--JNG-BPP", "Output/JNG BPP"),
    bpp("--JP2-BPP", "Output/JP2 BPP"),
    bpp("--JPG-BPP", "Output/JPG BPP"),
    bpp("--JXR-BPP", "Output/JXR BPP"),
    bpp("--PBM-BPP", "Output/PBM BPP"),
    bpp("--PCX-BPP", "Output/PCX BPP"),
    bpp("--PFM-BPP", "Output/PFM BPP"),
    bpp("--PGM-BPP", "Output/PGM BPP"),
    bpp("--PNG-BPP", "Output/PNG BPP"),
    bpp("--PPM-BPP", "Output/PPM BPP"),
    bpp("--PSD-BPP", "Output/PSD BPP"),
    bpp("--TGA-BPP", "Output/TGA BPP"),
    bpp("--TIFF-BPP", "Output/TIFF BPP"),
    bpp("--WBMP-BPP", "Output/WBMP BPP"),
    bpp("--WEBP-BPP", "Output/WEBP BPP"),
    bpp("--XPM-BPP", "Output/XPM BPP"),

    // Other output-format options.
    keyword("--BMP-COMPRESSION", 4, "Output/BMP Compression", "Set BMP compression"),
    keyword("--BMP-COLOR-TABLE", 5, "Output/BMP Color Table", "Set BMP colour table"),
    keyword("--EXR-COMPRESSION", 4, "Output/EXR Compression", "Set EXR compression"),
    integer("--JPG-QUALITY", "Output/JPG Quality", "Set JPEG quality, NUM = 1..100"),
    keyword("--JPG-CHROMA", 7, "Output/JPG Chroma", "Set JPEG chroma subsampling"),
    keyword("--JPG-SAVE-AS", 8, "Output/JPG Save As", "Set JPEG save mode"),
    keyword("--PNG-COMPRESSION", 4, "Output/PNG Compression", "Set PNG compression"),
    flag("--PNG-INTERLACED", "Output/PNG Interlaced", 1, "Save PNG interlaced"),
    keyword("--TGA-COMPRESSION", 4, "Output/TGA Compression", "Set TGA compression"),
    keyword("--TIFF-COMPRESSION", 4, "Output/TIFF Compression", "Set TIFF compression"),
    keyword("--TIFF-COLOR-MODEL", 6, "Output/TIFF Color Model", "Set TIFF colour model"),

    // Transform options.
    explained(keyword("--ROTATION-TYPE", 9, "Transform/Image Rotation Type", "Set rotation type"),
              "simple enlarges the picture to hold the whole turned image and fills the corners with "
              "the background colour; advanced keeps the size and fills the corners by mirroring."),
    also(integer("--ROTATION", "Transform/Image Rotation", "Rotate output image by NUM degrees"),
         "Transform/Do Image Rotation", 1),
    text("--ROTATION-BACK-COLOR", "Transform/Image Rotation Back Color", "RRGGBB",
         "Set background colour of a rotation"),
    explained(also(integer("--WIDTH", "Transform/Image Width", "Set output image width"),
                   "Transform/Do Image Resize", 1),
              "Resizing needs both --width and --height."),
    keyword("--WIDTH-UNIT", 10, "Transform/Image Width Unit", "Set unit of the width"),
    also(integer("--HEIGHT", "Transform/Image Height", "Set output image height"),
         "Transform/Do Image Resize", 1),
    keyword("--HEIGHT-UNIT", 10, "Transform/Image Height Unit", "Set unit of the height"),
    explained(
        flag("--KEEP-ASPECT-RATIO", "Transform/Keep Aspect Ratio", 1, "Keep the proportions when resizing"),
        "The width decides for a landscape or square picture, the height for a portrait one."),
    explained(keyword("--RESIZE-TYPE", 11, "Transform/Image Resize Type", "Set which images are resized"),
              "largeimages leaves a picture alone when it is smaller than the target in both "
              "directions."),
    keyword("--RESIZE-ALGORITHM", 12, "Transform/Image Resize Algorithm", "Set resize algorithm"),
    flag("--FLIP-HORIZONTAL", "Transform/Do Image Flip Horizontal", 1, "Flip output image horizontally"),
    flag("--FLIP-VERTICAL", "Transform/Do Image Flip Vertical", 1, "Flip output image vertically"),

    // Adjustment options.
    also(integer("--BRIGHTNESS", "Adjustment/Image Brightness",
                 "Set output image brightness, NUM = -100..100"),
         "Adjustment/Do Image Color Correction", 1),
    also(integer("--CONTRAST", "Adjustment/Image Contrast", "Set output image contrast, NUM = -100..100"),
         "Adjustment/Do Image Color Correction", 1),
    also(setting("--GAMMA", K::Decimal, "Adjustment/Image Gamma", "NUM",
                 "Set output image gamma, NUM = 0.01..9.99"),
         "Adjustment/Do Image Color Correction", 1),
    also(flag("--INVERT", "Adjustment/Image Invert", 1, "Invert output image"),
         "Adjustment/Do Image Color Correction", 1),
    flag("--GREYSCALE", "Adjustment/Do Image Greyscale", 1, "Greyscale output image"),
    also(integer("--THRESHOLD", "Adjustment/Image Threshold", "Set black-and-white threshold, NUM = 0..255"),
         "Adjustment/Do Image Threshold", 1),

    // Frame options; only the widths switch the frame on.
    also(integer("--FR-SOLID-LEFT", "Frame/Solid Left", "Set left frame width in pixels"), "Frame/Do Frame",
         1),
    also(integer("--FR-SOLID-RIGHT", "Frame/Solid Right", "Set right frame width in pixels"),
         "Frame/Do Frame", 1),
    also(integer("--FR-SOLID-TOP", "Frame/Solid Top", "Set top frame width in pixels"), "Frame/Do Frame", 1),
    also(integer("--FR-SOLID-BOTTOM", "Frame/Solid Bottom", "Set bottom frame width in pixels"),
         "Frame/Do Frame", 1),
    text("--FR-SOLID-LEFT-COLOR", "Frame/Solid Left Color", "RRGGBB", "Set left frame colour"),
    text("--FR-SOLID-RIGHT-COLOR", "Frame/Solid Right Color", "RRGGBB", "Set right frame colour"),
    text("--FR-SOLID-TOP-COLOR", "Frame/Solid Top Color", "RRGGBB", "Set top frame colour"),
    text("--FR-SOLID-BOTTOM-COLOR", "Frame/Solid Bottom Color", "RRGGBB", "Set bottom frame colour"),
    [] {
      // Profiles have always named the frame opacity "--WM-SOLID-OPACITY".
      OptionSpec o = integer("--FR-SOLID-OPACITY", "Frame/Solid Opacity", "Set frame opacity, NUM = 0..255");
      o.profileName = "--WM-SOLID-OPACITY";
      return o;
    }(),

    // Watermark options; "--WM-TEXT" and "--WM-IMAGE" choose the kind, the later one wins.
    explained(
        also(text("--WM-TEXT", "Watermark/Text", "STR", "Set watermark text"), "Watermark/Do Watermark", 1),
        "%eol% starts a new line; the tokens of the filename mask are replaced as in file "
        "names."),
    explained(text("--WM-FONT", "Watermark/Font", "STR", "Set watermark font name"),
              "A font family name such as \"DejaVu Sans\"; a family that is not installed is "
              "replaced by a similar one."),
    integer("--WM-FONT-SIZE", "Watermark/Font Size", "Set watermark font size in points"),
    integer("--WM-FONT-LEADING", "Watermark/Font Leading", "Set watermark line spacing"),
    text("--WM-FONT-COLOR", "Watermark/Font Color", "RRGGBB", "Set watermark text colour"),
    keyword("--WM-FONT-STYLE", 15, "Watermark/Font Style", "Set watermark font style"),
    keyword("--WM-FONT-EFFECT", 16, "Watermark/Font Effect", "Set watermark font effect"),
    flag("--WM-TEXT-ANTIALIASING", "Watermark/Text Antialiasing", 1, "Antialias the watermark text"),
    keyword("--WM-TEXT-ALIGNMENT", 17, "Watermark/Text Alignment", "Set watermark text alignment"),
    integer("--WM-TEXT-PADDING", "Watermark/Text Padding", "Set watermark text padding"),
    integer("--WM-TEXT-OPACITY", "Watermark/Text Opacity", "Set watermark text opacity, NUM = 0..255"),
    text("--WM-BACK-COLOR", "Watermark/Back Color", "RRGGBB", "Set watermark background colour"),
    integer("--WM-BACK-OPACITY", "Watermark/Back Opacity", "Set watermark background opacity, NUM = 0..255"),
    keyword("--WM-TEXT-BOUNDARY", 18, "Watermark/Text Boundary", "Set what the text watermark is placed in"),
    keyword("--WM-TEXT-POSITION", 19, "Watermark/Text Position", "Set text watermark position"),
    integer("--WM-TEXT-X-OFFSET", "Watermark/Text X Offset", "Set text watermark horizontal offset"),
    integer("--WM-TEXT-Y-OFFSET", "Watermark/Text Y Offset", "Set text watermark vertical offset"),
    integer("--WM-TEXT-ROTATION", "Watermark/Text Rotation", "Set text watermark rotation in degrees"),
    keyword("--WM-TEXT-SIZE", 20, "Watermark/Text Size", "Set text watermark size mode"),
    explained(also(text("--WM-IMAGE", "Watermark/Image", "FILE", "Set watermark image"),
                   "Watermark/Do Watermark", 2),
              "A PNG, JPEG or BMP picture, used at its own size."),
    flag("--WM-IMAGE-GREYSCALE", "Watermark/Image Greyscale", 1, "Greyscale the watermark image"),
    integer("--WM-IMAGE-OPACITY", "Watermark/Image Opacity", "Set watermark image opacity, NUM = 0..255"),
    keyword("--WM-IMAGE-BOUNDARY", 18, "Watermark/Image Boundary",
            "Set what the image watermark is placed in"),
    keyword("--WM-IMAGE-POSITION", 19, "Watermark/Image Position", "Set image watermark position"),
    integer("--WM-IMAGE-X-OFFSET", "Watermark/Image X Offset", "Set image watermark horizontal offset"),
    integer("--WM-IMAGE-Y-OFFSET", "Watermark/Image Y Offset", "Set image watermark vertical offset"),
    integer("--WM-IMAGE-ROTATION", "Watermark/Image Rotation", "Set image watermark rotation in degrees"),
    keyword("--WM-IMAGE-SIZE", 20, "Watermark/Image Size", "Set image watermark size mode"),

    // Advanced options.
    [] {
      OptionSpec o =
          text("--FILENAME-MASK", "Advanced/Filename Mask", "STR", "Define output filename format");
      o.profileStripsQuotes = true;
      o.details =
          "Literal text and %tokens% (listed with the filename mask); an existing file of the "
          "same name is replaced.";
      return o;
    }(),
    explained(keyword("--FILE-TIMESTAMP", 21, "Advanced/File Timestamp", "Set the output file's date"),
              "current keeps the time of writing, original copies the input file's date, custom "
              "takes --file-timestamp-custom."),
    integer("--FILE-TIMESTAMP-CUSTOM", "Advanced/Custom Timestamp",
            "Set the custom date as seconds since 1970-01-01, local time"),
    flag("--NO-SUBFOLDERS", "Advanced/Keep Subfolders", 0, "Don't keep input subfolders in the output"),
};

bool hasName(const OptionSpec& option, const QString& name) {
  for (const char* candidate : option.names) {
    if (candidate != nullptr && name == QLatin1String(candidate)) return true;
  }
  return false;
}

// The Settings field named "Group/Key"; nullopt for a name the record does not have.
std::optional<FieldRef> settingField(const char* target, Settings& settings) {
  const QString path = QString::fromLatin1(target);
  const qsizetype slash = path.indexOf(QLatin1Char('/'));
  const SettingField* field = findSettingField(path.left(slash), path.mid(slash + 1));
  if (field == nullptr) return std::nullopt;
  return field->get(settings);
}

// Integer fields of any width keep the value's low bits, as a stored byte would.
void storeInteger(const char* target, int32_t value, Settings& settings) {
  const std::optional<FieldRef> field = settingField(target, settings);
  if (!field) return;
  if (int32_t* const* slot = std::get_if<int32_t*>(&*field)) **slot = value;
  if (int8_t* const* slot = std::get_if<int8_t*>(&*field)) **slot = static_cast<int8_t>(value);
}

void storeDecimal(const char* target, float value, Settings& settings) {
  const std::optional<FieldRef> field = settingField(target, settings);
  if (!field) return;
  if (float* const* slot = std::get_if<float*>(&*field)) **slot = value;
}

void storeText(const char* target, const QString& value, Settings& settings) {
  const std::optional<FieldRef> field = settingField(target, settings);
  if (!field) return;
  if (QString* const* slot = std::get_if<QString*>(&*field)) **slot = value;
}

int digitValue(QChar c) {
  const char16_t u = c.unicode();
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'a' && u <= 'f') return u - 'a' + 10;
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  return 99;
}

}  // namespace

std::span<const OptionSpec> optionTable() { return kOptions; }

QString longName(const OptionSpec& option) {
  QString name;
  for (const char* candidate : option.names) {
    if (candidate != nullptr) name = QString::fromLatin1(candidate);
  }
  return name;
}

bool isFirstParameterSwitch(const OptionSpec& option) {
  return option.role == R::Help || option.role == R::Version || option.role == R::Uninstall ||
         option.role == R::Screenshot;
}

const OptionSpec* findOption(const QString& name, bool firstParameter) {
  for (const OptionSpec& option : kOptions) {
    if (isFirstParameterSwitch(option) && !firstParameter) continue;
    if (hasName(option, name)) return &option;
  }
  return nullptr;
}

const OptionSpec* findProfileOption(const QString& name) {
  for (const OptionSpec& option : kOptions) {
    if (option.role != R::Setting) continue;
    const QLatin1String key(option.profileName != nullptr ? option.profileName : option.names[0]);
    if (name == key) return &option;
  }
  return nullptr;
}

QString trimSpaces(const QString& text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text[first] == QLatin1Char(' ')) ++first;
  while (last > first && text[last - 1] == QLatin1Char(' ')) --last;
  return text.mid(first, last - first);
}

QString withoutSurroundingQuotes(QString text) {
  while (text.startsWith(QLatin1Char('"'))) text.remove(0, 1);
  while (text.endsWith(QLatin1Char('"'))) text.chop(1);
  return text;
}

int32_t parseOptionInteger(QStringView text) {
  qsizetype i = 0;
  while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
    negative = text[i] == QLatin1Char('-');
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == QLatin1Char('$')) {
    base = 16;
    ++i;
  } else if (i < text.size() && text[i] == QLatin1Char('%')) {
    base = 2;
    ++i;
  }
  uint32_t value = 0;  // wraps on overlong input, keeping the low 32 bits
  for (; i < text.size(); ++i) {
    const int digit = digitValue(text[i]);
    if (digit >= base) break;
    value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
  }
  if (negative) value = ~value + 1u;
  return static_cast<int32_t>(value);
}

void applySettingOption(const OptionSpec& option, const QString& value, Settings& settings) {
  if (option.role != R::Setting) return;
  if (option.alsoSets != nullptr) storeInteger(option.alsoSets, option.alsoValue, settings);
  switch (option.kind) {
    case K::None:
      storeInteger(option.target, option.flagValue, settings);
      break;
    case K::Integer:
      storeInteger(option.target, parseOptionInteger(value), settings);
      break;
    case K::Decimal:
      storeDecimal(option.target, parseDecimalFloat(value), settings);
      break;
    case K::Keyword:
      storeInteger(option.target, keywordToValue(option.keywordList, trimSpaces(value)), settings);
      break;
    case K::Text:
      storeText(option.target, value, settings);
      break;
  }
}
