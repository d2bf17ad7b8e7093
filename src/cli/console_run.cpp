#include "cli/console_run.h"

#include "cli/keywords.h"
#include "convert/format_tables.h"
#include "convert/layers.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "settings/fields.h"
#include "settings/format_lists.h"

#include <QGuiApplication>

#include <memory>

namespace {

QString number(int64_t value) { return QString::number(value); }

// Qt's own notices (about the runtime folder, the platform plugin, fonts) would mix with the
// console's lines; only its critical messages reach standard error.
void criticalQtMessagesOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) platform::printErrorLine(message);
}

// A GUI application on the "offscreen" platform, created only when a text watermark needs
// fonts, so that the console never needs a display and a plain conversion starts no GUI at all.
class FontSupport {
 public:
  void ensure() {
    if (QGuiApplication::instance() != nullptr) return;
    static int argc = 3;
    static char name[] = "quillet";
    static char platformOption[] = "-platform";
    static char platformName[] = "offscreen";
    static char* argv[] = {name, platformOption, platformName, nullptr};
    qInstallMessageHandler(criticalQtMessagesOnly);
    app_ = std::make_unique<QGuiApplication>(argc, argv);
  }

 private:
  std::unique_ptr<QGuiApplication> app_;
};

class RunPrinter {
 public:
  RunPrinter(bool quiet, bool debug) : quiet_(quiet), debug_(debug) {}
  bool debug() const { return debug_; }
  void status(const QString& line) const {
    if (!quiet_) platform::printLine(line);
  }
  void debugLine(const QString& line) const {
    if (debug_) platform::printLine(line);
  }

 private:
  bool quiet_;
  bool debug_;
};

// Checks the output folder and makes it absolute, with a trailing separator.
ConsoleCheck normaliseOutputFolder(ConversionJob& job, const RunPrinter& out) {
  QString folder = job.outputFolder;
  if (folder.isEmpty()) folder = platform::folderOf(job.inputPath);
  out.debugLine(QStringLiteral("Output: ") + folder);
  if (folder.startsWith(QLatin1String(".."))) return ConsoleCheck::IncorrectOutputFolder;
  // Relative folders, and the empty folder of a bare input name, are taken from the current
  // directory: the program's own folder is an installation folder.
  if (!platform::isAbsolutePath(folder)) {
    if (folder.startsWith(QLatin1String("./"))) folder.remove(0, 2);
    folder = platform::currentFolder() + folder;
  }
  folder = platform::withTrailingSeparator(folder);
  job.outputFolder = folder;
  if (!platform::isFolder(folder)) return ConsoleCheck::InvalidOutputFolder;
  return ConsoleCheck::Passed;
}

ConsoleCheck checkOutputFormat(const Settings& settings, ConversionJob& job, const RunPrinter& out) {
  if (job.outputExtension.isEmpty()) job.outputExtension = outputFormatList().value(0);
  const QString& type = job.outputExtension;
  out.debugLine(QStringLiteral("Conversion: ") + type);
  if (!isOutputFormat(type)) return ConsoleCheck::InvalidConversionType;
  const int32_t bpp = outputBpp(settings, type);
  out.debugLine(type.toUpper() + QStringLiteral(" BPP: ") + number(bpp));
  for (const QString& line : formatDebugLines(type, settings)) out.debugLine(line);
  if (!isAllowedBitDepth(type, bpp)) return ConsoleCheck::InvalidBitDepth;
  if (type == QLatin1String("jpg") && (settings.output.jpgQuality < 1 || settings.output.jpgQuality > 100))
    return ConsoleCheck::InvalidJpgQuality;
  return ConsoleCheck::Passed;
}

