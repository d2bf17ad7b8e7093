#include "convert/format_tables.h"

#include "settings/format_lists.h"

#include <FreeImage.h>

#include <map>

namespace {

using OutputTable = std::map<QString, OutputFormatRow>;
using InputTable = std::map<QString, InputFormatRow>;

const OutputTable& outputTable() {
  static const OutputTable table = [] {
    struct Row {
      FREE_IMAGE_FORMAT id;
      const char* extension;
      const char* description;
      const char* depths;
    };
    static constexpr Row rows[] = {
        {FIF_BMP, "bmp", "Windows or OS/2 Bitmap", "1,4,8,16,24,32"},
        {FIF_EXR, "exr", "ILM OpenEXR", "96"},
        {FIF_GIF, "gif", "Graphics Interchange Format", "8"},
        {FIF_HDR, "hdr", "High Dynamic Range Image", "96"},
        {FIF_ICO, "ico", "Windows Icon", "1,4,8,16,24,32"},
        {FIF_J2K, "j2k", "JPEG-2000 Codestream", "8,24,32,48"},
        {FIF_JNG, "jng", "JPEG Network Graphics", "24,32"},
        {FIF_JP2, "jp2", "JPEG-2000 File Format", "8,24,32,48"},
        {FIF_JPEG, "jpg", "JPEG File Format", "8,24"},
        {FIF_JXR, "jxr", "JPEG XR Image Format", "1,8,16,24,32,48,96"},
        {FIF_PBM, "pbm", "Portable Bitmap", "1"},
        {FIF_PFM, "pfm", "Portable Floatmap", "96"},
        {FIF_PGM, "pgm", "Portable Greymap", "8"},
        {FIF_PNG, "png", "Portable Network Graphics", "1,4,8,24,32,48"},
        {FIF_PPM, "ppm", "Portable Pixelmap", "24,48"},
        {FIF_TARGA, "tga", "Truevision Targa", "8,16,24,32"},
        {FIF_TIFF, "tiff", "Tagged Image File Format", "1,4,8,24,32,48,96"},
        {FIF_WBMP, "wbmp", "Wireless Bitmap", "1"},
        {FIF_WEBP, "webp", "Google WebP Image Format", "24,32"},
        {FIF_XPM, "xpm", "X11 Pixmap Format", "24"},
    };
    OutputTable built;
    for (const Row& row : rows) {
      const QString extension = QString::fromLatin1(row.extension);
      built[extension] = {static_cast<int32_t>(row.id), extension, QString::fromLatin1(row.description),
                          QString::fromLatin1(row.depths)};
    }
    return built;
  }();
  return table;
}

const InputTable& inputTable() {
  static const InputTable table = [] {
    // A group of extensions sharing one family and one description.
    struct Group {
      const char* family;
      const char* description;
      std::initializer_list<const char*> extensions;
    };
    const Group groups[] = {
        {"bmp", "Windows or OS/2 Bitmap", {"bmp", "rle", "dib"}},
        {"dds", "DirectDraw Surface File", {"dds"}},
        {"emf", "Enhanced Metafile Format", {"emf", "emz"}},
        {"gif", "GIF File", {"gif"}},
        {"hdr", "High Dynamic Range File", {"hdr", "hdri"}},
        {"ico", "Windows Icon", {"ico"}},
        {"jpg", "JPEG File", {"jpg", "jpeg", "jpe", "jif"}},
        {"pcd", "Kodak PhotoCD File", {"pcd", "pcd1", "pcds", "ppcd"}},
        {"pcx", "ZSoft Paintbrush File", {"pcx"}},
        {"pic", "Macintosh PICT", {"pic", "pict", "pct"}},
        {"png", "Portable Network Graphics", {"png"}},
        {"psd", "Adobe Photoshop File", {"psd"}},
        {"tga", "Truevision Targa", {"tga", "targa"}},
        {"tiff", "Tagged Image File Format", {"tiff", "tif"}},
        {"wmf", "Windows Metafile Format", {"wmf", "wmz"}},
        {"wmf", "Aldus Placeable Metafile", {"apm"}},
        {"raw", "Camera RAW Image", {"raw", "raw1", "raw2"}},
        {"raw", "Hasselblad Camera RAW Image", {"3fr"}},
        {"raw", "Sony Camera RAW Image", {"arw", "sr2", "srf"}},
        {"raw", "Casio Camera RAW Image", {"bay"}},
        {"raw", "NuCore RAW Image", {"bmq"}},
        {"raw", "Phase One Camera RAW Image", {"cap", "iiq", "eip"}},
        {"raw", "Phantom RAW Image", {"cine"}},
        {"raw", "Canon Camera RAW Image", {"cr2", "crw"}},
        {"raw", "Capture Shop RAW Image", {"cs1"}},
        {"raw", "Kodak Camera RAW Image", {"dc2", "dcr", "drf", "dsc", "k25", "kc2", "kdc", "dcs"}},
        {"raw", "Adobe Digital Negative Image", {"dng"}},
        {"raw", "Epson Camera RAW Image", {"erf"}},
        {"raw", "Imacon Camera RAW Image", {"fff"}},
        {"raw", "Sinar RAW Image", {"ia", "sti"}},
        {"raw", "Minolta Camera RAW Image", {"mdc", "mrw"}},
        {"raw", "Mamiya Camera RAW Image", {"mef", "mos"}},
        {"raw", "Nikon Camera RAW Image", {"nef", "nrw"}},
        {"raw", "Olympus Camera RAW Image", {"orf"}},
        {"raw", "Pentax Camera RAW Image", {"pef", "ptx"}},
        {"raw", "Logitech Camera RAW Image", {"pxn"}},
        {"raw", "Apple Quicktake Camera RAW Image", {"qtk"}},
        {"raw", "Fuji Camera RAW Image", {"raf"}},
        {"raw", "Digital Foto Maker RAW Image", {"rdc"}},
        {"raw", "Panasonic Camera RAW Image", {"rw2"}},
        {"raw", "Rawzor Camera RAW Image", {"rwz"}},
        {"raw", "Sigma Camera RAW Image", {"x3f"}},
        {"raw", "ARRI RAW Image", {"ari"}},
        {"raw", "RED RAW Image", {"r3d"}},
        {"raw", "Leica Camera RAW Image", {"rwl"}},
    };
    InputTable built;
    for (const Group& group : groups) {
      for (const char* extension : group.extensions) {
        built[QString::fromLatin1(extension)] = {QString::fromLatin1(group.family),
                                                 QString::fromLatin1(group.description)};
      }
    }
    return built;
  }();
  return table;
}

// The flags word for a setting value; 0 for a value outside the list.
template <size_t N>
int32_t choice(const int32_t (&flags)[N], int32_t value) {
  return value >= 0 && static_cast<size_t>(value) < N ? flags[value] : 0;
}

}  // namespace

