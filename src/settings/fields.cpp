#include "settings/fields.h"

#include "settings/key_value_file.h"

#include <array>

namespace {

#define FIELD(group, key, member) \
  SettingField { group, key, [](Settings& s) -> FieldRef { return &s.member; } }

const auto kFields = std::to_array<SettingField>({
    FIELD("General", "CFG", general.cfg),
    FIELD("General", "Language", general.language),
    FIELD("General", "Update Range", general.updateRange),
    FIELD("General", "Update Date", general.updateDate),
    FIELD("General", "Save Window Position", general.saveWindowPosition),

    FIELD("Window", "IsMaximized", window.isMaximized),
    FIELD("Window", "Width", window.width),
    FIELD("Window", "Height", window.height),
    FIELD("Window", "X", window.x),
    FIELD("Window", "Y", window.y),

    FIELD("Interface", "UI Theme", ui.uiTheme),
    FIELD("Interface", "UI Size", ui.uiSize),

    FIELD("Input", "Format", input.format),
    FIELD("Input", "DDS Load As", input.ddsLoadAs),
    FIELD("Input", "GIF Frame Loading", input.gifFrameLoading),
    FIELD("Input", "ICO Frame Loading", input.icoFrameLoading),
    FIELD("Input", "TIFF Frame Loading", input.tiffFrameLoading),
    FIELD("Input", "RAW Load As", input.rawLoadAs),
    FIELD("Input", "RAW Header Size", input.rawHeaderSize),
    FIELD("Input", "RAW Image Width", input.rawImageWidth),
    FIELD("Input", "RAW Image Height", input.rawImageHeight),
    FIELD("Input", "RAW Tone Mapping", input.rawToneMapping),

    FIELD("Output", "Format", output.format),
    FIELD("Output", "BMP BPP", output.bmpBpp),
    FIELD("Output", "BMP Compression", output.bmpCompression),
    FIELD("Output", "BMP Color Table", output.bmpColorTable),
    FIELD("Output", "DDS BPP", output.ddsBpp),
    FIELD("Output", "EXR BPP", output.exrBpp),
    FIELD("Output", "EXR Compression", output.exrCompression),
    FIELD("Output", "GIF BPP", output.gifBpp),
    FIELD("Output", "HDR BPP", output.hdrBpp),
    FIELD("Output", "ICO BPP", output.icoBpp),
    FIELD("Output", "J2K BPP", output.j2kBpp),
    FIELD("Output", "JNG BPP", output.jngBpp),
    FIELD("Output", "JP2 BPP", output.jp2Bpp),
    FIELD("Output", "JPG BPP", output.jpgBpp),
    FIELD("Output", "JPG Quality", output.jpgQuality),
    FIELD("Output", "JPG Chroma", output.jpgChroma),
    FIELD("Output", "JPG Save As", output.jpgSaveAs),
    FIELD("Output", "JXR BPP", output.jxrBpp),
    FIELD("Output", "PBM BPP", output.pbmBpp),
    FIELD("Output", "PCX BPP", output.pcxBpp),
    FIELD("Output", "PFM BPP", output.pfmBpp),
    FIELD("Output", "PGM BPP", output.pgmBpp),
    FIELD("Output", "PNG BPP", output.pngBpp),
    FIELD("Output", "PNG Compression", output.pngCompression),
    FIELD("Output", "PNG Interlaced", output.pngInterlaced),
    FIELD("Output", "PPM BPP", output.ppmBpp),
    FIELD("Output", "PSD BPP", output.psdBpp),
    FIELD("Output", "TGA BPP", output.tgaBpp),
    FIELD("Output", "TGA Compression", output.tgaCompression),
    FIELD("Output", "TIFF BPP", output.tiffBpp),
    FIELD("Output", "TIFF Compression", output.tiffCompression),
    FIELD("Output", "TIFF Color Model", output.tiffColorModel),
    FIELD("Output", "WBMP BPP", output.wbmpBpp),
    FIELD("Output", "WEBP BPP", output.webpBpp),
    FIELD("Output", "XPM BPP", output.xpmBpp),

    FIELD("Transform", "Do Image Rotation", transform.doImageRotation),
    FIELD("Transform", "Image Rotation Type", transform.imageRotationType),
    FIELD("Transform", "Image Rotation", transform.imageRotation),
    FIELD("Transform", "Image Rotation Back Color", transform.imageRotationBackColor),
    FIELD("Transform", "Do Image Resize", transform.doImageResize),
    FIELD("Transform", "Image Width", transform.imageWidth),
    FIELD("Transform", "Image Width Unit", transform.imageWidthUnit),
    FIELD("Transform", "Image Height", transform.imageHeight),
    FIELD("Transform", "Image Height Unit", transform.imageHeightUnit),
    FIELD("Transform", "Keep Aspect Ratio", transform.keepAspectRatio),
    FIELD("Transform", "Image Resize Type", transform.imageResizeType),
    FIELD("Transform", "Image Resize Algorithm", transform.imageResizeAlgorithm),
    FIELD("Transform", "Do Image Flip Horizontal", transform.doImageFlipHorizontal),
    FIELD("Transform", "Do Image Flip Vertical", transform.doImageFlipVertical),

    FIELD("Adjustment", "Do Image Color Correction", adjustment.doImageColorCorrection),
    FIELD("Adjustment", "Image Brightness", adjustment.imageBrightness),
    FIELD("Adjustment", "Image Contrast", adjustment.imageContrast),
    FIELD("Adjustment", "Image Gamma", adjustment.imageGamma),
    FIELD("Adjustment", "Image Invert", adjustment.imageInvert),
    FIELD("Adjustment", "Do Image Greyscale", adjustment.doImageGreyscale),
    FIELD("Adjustment", "Do Image Threshold", adjustment.doImageThreshold),
    FIELD("Adjustment", "Image Threshold", adjustment.imageThreshold),

    FIELD("Frame", "Do Frame", frame.doFrame),
    FIELD("Frame", "Solid Left", frame.solidLeft),
    FIELD("Frame", "Solid Right", frame.solidRight),
    FIELD("Frame", "Solid Top", frame.solidTop),
    FIELD("Frame", "Solid Bottom", frame.solidBottom),
    FIELD("Frame", "Solid Left Color", frame.solidLeftColor),
    FIELD("Frame", "Solid Right Color", frame.solidRightColor),
    FIELD("Frame", "Solid Top Color", frame.solidTopColor),
    FIELD("Frame", "Solid Bottom Color", frame.solidBottomColor),
    FIELD("Frame", "Solid Opacity", frame.solidOpacity),

    FIELD("Watermark", "Do Watermark", watermark.doWatermark),
    FIELD("Watermark", "Text", watermark.text),
    FIELD("Watermark", "Fonts", watermark.fonts),
    FIELD("Watermark", "Font", watermark.font),
    FIELD("Watermark", "Font Size", watermark.fontSize),
    FIELD("Watermark", "Font Leading", watermark.fontLeading),
    FIELD("Watermark", "Font Colors", watermark.fontColors),
    FIELD("Watermark", "Font Color", watermark.fontColor),
    FIELD("Watermark", "Font Style", watermark.fontStyle),
    FIELD("Watermark", "Font Effect", watermark.fontEffect),
    FIELD("Watermark", "Text Antialiasing", watermark.textAntialiasing),
    FIELD("Watermark", "Text Alignment", watermark.textAlignment),
    FIELD("Watermark", "Text Padding", watermark.textPadding),
    FIELD("Watermark", "Text Opacity", watermark.textOpacity),
    FIELD("Watermark", "Back Colors", watermark.backColors),
    FIELD("Watermark", "Back Color", watermark.backColor),
    FIELD("Watermark", "Back Opacity", watermark.backOpacity),
    FIELD("Watermark", "Text Boundary", watermark.textBoundary),
    FIELD("Watermark", "Text Position", watermark.textPosition),
    FIELD("Watermark", "Text X Offset", watermark.textXOffset),
    FIELD("Watermark", "Text Y Offset", watermark.textYOffset),
    FIELD("Watermark", "Text Rotation", watermark.textRotation),
    FIELD("Watermark", "Text Size", watermark.textSize),
    FIELD("Watermark", "Text Scale", watermark.textScale),
    FIELD("Watermark", "Image", watermark.image),
    FIELD("Watermark", "Image Greyscale", watermark.imageGreyscale),
    FIELD("Watermark", "Image Opacity", watermark.imageOpacity),
    FIELD("Watermark", "Image Boundary", watermark.imageBoundary),
    FIELD("Watermark", "Image Position", watermark.imagePosition),
    FIELD("Watermark", "Image X Offset", watermark.imageXOffset),
    FIELD("Watermark", "Image Y Offset", watermark.imageYOffset),
    FIELD("Watermark", "Image Rotation", watermark.imageRotation),
    FIELD("Watermark", "Image Size", watermark.imageSize),
    FIELD("Watermark", "Image Scale", watermark.imageScale),

    FIELD("Advanced", "Filename Mask", advanced.filenameMask),
    FIELD("Advanced", "File Timestamp", advanced.fileTimestamp),
    FIELD("Advanced", "Custom Timestamp", advanced.customTimestamp),
    FIELD("Advanced", "Out Folders History", advanced.outFoldersHistory),
    FIELD("Advanced", "Out Folders Number", advanced.outFoldersNumber),
    FIELD("Advanced", "Keep Subfolders", advanced.keepSubfolders),

    FIELD("File", "Recent Out Folders", file.recentOutFolders),
    FIELD("File", "Recent Files", file.recentFiles),

    FIELD("Privacy", "Clean Recent Files", privacy.cleanRecentFiles),
});

#undef FIELD

}  // namespace

std::span<const SettingField> settingFields() { return kFields; }

const SettingField* findSettingField(const QString& group, const QString& key) {
  for (const SettingField& field : kFields) {
    if (equalsIgnoringAsciiCase(group, QString::fromLatin1(field.group)) &&
        equalsIgnoringAsciiCase(key, QString::fromLatin1(field.key)))
      return &field;
  }
  return nullptr;
}

int32_t* outputBppField(Settings& settings, const QString& extension) {
  const SettingField* field =
      findSettingField(QStringLiteral("Output"), extension.toUpper() + QStringLiteral(" BPP"));
  if (field == nullptr) return nullptr;
  return std::get<int32_t*>(field->get(settings));
}

int32_t outputBpp(const Settings& settings, const QString& extension) {
  const int32_t* field = outputBppField(const_cast<Settings&>(settings), extension);
  return field == nullptr ? 0 : *field;
}