ConsoleCheck checkTransforms(const Settings& settings, const RunPrinter& out) {
  const Settings::Transform& t = settings.transform;
  if (t.doImageRotation != 0) {
    out.debugLine(QStringLiteral("Image Rotation Type: ") + valueToKeyword(9, t.imageRotationType));
    out.debugLine(QStringLiteral("Image Rotation: ") + number(t.imageRotation));
    out.debugLine(QStringLiteral("Image Rotation Back Color: ") + t.imageRotationBackColor);
  }
  if (t.doImageResize != 0) {
    out.debugLine(QStringLiteral("Width: ") + number(t.imageWidth) + QLatin1Char(' ') +
                  valueToKeyword(10, t.imageWidthUnit));
    if (t.imageWidth == 0) return ConsoleCheck::InvalidWidth;
    out.debugLine(QStringLiteral("Height: ") + number(t.imageHeight) + QLatin1Char(' ') +
                  valueToKeyword(10, t.imageHeightUnit));
    if (t.imageHeight == 0) return ConsoleCheck::InvalidHeight;
    out.debugLine(QStringLiteral("Keep Aspect Ratio: ") + number(t.keepAspectRatio));
    out.debugLine(QStringLiteral("Image Resize Type: ") + valueToKeyword(11, t.imageResizeType));
    out.debugLine(QStringLiteral("Image Resize Algorithm: ") + valueToKeyword(12, t.imageResizeAlgorithm));
  }
  out.debugLine(QStringLiteral("Flip Horizontal: ") + number(t.doImageFlipHorizontal));
  out.debugLine(QStringLiteral("Flip Vertical: ") + number(t.doImageFlipVertical));
  return ConsoleCheck::Passed;
}

ConsoleCheck checkAdjustments(const Settings& settings, const RunPrinter& out) {
  const Settings::Adjustment& a = settings.adjustment;
  if (a.doImageColorCorrection != 0) {
    out.debugLine(QStringLiteral("Brightness: ") + number(a.imageBrightness));
    if (a.imageBrightness < -100 || a.imageBrightness > 100) return ConsoleCheck::InvalidBrightness;
    out.debugLine(QStringLiteral("Contrast: ") + number(a.imageContrast));
    if (a.imageContrast < -100 || a.imageContrast > 100) return ConsoleCheck::InvalidContrast;
    out.debugLine(QStringLiteral("Gamma: ") + QString::number(static_cast<double>(a.imageGamma), 'f', 2));
    // Written so that a gamma that is not a number fails too.
    if (!(a.imageGamma >= 0.01f && a.imageGamma <= 9.99f)) return ConsoleCheck::InvalidGamma;
    out.debugLine(QStringLiteral("Invert: ") + number(a.imageInvert));
  }
  out.debugLine(QStringLiteral("Greyscale: ") + number(a.doImageGreyscale));
  if (a.doImageThreshold != 0) out.debugLine(QStringLiteral("Image Threshold: ") + number(a.imageThreshold));
  return ConsoleCheck::Passed;
}

void describeFrame(const Settings& settings, const RunPrinter& out) {
  const Settings::Frame& f = settings.frame;
  out.debugLine(QStringLiteral("Frame: ") + valueToKeyword(kFrameTypeList, f.doFrame));
  if (f.doFrame != 1) return;
  out.debugLine(QStringLiteral("Frame left: ") + number(f.solidLeft));
  out.debugLine(QStringLiteral("Frame right: ") + number(f.solidRight));
  out.debugLine(QStringLiteral("Frame top: ") + number(f.solidTop));
  out.debugLine(QStringLiteral("Frame bottom: ") + number(f.solidBottom));
  out.debugLine(QStringLiteral("Frame left color: ") + f.solidLeftColor);
  out.debugLine(QStringLiteral("Frame right color: ") + f.solidRightColor);
  out.debugLine(QStringLiteral("Frame top color: ") + f.solidTopColor);
  out.debugLine(QStringLiteral("Frame bottom color: ") + f.solidBottomColor);
  out.debugLine(QStringLiteral("Frame opacity: ") + number(f.solidOpacity));
}