void buildFormatTables() {
  outputTable();
  inputTable();
}

OutputFormatRow outputFormat(const QString& extension) {
  const OutputTable& table = outputTable();
  const auto found = table.find(extension);
  return found == table.end() ? OutputFormatRow{} : found->second;
}

InputFormatRow inputFormat(const QString& extension) {
  const InputTable& table = inputTable();
  const auto found = table.find(extension);
  return found == table.end() ? InputFormatRow{} : found->second;
}

int outputFormatCount() { return static_cast<int>(outputTable().size()); }
int inputFormatCount() { return static_cast<int>(inputTable().size()); }

QStringList outputFormatExtensions() {
  QStringList extensions;
  for (const auto& [extension, row] : outputTable()) extensions << extension;
  return extensions;
}

QStringList acceptedInputExtensions() {
  QStringList accepted;
  for (const QString& family : inputFormatList()) {
    for (const auto& [extension, row] : inputTable()) {
      if (row.family == family) accepted << extension;
    }
  }
  return accepted;
}

QString pathExtension(const QString& path) {
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return {};
  const QString extension = path.mid(dot + 1);
  for (const QChar c : extension) {
    if (c == QLatin1Char(' ') || c == QLatin1Char('/') || c == QLatin1Char('\\')) return {};
  }
  return extension;
}

bool isAcceptedInputPath(const QString& path) {
  const QString extension = pathExtension(path).toLower();
  return !extension.isEmpty() && acceptedInputExtensions().contains(extension);
}

int32_t saveFlags(const QString& extension, const Settings& settings) {
  static constexpr int32_t exrCompressions[] = {EXR_NONE, EXR_ZIP, EXR_PIZ, EXR_PXR24, EXR_B44};
  static constexpr int32_t jpgChromas[] = {JPEG_SUBSAMPLING_444, JPEG_SUBSAMPLING_422, JPEG_SUBSAMPLING_420,
                                           JPEG_SUBSAMPLING_411};
  static constexpr int32_t jpgModes[] = {0, JPEG_BASELINE, JPEG_OPTIMIZE, JPEG_PROGRESSIVE};
  static constexpr int32_t pngCompressions[] = {PNG_Z_NO_COMPRESSION, PNG_Z_BEST_SPEED,
                                                PNG_Z_DEFAULT_COMPRESSION, PNG_Z_BEST_COMPRESSION};
  static constexpr int32_t tiffCompressions[] = {TIFF_NONE,     TIFF_CCITTFAX3, TIFF_CCITTFAX4,
                                                 TIFF_PACKBITS, TIFF_DEFLATE,   TIFF_ADOBE_DEFLATE,
                                                 TIFF_LZW,      TIFF_JPEG,      TIFF_LOGLUV};

  const Settings::Output& out = settings.output;
  if (extension == QLatin1String("bmp")) return out.bmpCompression == 1 ? BMP_SAVE_RLE : 0;
  if (extension == QLatin1String("exr")) return choice(exrCompressions, out.exrCompression);
  if (extension == QLatin1String("jpg")) {
    return out.jpgQuality | choice(jpgChromas, out.jpgChroma) | choice(jpgModes, out.jpgSaveAs);
  }
  if (extension == QLatin1String("jxr")) return JXR_LOSSLESS;
  if (extension == QLatin1String("png")) {
    return choice(pngCompressions, out.pngCompression) | (out.pngInterlaced != 0 ? PNG_INTERLACED : 0);
  }
  if (extension == QLatin1String("tga")) return out.tgaCompression == 1 ? TARGA_SAVE_RLE : 0;
  if (extension == QLatin1String("tiff")) {
    return choice(tiffCompressions, out.tiffCompression) | (out.tiffColorModel == 1 ? TIFF_CMYK : 0);
  }
  if (extension == QLatin1String("webp")) return WEBP_LOSSLESS;
  return 0;
}

int32_t autoDepth(const QString& extension, int32_t inputBpp) {
  const QString depths = outputFormat(extension).bitDepths;
  if (depths.isEmpty()) return 0;
  int32_t depth = 0;
  for (const QString& entry : depths.split(QLatin1Char(','))) {
    depth = entry.toInt();
    if (depth >= inputBpp) return depth;
  }
  return depth;
}
