#include "ui/preferences_pages.h"

namespace {

using K = RowKind;

// Item keys of the lists (group Preferences).
constexpr const char* kUpdateRanges[] = {"Every day",      "Every week",     "Every month",
                                         "Every 3 months", "Every 6 months", "Never"};
constexpr const char* kIconSizes[] = {"Small", "Medium", "Large"};
constexpr const char* kDdsLoadAs[] = {"Auto", "BGRA", "RGBA"};
constexpr const char* kFrameLoading[] = {"All Frames", "First Frame", "Middle Frame", "Last Frame",
                                         "Random Frame"};
constexpr const char* kRawLoadAs[] = {"Auto", "RGB8", "RGB16", "RGB24", "RGB48HS", "RGB48"};
constexpr const char* kToneMapping[] = {"None", "Linear", "Adaptive Logarithmic", "DR Reduction",
                                        "Gradient Domain"};
constexpr const char* kBytes[] = {"Bytes"};
constexpr const char* kPixels[] = {"Pixels"};
constexpr const char* kPoints[] = {"Points"};
constexpr const char* kPixelsOrPercent[] = {"Pixels", "Percent"};
constexpr const char* kNoneOrRle[] = {"None", "RLE"};
constexpr const char* kRle[] = {"RLE"};
constexpr const char* kColorTable[] = {"Auto", "Exact"};
constexpr const char* kExrCompression[] = {"None", "ZIP", "PIZ", "PXR24", "B44"};
constexpr const char* kJpgChroma[] = {"None", "Low", "Medium", "High"};
constexpr const char* kJpgSaveAs[] = {"Baseline Standard", "Baseline Simple", "Baseline Optimized",
                                      "Progressive"};
constexpr const char* kPngCompression[] = {"None", "ZLIB1", "ZLIB6", "ZLIB9"};
constexpr const char* kTiffCompression[] = {"None",         "CCITTFAX3", "CCITTFAX4", "PACKBITS", "DEFLATE",
                                            "ADOBEDEFLATE", "LZW",       "JPEG",      "LOGLUV"};
constexpr const char* kColorModel[] = {"RGB", "CMYK"};
constexpr const char* kRotationTypes[] = {"Simple Rotation", "Advanced Rotation"};
constexpr const char* kResizeTypes[] = {"All Images", "Large Images"};
constexpr const char* kResizeAlgorithms[] = {"Box",     "Bilinear",   "Bspline",
                                             "Bicubic", "Catmullrom", "Lanczos"};
constexpr const char* kFrameTypes[] = {"None", "Frame Solid"};
constexpr const char* kWatermarkTypes[] = {"None", "Watermark Text", "Watermark Image"};
constexpr const char* kFontStyles[] = {"Regular", "Bold", "Italic", "Bold Italic"};
constexpr const char* kFontEffects[] = {"None", "Underline", "Strikeout"};
constexpr const char* kAlignments[] = {"Align Left", "Align Center", "Align Right"};
constexpr const char* kBoundaries[] = {"Bound Image", "Bound Frame"};
constexpr const char* kPositions[] = {"Top-Left",    "Top-Center",    "Top-Right",
                                      "Middle-Left", "Middle-Center", "Middle-Right",
                                      "Bottom-Left", "Bottom-Center", "Bottom-Right"};
constexpr const char* kSizeModes[] = {"Fixed"};
constexpr const char* kTimestamps[] = {"Current", "Original", "Custom"};
constexpr const char* kFolderHistory[] = {"Clean On Exit", "Keep Folders"};

// Page 0, General.
constexpr RowDef kGeneralRows[] = {
    {.kind = K::Language, .label = "Language", .key = "Language"},
    {.kind = K::List, .label = "Check for Updates", .key = "Update Range", .items = kUpdateRanges},
    {.kind = K::Check, .label = "Save window position", .key = "Save Window Position"},
};

// Page 1, Interface.
constexpr RowDef kInterfaceRows[] = {
    {.kind = K::Theme, .label = "UI Theme", .key = "UI Theme"},
    {.kind = K::List, .label = "UI Size", .key = "UI Size", .items = kIconSizes},
};

// Page 2, Input, with a panel per input format that has options.
constexpr RowDef kInputRows[] = {
    {.kind = K::InputFormat, .label = "Input Format", .key = "Format"},
};
constexpr RowDef kDdsInputRows[] = {
    {.kind = K::List, .label = "Load As", .key = "DDS Load As", .items = kDdsLoadAs},
};
constexpr RowDef kGifInputRows[] = {
    {.kind = K::List, .label = "Frame Loading", .key = "GIF Frame Loading", .items = kFrameLoading},
};
constexpr RowDef kIcoInputRows[] = {
    {.kind = K::List, .label = "Frame Loading", .key = "ICO Frame Loading", .items = kFrameLoading},
};
constexpr RowDef kRawInputRows[] = {
    {.kind = K::List, .label = "Load As", .key = "RAW Load As", .items = kRawLoadAs},
    {.kind = K::Number, .label = "Header Size", .key = "RAW Header Size", .items = kBytes},
    {.kind = K::Number, .label = "Image Width", .key = "RAW Image Width", .items = kPixels},
    {.kind = K::Number, .label = "Image Height", .key = "RAW Image Height", .items = kPixels},
    {.kind = K::List, .label = "Tone Mapping", .key = "RAW Tone Mapping", .items = kToneMapping},
};
constexpr RowDef kTiffInputRows[] = {
    {.kind = K::List, .label = "Frame Loading", .key = "TIFF Frame Loading", .items = kFrameLoading},
};
constexpr PanelDef kInputPanels[] = {
    {"dds", 0, kDdsInputRows}, {"gif", 0, kGifInputRows},   {"ico", 0, kIcoInputRows},
    {"raw", 0, kRawInputRows}, {"tiff", 0, kTiffInputRows},
};

// Page 3, Output, with a panel per output format; each starts with its depth list, whose field
// is the format's "BPP" key.
constexpr RowDef kOutputRows[] = {
    {.kind = K::OutputFormat, .label = "Output Format", .key = "Format"},
};
#define DEPTH_ROW(ext) \
  { .kind = K::Depth, .label = "Bits Per Pixel", .key = ext " BPP" }
constexpr RowDef kBmpRows[] = {
    DEPTH_ROW("BMP"),
    {.kind = K::List, .label = "Compression", .key = "BMP Compression", .items = kNoneOrRle},
    {.kind = K::List, .label = "Color Table", .key = "BMP Color Table", .items = kColorTable},
};
constexpr RowDef kDdsRows[] = {DEPTH_ROW("DDS")};
constexpr RowDef kExrRows[] = {
    DEPTH_ROW("EXR"),
    {.kind = K::List, .label = "Compression", .key = "EXR Compression", .items = kExrCompression},
};
constexpr RowDef kGifRows[] = {DEPTH_ROW("GIF")};
constexpr RowDef kHdrRows[] = {DEPTH_ROW("HDR")};
constexpr RowDef kIcoRows[] = {DEPTH_ROW("ICO")};
constexpr RowDef kJ2kRows[] = {DEPTH_ROW("J2K")};
constexpr RowDef kJngRows[] = {DEPTH_ROW("JNG")};
constexpr RowDef kJp2Rows[] = {DEPTH_ROW("JP2")};
constexpr RowDef kJpgRows[] = {
    DEPTH_ROW("JPG"),
    {.kind = K::Pair, .label = "Image Quality", .key = "JPG Quality", .minimum = 1, .maximum = 100},
    {.kind = K::List, .label = "Chroma Subsampling", .key = "JPG Chroma", .items = kJpgChroma},
    {.kind = K::List, .label = "Save As", .key = "JPG Save As", .items = kJpgSaveAs},
};
constexpr RowDef kJxrRows[] = {DEPTH_ROW("JXR")};
constexpr RowDef kPbmRows[] = {DEPTH_ROW("PBM")};
constexpr RowDef kPcxRows[] = {
    DEPTH_ROW("PCX"),
    {.kind = K::List, .label = "Compression", .items = kRle},
};
constexpr RowDef kPfmRows[] = {DEPTH_ROW("PFM")};
constexpr RowDef kPgmRows[] = {DEPTH_ROW("PGM")};
constexpr RowDef kPngRows[] = {
    DEPTH_ROW("PNG"),
    {.kind = K::List, .label = "Compression", .key = "PNG Compression", .items = kPngCompression},
    {.kind = K::Check, .label = "Interlaced", .key = "PNG Interlaced"},
};
constexpr RowDef kPpmRows[] = {DEPTH_ROW("PPM")};
constexpr RowDef kPsdRows[] = {DEPTH_ROW("PSD")};
constexpr RowDef kTgaRows[] = {
    DEPTH_ROW("TGA"),
    {.kind = K::List, .label = "Compression", .key = "TGA Compression", .items = kNoneOrRle},
};
constexpr RowDef kTiffRows[] = {
    DEPTH_ROW("TIFF"),
    {.kind = K::List, .label = "Compression", .key = "TIFF Compression", .items = kTiffCompression},
    {.kind = K::List, .label = "Color Model", .key = "TIFF Color Model", .items = kColorModel},
};
constexpr RowDef kWbmpRows[] = {DEPTH_ROW("WBMP")};
constexpr RowDef kWebpRows[] = {DEPTH_ROW("WEBP")};
constexpr RowDef kXpmRows[] = {DEPTH_ROW("XPM")};
#undef DEPTH_ROW
constexpr PanelDef kOutputPanels[] = {
    {"bmp", 0, kBmpRows},   {"dds", 0, kDdsRows},   {"exr", 0, kExrRows}, {"gif", 0, kGifRows},
    {"hdr", 0, kHdrRows},   {"ico", 0, kIcoRows},   {"j2k", 0, kJ2kRows}, {"jng", 0, kJngRows},
    {"jp2", 0, kJp2Rows},   {"jpg", 0, kJpgRows},   {"jxr", 0, kJxrRows}, {"pbm", 0, kPbmRows},
    {"pcx", 0, kPcxRows},   {"pfm", 0, kPfmRows},   {"pgm", 0, kPgmRows}, {"png", 0, kPngRows},
    {"ppm", 0, kPpmRows},   {"psd", 0, kPsdRows},   {"tga", 0, kTgaRows}, {"tiff", 0, kTiffRows},
    {"wbmp", 0, kWbmpRows}, {"webp", 0, kWebpRows}, {"xpm", 0, kXpmRows},
};

// Page 4, Transform (scrolling).
constexpr RowDef kTransformRows[] = {
    {.kind = K::Check, .label = "Image Rotation", .key = "Do Image Rotation"},
    {.kind = K::List, .label = "Rotation Type", .key = "Image Rotation Type", .items = kRotationTypes},
    {.kind = K::Pair, .label = "Rotation Angle", .key = "Image Rotation", .minimum = 0, .maximum = 360},
    {.kind = K::Colour, .label = "Background Color", .key = "Image Rotation Back Color"},
    {.kind = K::Check, .label = "Image Resize", .key = "Do Image Resize"},
    {.kind = K::Number,
     .label = "Image Width",
     .key = "Image Width",
     .items = kPixelsOrPercent,
     .unitKey = "Image Width Unit"},
    {.kind = K::Number,
     .label = "Image Height",
     .key = "Image Height",
     .items = kPixelsOrPercent,
     .unitKey = "Image Height Unit"},
    {.kind = K::Check, .label = "Keep Aspect Ratio", .key = "Keep Aspect Ratio"},
    {.kind = K::List, .label = "Resize Type", .key = "Image Resize Type", .items = kResizeTypes},
    {.kind = K::List,
     .label = "Resize Algorithm",
     .key = "Image Resize Algorithm",
     .items = kResizeAlgorithms},
    {.kind = K::Check, .label = "Image Flip Horizontal", .key = "Do Image Flip Horizontal"},
    {.kind = K::Check, .label = "Image Flip Vertical", .key = "Do Image Flip Vertical"},
};

// Page 5, Adjustment.
constexpr RowDef kAdjustmentRows[] = {
    {.kind = K::Pair,
     .label = "Image Brightness",
     .key = "Image Brightness",
     .minimum = -100,
     .maximum = 100,
     .offset = 100},
    {.kind = K::Pair,
     .label = "Image Contrast",
     .key = "Image Contrast",
     .minimum = -100,
     .maximum = 100,
     .offset = 100},
    {.kind = K::Gamma, .label = "Image Gamma", .key = "Image Gamma", .minimum = 1, .maximum = 999},
    {.kind = K::Check, .label = "Image Invert", .key = "Image Invert"},
    {.kind = K::Check, .label = "Image Greyscale", .key = "Do Image Greyscale"},
    {.kind = K::Check, .label = "Image Threshold", .key = "Do Image Threshold"},
    {.kind = K::Pair, .label = "Threshold Level", .key = "Image Threshold", .minimum = 0, .maximum = 255},
};

// Page 6, Frame: the frame type, then the scrolling panel of the solid frame.
constexpr RowDef kFrameRows[] = {
    {.kind = K::List, .label = "Frame Type", .key = "Do Frame", .items = kFrameTypes},
};
constexpr RowDef kSolidFrameRows[] = {
    {.kind = K::Number, .label = "Left", .key = "Solid Left", .items = kPixels},
    {.kind = K::Number, .label = "Right", .key = "Solid Right", .items = kPixels},
    {.kind = K::Number, .label = "Top", .key = "Solid Top", .items = kPixels},
    {.kind = K::Number, .label = "Bottom", .key = "Solid Bottom", .items = kPixels},
    {.kind = K::Colour, .label = "Left Color", .key = "Solid Left Color"},
    {.kind = K::Colour, .label = "Right Color", .key = "Solid Right Color"},
    {.kind = K::Colour, .label = "Top Color", .key = "Solid Top Color"},
    {.kind = K::Colour, .label = "Bottom Color", .key = "Solid Bottom Color"},
    {.kind = K::Pair, .label = "Opacity", .key = "Solid Opacity", .minimum = 1, .maximum = 255},
};
constexpr PanelDef kFramePanels[] = {{"solid", 310, kSolidFrameRows}};

// Page 7, Watermark: the watermark type, then the scrolling text and image panels.
constexpr RowDef kWatermarkRows[] = {
    {.kind = K::List, .label = "Watermark Type", .key = "Do Watermark", .items = kWatermarkTypes},
};
constexpr RowDef kTextWatermarkRows[] = {
    {.kind = K::Text, .label = "Text", .key = "Text"},
    {.kind = K::FontList, .label = "Font", .key = "Font"},
    {.kind = K::Number, .label = "Font Size", .key = "Font Size", .items = kPoints},
    {.kind = K::Number, .label = "Font Leading", .key = "Font Leading", .items = kPixels},
    {.kind = K::ColourList, .label = "Font Color", .key = "Font Color", .listKey = "Font Colors"},
    {.kind = K::List, .label = "Font Style", .key = "Font Style", .items = kFontStyles},
    {.kind = K::List, .label = "Font Effect", .key = "Font Effect", .items = kFontEffects},
    {.kind = K::Check, .label = "Antialiasing", .key = "Text Antialiasing"},
    {.kind = K::List, .label = "Text Alignment", .key = "Text Alignment", .items = kAlignments},
    {.kind = K::Number, .label = "Text Padding", .key = "Text Padding", .items = kPixels},
    {.kind = K::Pair, .label = "Text Opacity", .key = "Text Opacity", .minimum = 1, .maximum = 255},
    {.kind = K::ColourList, .label = "Background Color", .key = "Back Color", .listKey = "Back Colors"},
    {.kind = K::Pair, .label = "Background Opacity", .key = "Back Opacity", .minimum = 1, .maximum = 255},
    {.kind = K::List, .label = "Boundary", .key = "Text Boundary", .items = kBoundaries},
    {.kind = K::List, .label = "Position", .key = "Text Position", .items = kPositions},
    {.kind = K::Number, .label = "X-Offset", .key = "Text X Offset", .items = kPixels},
    {.kind = K::Number, .label = "Y-Offset", .key = "Text Y Offset", .items = kPixels},
    {.kind = K::Pair, .label = "Rotation Angle", .key = "Text Rotation", .minimum = 0, .maximum = 360},
    {.kind = K::List, .label = "Size", .key = "Text Size", .items = kSizeModes},
    {.kind = K::Pair, .label = "Scale", .key = "Text Scale", .minimum = 1, .maximum = 200},
};
constexpr RowDef kImageWatermarkRows[] = {
    {.kind = K::ImagePath, .label = "Image", .key = "Image"},
    {.kind = K::Check, .label = "Image Greyscale", .key = "Image Greyscale"},
    {.kind = K::Pair, .label = "Opacity", .key = "Image Opacity", .minimum = 1, .maximum = 255},
    {.kind = K::List, .label = "Boundary", .key = "Image Boundary", .items = kBoundaries},
    {.kind = K::List, .label = "Position", .key = "Image Position", .items = kPositions},
    {.kind = K::Number, .label = "X-Offset", .key = "Image X Offset", .items = kPixels},
    {.kind = K::Number, .label = "Y-Offset", .key = "Image Y Offset", .items = kPixels},
    {.kind = K::Pair, .label = "Rotation Angle", .key = "Image Rotation", .minimum = 0, .maximum = 360},
    {.kind = K::List, .label = "Size", .key = "Image Size", .items = kSizeModes},
    {.kind = K::Pair, .label = "Scale", .key = "Image Scale", .minimum = 1, .maximum = 200},
};
constexpr PanelDef kWatermarkPanels[] = {
    {"text", 610, kTextWatermarkRows},
    {"image", 310, kImageWatermarkRows},
};

// Page 8, Advanced.
constexpr RowDef kAdvancedRows[] = {
    {.kind = K::Text, .label = "Filename Mask", .key = "Filename Mask"},
    {.kind = K::List, .label = "File Timestamp", .key = "File Timestamp", .items = kTimestamps},
    {.kind = K::Date, .label = "Custom Timestamp", .key = "Custom Timestamp"},
    {.kind = K::List, .label = "Out Folders History", .key = "Out Folders History", .items = kFolderHistory},
    {.kind = K::Pair,
     .label = "Out Folders Number",
     .key = "Out Folders Number",
     .minimum = 1,
     .maximum = 50},
    {.kind = K::Check, .label = "Keep Subfolders", .key = "Keep Subfolders"},
};

constexpr PageDef kPages[] = {
    {"General", "General", 0, kGeneralRows, {}},
    {"Interface", "Interface", 0, kInterfaceRows, {}},
    {"Input", "Input", 0, kInputRows, kInputPanels},
    {"Output", "Output", 0, kOutputRows, kOutputPanels},
    {"Transform", "Transform", 375, kTransformRows, {}},
    {"Adjustment", "Adjustment", 0, kAdjustmentRows, {}},
    {"Frame", "Frame", 0, kFrameRows, kFramePanels},
    {"Watermark", "Watermark", 0, kWatermarkRows, kWatermarkPanels},
    {"Advanced", "Advanced", 0, kAdvancedRows, {}},
};
static_assert(std::size(kPages) == kPageCount);

}  // namespace

std::span<const PageDef> preferencesPages() { return kPages; }