void describePlacement(int8_t boundary, int8_t position, int32_t x, int32_t y, int32_t rotation, int8_t size,
                       const RunPrinter& out) {
  out.debugLine(QStringLiteral("Watermark boundary: ") + valueToKeyword(18, boundary));
  out.debugLine(QStringLiteral("Watermark position: ") + valueToKeyword(19, position));
  out.debugLine(QStringLiteral("Watermark offset (x/y): ") + number(x) + QLatin1Char('/') + number(y));
  out.debugLine(QStringLiteral("Watermark rotation: ") + number(rotation));
  out.debugLine(QStringLiteral("Watermark size/mode: ") + valueToKeyword(20, size));
}

ConsoleCheck checkWatermark(const Settings& settings, ConversionJob& job, FontSupport& fonts,
                            const RunPrinter& out) {
  const Settings::Watermark& w = settings.watermark;
  out.debugLine(QStringLiteral("Watermark: ") + valueToKeyword(kWatermarkTypeList, w.doWatermark));
  if (w.doWatermark == 1) {
    out.debugLine(QStringLiteral("Watermark text: ") + w.text);
    out.debugLine(QStringLiteral("Watermark font: ") + w.font);
    out.debugLine(QStringLiteral("Watermark font size: ") + number(w.fontSize));
    out.debugLine(QStringLiteral("Watermark font leading: ") + number(w.fontLeading));
    out.debugLine(QStringLiteral("Watermark font color: ") + w.fontColor);
    out.debugLine(QStringLiteral("Watermark font style: ") + valueToKeyword(15, w.fontStyle));
    out.debugLine(QStringLiteral("Watermark font effect: ") + valueToKeyword(16, w.fontEffect));
    out.debugLine(QStringLiteral("Watermark text antialiasing: ") + number(w.textAntialiasing));
    out.debugLine(QStringLiteral("Watermark text alignment: ") + valueToKeyword(17, w.textAlignment));
    out.debugLine(QStringLiteral("Watermark text padding: ") + number(w.textPadding));
    out.debugLine(QStringLiteral("Watermark text opacity: ") + number(w.textOpacity));
    out.debugLine(QStringLiteral("Watermark background color: ") + w.backColor);
    out.debugLine(QStringLiteral("Watermark background opacity: ") + number(w.backOpacity));
    describePlacement(w.textBoundary, w.textPosition, w.textXOffset, w.textYOffset, w.textRotation,
                      w.textSize, out);
    fonts.ensure();
    job.watermarkFont = loadWatermarkFont(settings);
    if (!job.watermarkFont) return ConsoleCheck::InvalidWatermarkFont;
  } else if (w.doWatermark == 2) {
    out.debugLine(QStringLiteral("Watermark image: ") + w.image);
    out.debugLine(QStringLiteral("Watermark greyscale: ") + number(w.imageGreyscale));
    out.debugLine(QStringLiteral("Watermark opacity: ") + number(w.imageOpacity));
    describePlacement(w.imageBoundary, w.imagePosition, w.imageXOffset, w.imageYOffset, w.imageRotation,
                      w.imageSize, out);
    if (platform::fileSize(w.image) <= 0) return ConsoleCheck::InvalidWatermarkImage;
  }
  return ConsoleCheck::Passed;
}

void describeNaming(const Settings& settings, const RunPrinter& out) {
  const Settings::Advanced& a = settings.advanced;
  out.debugLine(QStringLiteral("Filename Mask: ") + a.filenameMask);
  out.debugLine(QStringLiteral("File Timestamp: ") + valueToKeyword(21, a.fileTimestamp));
  if (a.fileTimestamp == 2) out.debugLine(QStringLiteral("Custom Timestamp: ") + number(a.customTimestamp));
  out.debugLine(QStringLiteral("Keep Subfolders: ") + number(a.keepSubfolders));
}

// Every check of the run in its order, printing the debug lines on the way.
ConsoleCheck checkRun(ConsoleRecords& r, FontSupport& fonts, const RunPrinter& out) {
  const QString& input = r.state.inputPath;
  if (pathExtension(input).isEmpty()) return ConsoleCheck::InvalidInputFile;
  r.job.inputPath = input;
  if (platform::fileSize(input) <= 0) return ConsoleCheck::InvalidInputFile;
  ConsoleCheck check = normaliseOutputFolder(r.job, out);
  if (check == ConsoleCheck::Passed) check = checkOutputFormat(r.settings, r.job, out);
  if (check == ConsoleCheck::Passed) check = checkTransforms(r.settings, out);
  if (check == ConsoleCheck::Passed) check = checkAdjustments(r.settings, out);
  if (check != ConsoleCheck::Passed) return check;
  describeFrame(r.settings, out);
  check = checkWatermark(r.settings, r.job, fonts, out);
  if (check != ConsoleCheck::Passed) return check;
  describeNaming(r.settings, out);
  return ConsoleCheck::Passed;
}

// One line on standard error saying why the file was not converted, and a warning for a
// JPEG that decoded with errors.
void reportFileProblems(const ConversionJob& job, bool converted, const StringTable& strings) {
  auto message = [&](const char* key, const QString& path) {
    return fillPlaceholders(strings.text(QStringLiteral("Msg"), QString::fromLatin1(key)), path, QString(),
                            QString(), QString());
  };
  if (job.lastDecodeWarning)
    platform::printErrorLine(QStringLiteral("Warning: The JPEG data is damaged or incomplete: ") +
                             job.inputPath);
  if (converted) return;
  switch (job.lastFailure) {
    case ConversionFailure::CannotOpen:
      platform::printErrorLine(message("Unable to open file", job.inputPath));
      break;
    case ConversionFailure::TooLarge:
      platform::printErrorLine(message("Unable to open file", job.inputPath) +
                               QStringLiteral(" The image has too many pixels."));
      break;
    case ConversionFailure::StepFailed:
      platform::printErrorLine(QStringLiteral("Unable to convert the file: ") + job.inputPath +
                               QLatin1Char('!'));
      break;
    case ConversionFailure::CannotSave:
      platform::printErrorLine(message("Unable to save file", job.outputPath));
      break;
    case ConversionFailure::None:
      break;
  }
}

}  // namespace

QString consoleCheckLine(ConsoleCheck check, const QString& extension) {
  switch (check) {
    case ConsoleCheck::Passed:
      return QString();
    case ConsoleCheck::InvalidInputFile:
      return QStringLiteral("Error: Invalid input file");
    case ConsoleCheck::IncorrectOutputFolder:
      return QStringLiteral("Error: Incorrect output folder");
    case ConsoleCheck::InvalidOutputFolder:
      return QStringLiteral("Error: Invalid output folder");
    case ConsoleCheck::InvalidConversionType:
      return QStringLiteral("Error: Invalid conversion type");
    case ConsoleCheck::InvalidBitDepth:
      return QStringLiteral("Error: Invalid ") + extension + QStringLiteral("-bpp value");
    case ConsoleCheck::InvalidJpgQuality:
      return QStringLiteral("Error: Invalid jpg-quality value");
    case ConsoleCheck::InvalidWidth:
      return QStringLiteral("Error: Invalid width value");
    case ConsoleCheck::InvalidHeight:
      return QStringLiteral("Error: Invalid height value");
    case ConsoleCheck::InvalidBrightness:
      return QStringLiteral("Error: Invalid brightness value");
    case ConsoleCheck::InvalidContrast:
      return QStringLiteral("Error: Invalid contrast value");
    case ConsoleCheck::InvalidGamma:
      return QStringLiteral("Error: Invalid gamma value");
    case ConsoleCheck::InvalidWatermarkFont:
      return QStringLiteral("Error: Invalid watermark font");
    case ConsoleCheck::InvalidWatermarkImage:
      return QStringLiteral("Error: Invalid watermark image");
  }
  return QString();
}

bool isOutputFormat(const QString& type) { return outputFormatList().contains(type, Qt::CaseSensitive); }

bool isAllowedBitDepth(const QString& extension, int32_t bitsPerPixel) {
  if (bitsPerPixel == 0) return true;
  const QString depths = outputFormat(extension).bitDepths;
  if (depths.isEmpty()) return false;
  for (const QString& depth : depths.split(QLatin1Char(','))) {
    if (depth.trimmed() == QString::number(bitsPerPixel)) return true;
  }
  return false;
}

QStringList formatDebugLines(const QString& extension, const Settings& settings) {
  const Settings::Output& o = settings.output;
  const QString format = extension.toLower();
  if (format == QLatin1String("bmp"))
    return {QStringLiteral("BMP Compression: ") + valueToKeyword(4, o.bmpCompression, format),
            QStringLiteral("BMP Color Table: ") + valueToKeyword(5, o.bmpColorTable)};
  if (format == QLatin1String("exr"))
    return {QStringLiteral("EXR Compression: ") + valueToKeyword(4, o.exrCompression, format)};
  if (format == QLatin1String("jpg"))
    return {QStringLiteral("JPG Quality: ") + number(o.jpgQuality),
            QStringLiteral("JPG Chroma Subsampling: ") + valueToKeyword(7, o.jpgChroma),
            QStringLiteral("JPG Save As: ") + valueToKeyword(8, o.jpgSaveAs)};
  if (format == QLatin1String("png"))
    return {QStringLiteral("PNG Compression: ") + valueToKeyword(4, o.pngCompression, format),
            QStringLiteral("PNG Interlaced: ") + number(o.pngInterlaced)};
  if (format == QLatin1String("tga"))
    return {QStringLiteral("TGA Compression: ") + valueToKeyword(4, o.tgaCompression, format)};
  if (format == QLatin1String("tiff"))
    return {QStringLiteral("TIFF Compression: ") + valueToKeyword(4, o.tiffCompression, format),
            QStringLiteral("TIFF Color Model: ") + valueToKeyword(6, o.tiffColorModel)};
  return {};
}

bool consoleRun(ConsoleRecords& r) {
  const RunPrinter out(r.state.quiet, r.job.consoleOutputMode == QLatin1String("DEBUG"));
  auto text = [&](const char* group, const char* key) {
    return r.strings.text(QString::fromLatin1(group), QString::fromLatin1(key));
  };
  FontSupport fonts;  // declared before the font it serves, so it outlives it

  out.status(text("General", "Preparing"));
  out.debugLine(QStringLiteral("Input: ") + r.state.inputPath);
  const ConsoleCheck check = checkRun(r, fonts, out);
  if (check != ConsoleCheck::Passed) {
    platform::printLine(consoleCheckLine(check, r.job.outputExtension));
    r.job.watermarkFont.reset();
    return false;
  }

  prepareConversionRun(r.settings, r.job);

  out.status(text("General", "Importing"));
  int imported = 0;
  const QString extension = pathExtension(r.job.inputPath).toLower();
  if (extension != QLatin1String("txt") && extension != QLatin1String("lst"))
    imported = addInputFile(r.job.inputPath, r.job, r.queue).queued ? 1 : 0;
  out.status(
      fillPlaceholders(text("Msg", "Import complete"), number(imported), QString(), QString(), QString()));
  if (imported == 0) {
    platform::printLine(text("Msg", "Conversion is not complete"));
    platform::printLine(text("Msg", "Empty input files"));
    r.job.watermarkFont.reset();
    return false;
  }

  out.status(text("General", "Converting"));
  int32_t converted = 0;
  {
    ConversionWorker worker(r.settings, r.job, r.queue);
    worker.start();
    worker.wait();
    converted = worker.convertedCount();
  }
  reportFileProblems(r.job, converted > 0, r.strings);

  if (converted > 0) {
    out.status(text("Msg", "Conversion complete"));
    out.status(fillPlaceholders(text("Msg", "Files converted"), number(converted), number(imported),
                                QString(), QString()));
  } else {
    platform::printLine(text("Msg", "Conversion is not complete"));
  }
  r.job.watermarkFont.reset();
  return converted > 0;
}
