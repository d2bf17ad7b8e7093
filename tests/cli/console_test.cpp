// End-to-end runs of the built executable: standard output, standard error and exit status.
#include "app/startup.h"
#include "platform/instance_lock.h"

#include <FreeImage.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

// Readable failure messages.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

const QString kExecutable = QStringLiteral(QUILLET_EXECUTABLE);
const QString kSample = QStringLiteral(QUILLET_SAMPLES_DIR "/cheetah_1024x768.jpg");
const QString kLogo = QStringLiteral(QUILLET_SAMPLES_DIR "/logo_rgba_256.png");

struct Result {
  QString out;
  QString err;
  int status = -1;
};

enum class Input { Null, OneByte };

QString lines(const QStringList& list) {
  return list.isEmpty() ? QString() : list.join(QLatin1Char('\n')) + '\n';
}

const QStringList kBanner = {"Lumavane JPG to HDR 2.2", "Copyright (c) Lumavane Software",
                             "http://www.lumavane.example/quillet/", " "};

class Console : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    for (const char* sub : {"run", "config", "in", "out"}) ASSERT_TRUE(QDir(dir_.path()).mkpath(sub));
    // A runtime folder is private to its user; Qt warns about any other.
    QFile::setPermissions(path("run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    input_ = path("in/cheetah_1024x768.jpg");
    ASSERT_TRUE(QFile::copy(kSample, input_));
    out_ = path("out");
  }

  QString path(const QString& relative) const { return dir_.filePath(relative); }

  void writeFile(const QString& relative, const QByteArray& bytes) const {
    QFile file(path(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  // Runs the program with a private runtime folder (its instance lock) and configuration folder.
  Result run(const QStringList& arguments, Input input = Input::Null, const QString& program = kExecutable,
             const QString& workingFolder = QString()) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path("run"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path("config"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingFolder.isEmpty() ? dir_.path() : workingFolder);
    if (input == Input::Null) process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted()) return {};
    // One byte and the pipe left open: a pause that waited for the end of input would hang.
    if (input == Input::OneByte) process.write("x");
    if (!process.waitForFinished(120000)) {
      process.kill();
      process.waitForFinished();
      return {QStringLiteral("<did not finish>"), {}, -1};
    }
    return {QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError()),
            process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1};
  }

  QTemporaryDir dir_;
  QString input_;
  QString out_;
};

struct Loaded {
  FIBITMAP* bitmap;
  explicit Loaded(const QString& file, FREE_IMAGE_FORMAT format, int flags)
      : bitmap(FreeImage_Load(format, QFile::encodeName(file).constData(), flags)) {}
  ~Loaded() {
    if (bitmap != nullptr) FreeImage_Unload(bitmap);
  }
};

// The largest difference between the converted pixels and the sample's decoded pixels / 255 in a
// region (rows counted from the top), beyond what the RGBE encoding may lose: it keeps 8 bits of
// mantissa for the largest channel of a pixel.
double worstError(const Loaded& hdr, unsigned left, unsigned top, unsigned right, unsigned bottom) {
  const Loaded jpeg(kSample, FIF_JPEG, JPEG_ACCURATE | JPEG_EXIFROTATE);
  if (jpeg.bitmap == nullptr || FreeImage_GetBPP(jpeg.bitmap) != 24) return 1e9;
  const unsigned height = FreeImage_GetHeight(hdr.bitmap);
  double worst = 0;
  for (unsigned row = top; row < bottom; ++row) {
    const int line = static_cast<int>(height - 1 - row);  // FreeImage stores the bottom row first
    const auto* h = reinterpret_cast<const FIRGBF*>(FreeImage_GetScanLine(hdr.bitmap, line));
    const BYTE* j = FreeImage_GetScanLine(jpeg.bitmap, line) + 3 * left;
    for (unsigned x = left; x < right; ++x, j += 3) {
      const double expected[3] = {j[FI_RGBA_RED] / 255.0, j[FI_RGBA_GREEN] / 255.0, j[FI_RGBA_BLUE] / 255.0};
      const double got[3] = {h[x].red, h[x].green, h[x].blue};
      const double largest = std::max({expected[0], expected[1], expected[2]});
      for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(got[c] - expected[c]) - largest / 128.0);
    }
  }
  return worst;
}

TEST_F(Console, ConvertsTheSampleToFloatPixelsOfTheSource) {
  const Result result = run({"-i", input_, "-o", out_});
  EXPECT_EQ(result.out,
            lines(kBanner + QStringList{"Preparing...", "Importing...", "Import complete, new files added: 1",
                                        "Converting...", "Conversion complete", "Files converted: 1 of 1"}));
  EXPECT_EQ(result.err, QString());
  EXPECT_EQ(result.status, 0);

  const Loaded hdr(out_ + "/cheetah_1024x768.hdr", FIF_HDR, 0);
  ASSERT_NE(hdr.bitmap, nullptr);
  ASSERT_EQ(FreeImage_GetImageType(hdr.bitmap), FIT_RGBF);
  ASSERT_EQ(FreeImage_GetWidth(hdr.bitmap), 1024u);
  ASSERT_EQ(FreeImage_GetHeight(hdr.bitmap), 768u);
  EXPECT_LE(worstError(hdr, 0, 0, 1024, 768), 1e-6);
}

TEST_F(Console, QuietRunPrintsNothing) {
  const Result result = run({"-q", "--input=" + input_, "--output=" + out_});
  EXPECT_EQ(result.out, QString());
  EXPECT_EQ(result.err, QString());
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(QFile::exists(out_ + "/cheetah_1024x768.hdr"));
}

TEST_F(Console, DebugRunPrintsEverySettingInOrder) {
  const Result result = run({"-d", "-i", input_, "-o", out_});
  EXPECT_EQ(result.out, lines(kBanner + QStringList{"Preparing...",
                                                    "Input: " + input_,
                                                    "Output: " + out_,
                                                    "Conversion: hdr",
                                                    "HDR BPP: 0",
                                                    "Flip Horizontal: 0",
                                                    "Flip Vertical: 0",
                                                    "Greyscale: 0",
                                                    "Frame: none",
                                                    "Watermark: none",
                                                    "Filename Mask: %filename%.%ext%",
                                                    "File Timestamp: current",
                                                    "Keep Subfolders: 1",
                                                    "Importing...",
                                                    "Import complete, new files added: 1",
                                                    "Converting...",
                                                    "Processing: " + input_,
                                                    "Saving As: " + out_ + "/cheetah_1024x768.hdr",
                                                    "OK",
                                                    "Conversion complete",
                                                    "Files converted: 1 of 1"}));
  EXPECT_EQ(result.status, 0);
}

TEST_F(Console, QuietDebugRunWithEveryStepOn) {
  const Result result = run({"-q",
                             "-d",
                             "-i",
                             input_,
                             "-o",
                             out_,
                             "--hdr-bpp=96",
                             "--rotation=90",
                             "--rotation-type=advanced",
                             "--rotation-back-color=FF0000",
                             "--width=50",
                             "--width-unit=percent",
                             "--height=$32",
                             "--height-unit=percent",
                             "--keep-aspect-ratio",
                             "--resize-type=largeimages",
                             "--resize-algorithm=lanczos",
                             "--flip-horizontal",
                             "--flip-vertical=0",
                             "--brightness=-5",
                             "--contrast=10",
                             "--gamma=2.2",
                             "--invert",
                             "--greyscale",
                             "--threshold=100",
                             "--fr-solid-left=2",
                             "--fr-solid-right=3",
                             "--fr-solid-top=4",
                             "--fr-solid-bottom=5",
                             "--fr-solid-left-color=112233",
                             "--fr-solid-opacity=128",
                             "--wm-image=" + kLogo,
                             "--wm-image-greyscale",
                             "--wm-image-opacity=200",
                             "--wm-image-boundary=frame",
                             "--wm-image-position=middlecenter",
                             "--wm-image-x-offset=-3",
                             "--wm-image-y-offset=4",
                             "--wm-image-rotation=45",
                             "--filename-mask=%filename%_x.%ext%",
                             "--file-timestamp=custom",
                             "--file-timestamp-custom=1700000000",
                             "--no-subfolders"});
  EXPECT_EQ(result.out, lines({"Input: " + input_,
                               "Output: " + out_,
                               "Conversion: hdr",
                               "HDR BPP: 96",
                               "Image Rotation Type: advanced",
                               "Image Rotation: 90",
                               "Image Rotation Back Color: FF0000",
                               "Width: 50 percent",
                               "Height: 50 percent",
                               "Keep Aspect Ratio: 1",
                               "Image Resize Type: largeimages",
                               "Image Resize Algorithm: lanczos",
                               "Flip Horizontal: 1",
                               "Flip Vertical: 1",
                               "Brightness: -5",
                               "Contrast: 10",
                               "Gamma: 2.20",
                               "Invert: 1",
                               "Greyscale: 1",
                               "Image Threshold: 100",
                               "Frame: solid",
                               "Frame left: 2",
                               "Frame right: 3",
                               "Frame top: 4",
                               "Frame bottom: 5",
                               "Frame left color: 112233",
                               "Frame right color: 000000",
                               "Frame top color: 000000",
                               "Frame bottom color: 000000",
                               "Frame opacity: 128",
                               "Watermark: image",
                               "Watermark image: " + kLogo,
                               "Watermark greyscale: 1",
                               "Watermark opacity: 200",
                               "Watermark boundary: frame",
                               "Watermark position: middlecenter",
                               "Watermark offset (x/y): -3/4",
                               "Watermark rotation: 45",
                               "Watermark size/mode: fixed",
                               "Filename Mask: %filename%_x.%ext%",
                               "File Timestamp: custom",
                               "Custom Timestamp: 1700000000",
                               "Keep Subfolders: 0",
                               "Processing: " + input_,
                               "Saving As: " + out_ + "/cheetah_1024x768_x.hdr",
                               "OK"}));
  EXPECT_EQ(result.status, 0);
}

TEST_F(Console, TextWatermarkLoadsItsFontWithoutADisplay) {
  const Result result =
      run({"-q", "-d", "-i", input_, "-o", out_, "--wm-text=\"Made", "here\"", "--wm-font=DejaVu Sans",
           "--wm-font-size=20", "--wm-font-style=bolditalic", "--wm-font-effect=underline",
           "--wm-text-antialiasing", "--wm-text-alignment=center", "--wm-text-position=topleft"});
  const QStringList expected = {"Input: " + input_,
                                "Output: " + out_,
                                "Conversion: hdr",
                                "HDR BPP: 0",
                                "Flip Horizontal: 0",
                                "Flip Vertical: 0",
                                "Greyscale: 0",
                                "Frame: none",
                                "Watermark: text",
                                "Watermark text: Made here",
                                "Watermark font: DejaVu Sans",
                                "Watermark font size: 20",
                                "Watermark font leading: 0",
                                "Watermark font color: FFFFFF",
                                "Watermark font style: bolditalic",
                                "Watermark font effect: underline",
                                "Watermark text antialiasing: 1",
                                "Watermark text alignment: center",
                                "Watermark text padding: 0",
                                "Watermark text opacity: 255",
                                "Watermark background color: 000000",
                                "Watermark background opacity: 1",
                                "Watermark boundary: image",
                                "Watermark position: topleft",
                                "Watermark offset (x/y): 10/10",
                                "Watermark rotation: 0",
                                "Watermark size/mode: fixed",
                                "Filename Mask: %filename%.%ext%",
                                "File Timestamp: current",
                                "Keep Subfolders: 1",
                                "Processing: " + input_,
                                "Saving As: " + out_ + "/cheetah_1024x768.hdr",
                                "OK"};
  EXPECT_EQ(result.out, lines(expected));
  EXPECT_EQ(result.err, QString());
  EXPECT_EQ(result.status, 0);

  // The text is drawn near the top left corner, and nowhere else.
  const Loaded hdr(out_ + "/cheetah_1024x768.hdr", FIF_HDR, 0);
  ASSERT_NE(hdr.bitmap, nullptr);
  EXPECT_GT(worstError(hdr, 0, 0, 300, 80), 0.1);
  EXPECT_LE(worstError(hdr, 0, 200, 1024, 768), 1e-6);
}

TEST_F(Console, EveryFailedCheckPrintsItsLine) {
  ASSERT_TRUE(QDir(dir_.path()).mkpath("in/pics"));
  ASSERT_TRUE(QDir(dir_.path()).mkpath("in/folder.jpg"));
  writeFile("in/empty.jpg", {});
  writeFile("in/photo", "x");
  writeFile("in/list.txt", "x");
  ASSERT_TRUE(QFile::copy(kLogo, path("in/logo.png")));
  struct Case {
    QStringList arguments;
    QStringList out;
    bool imports = false;  // the checks passed and the import ran
  };
  const QStringList notImported = {"Conversion stopped",
                                   "No input file(s) found. Please, add valid file(s) and try again!"};
  const QList<Case> cases = {
      {{"-i", path("in/photo")}, {"Error: Invalid input file"}},
      {{"-i", path("in/pics")}, {"Error: Invalid input file"}},
      {{"-i", path("in/missing.jpg")}, {"Error: Invalid input file"}},
      {{"-i", path("in/empty.jpg")}, {"Error: Invalid input file"}},
      {{"-i", path("in/folder.jpg")}, {"Error: Invalid input file"}},
      {{"-i", input_, "-o", "../out"}, {"Error: Incorrect output folder"}},
      {{"-i", input_, "-o", path("missing")}, {"Error: Invalid output folder"}},
      {{"-i", input_, "-o", out_, "-c", "HDR"}, {"Error: Invalid conversion type"}},
      {{"-i", input_, "-o", out_, "-c", "png"}, {"Error: Invalid conversion type"}},
      {{"-i", input_, "-o", out_, "--hdr-bpp=24"}, {"Error: Invalid hdr-bpp value"}},
      {{"-i", input_, "-o", out_, "--width=0", "--height=0"}, {"Error: Invalid width value"}},
      {{"-i", input_, "-o", out_, "--width=800"}, {"Error: Invalid height value"}},
      {{"-i", input_, "-o", out_, "--brightness=101"}, {"Error: Invalid brightness value"}},
      {{"-i", input_, "-o", out_, "--contrast=-101"}, {"Error: Invalid contrast value"}},
      {{"-i", input_, "-o", out_, "--gamma=10"}, {"Error: Invalid gamma value"}},
      {{"-i", input_, "-o", out_, "--gamma=0.009"}, {"Error: Invalid gamma value"}},
      {{"-i", input_, "-o", out_, "--gamma=nan"}, {"Error: Invalid gamma value"}},
      {{"-i", input_, "-o", out_, "--wm-image=" + path("in/missing.png")},
       {"Error: Invalid watermark image"}},
      {{"-i", input_, "-o", out_, "--wm-image=" + path("in/empty.jpg")}, {"Error: Invalid watermark image"}},
      {{"-i", path("in/logo.png"), "-o", out_}, notImported, true},
      {{"-i", path("in/list.txt"), "-o", out_}, notImported, true},
  };
  for (const Case& c : cases) {
    const Result quiet = run(QStringList{"-q"} + c.arguments);
    EXPECT_EQ(quiet.out, lines(c.out)) << c.arguments.join(' ').toStdString();
    EXPECT_EQ(quiet.status, 1) << c.arguments.join(' ').toStdString();

    QStringList expected = kBanner + QStringList{"Preparing..."};
    if (c.imports) expected += QStringList{"Importing...", "Import complete, new files added: 0"};
    const Result normal = run(c.arguments);
    EXPECT_EQ(normal.out, lines(expected + c.out)) << c.arguments.join(' ').toStdString();
    EXPECT_EQ(normal.status, 1) << c.arguments.join(' ').toStdString();
  }
  EXPECT_TRUE(QDir(out_).isEmpty());
}

TEST_F(Console, ChecksThatPassAtTheirLimits) {
  // Each of these reaches the conversion: the debug output then ends with the worker's "OK".
  for (const QStringList& options :
       {QStringList{"--gamma=0.01"}, QStringList{"--gamma=9.99"},
        QStringList{"--contrast=-100", "--brightness=100"}, QStringList{"--invert"},
        QStringList{"--hdr-bpp=96"}, QStringList{"--hdr-bpp=0"},
        QStringList{"--width=%10000000000", "--height=$200"}}) {
    const Result result = run(QStringList{"-q", "-d", "-i", input_, "-o", out_} + options);
    EXPECT_TRUE(result.out.endsWith("\nOK\n")) << options.join(' ').toStdString() << "\n"
                                               << result.out.toStdString();
    EXPECT_EQ(result.status, 0) << options.join(' ').toStdString();
  }
}

TEST_F(Console, RelativeFoldersResolveAgainstTheCurrentDirectory) {
  // No -o and a bare input name: the output lands beside the input, in the current directory.
  Result result = run({"-q", "-i", "cheetah_1024x768.jpg"}, Input::Null, kExecutable, path("in"));
  EXPECT_EQ(result.out, QString());
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(QFile::exists(path("in/cheetah_1024x768.hdr")));

  ASSERT_TRUE(QDir(dir_.path()).mkpath("in/sub"));
  result =
      run({"-q", "-d", "-i", "cheetah_1024x768.jpg", "-o", "./sub"}, Input::Null, kExecutable, path("in"));
  EXPECT_TRUE(result.out.startsWith(lines({"Input: cheetah_1024x768.jpg", "Output: ./sub"})));
  EXPECT_TRUE(
      result.out.contains("Saving As: " + QDir(path("in/sub")).canonicalPath() + "/cheetah_1024x768.hdr\n"))
      << result.out.toStdString();
  EXPECT_TRUE(QFile::exists(path("in/sub/cheetah_1024x768.hdr")));
}

TEST_F(Console, FilesThatFailInTheWorkerSayWhyOnStandardError) {
  writeFile("in/broken.jpg", "this is no JPEG");
  Result result = run({"-q", "-i", path("in/broken.jpg"), "-o", out_});
  EXPECT_EQ(result.out, lines({"Conversion stopped"}));
  EXPECT_EQ(result.err, lines({"Unable to open the file: " + path("in/broken.jpg") + "!"}));
  EXPECT_EQ(result.status, 1);

  result = run({"-d", "-i", path("in/broken.jpg"), "-o", out_});
  EXPECT_TRUE(result.out.endsWith(lines({"Converting...", "Processing: " + path("in/broken.jpg"),
                                         "Saving As: ", "Not OK", "Conversion stopped"})))
      << result.out.toStdString();

  // The output name is taken by a folder: the save fails and the folder stays.
  ASSERT_TRUE(QDir(out_).mkpath("cheetah_1024x768.hdr"));
  result = run({"-q", "-i", input_, "-o", out_});
  EXPECT_EQ(result.out, lines({"Conversion stopped"}));
  EXPECT_EQ(result.err, lines({"Unable to save the file: " + out_ + "/cheetah_1024x768.hdr!"}));
  EXPECT_EQ(result.status, 1);
  ASSERT_TRUE(QDir(out_).rmdir("cheetah_1024x768.hdr"));

  // A truncated JPEG still converts, with a warning.
  QFile sample(kSample);
  ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
  writeFile("in/truncated.jpg", sample.readAll().left(40000));
  result = run({"-q", "-i", path("in/truncated.jpg"), "-o", out_});
  EXPECT_EQ(result.out, QString());
  EXPECT_EQ(result.err,
            lines({"Warning: The JPEG data is damaged or incomplete: " + path("in/truncated.jpg")}));
  EXPECT_EQ(result.status, 0);
  EXPECT_TRUE(QFile::exists(out_ + "/truncated.hdr"));
}

QStringList usage(const QString& name) {
  return {" ",
          "Usage: " + name + " -i <filename> [options]",
          " ",
          "  " + name + " -i example.jpg",
          "  " + name + " -i /tmp/example.jpg",
          "  " + name + " -i /tmp/example.jpg -o /tmp/converted",
          "  " + name + " -i /tmp/example.jpg -o /tmp/converted --jpg-quality=95",
          " ",
          "Options:",
          " ",
          "  -h, -?, --help            Display this help and exit",
          "  -i FILE, --input=FILE     Set input file",
          "  -o PATH, --output=PATH    Set output folder",
          "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)",
          " ",
          "Advanced options:",
          " ",
          "  --width=NUM               Set output image width",
          "  --height=NUM              Set output image height",
          "  --filename-mask=STR       Define output filename format",
          "  --flip-horizontal         Flip output image horizontally",
          "  --flip-vertical           Flip output image vertically",
          "  --brightness=NUM          Set output image brightness, NUM = -100..100",
          "  --contrast=NUM            Set output image contrast, NUM = -100..100",
          "  --gamma=NUM               Set output image gamma, NUM = 0.01..9.99",
          "  --invert                  Invert output image",
          "  --greyscale               Greyscale output image",
          "  --profile=FILE            Set configuration file with required settings",
          "    ...                     Refer documentation for all available options",
          " ",
          "Other options:",
          " ",
          "  -q, --quiet               Don't print status messages to stdout",
          "  -d, --debug               Print debug information to stdout",
          "  -p, --pause               Pause at exit",
          "  -v, --version             Display version information and exit"};
}

TEST_F(Console, SwitchesOfTheFirstParameter) {
  for (const QString help : {"-h", "-?", "--HELP", "--help", "--Help=x", "-H"}) {
    const Result result = run({help, "-i", input_});
    EXPECT_EQ(result.out, lines(usage("quillet"))) << help.toStdString();
    EXPECT_EQ(result.status, 0);
  }
  for (const QString version : {"-v", "--version", "-V", "--VERSION=9"}) {
    const Result result = run({version});
    EXPECT_EQ(result.out, "2.2\n") << version.toStdString();
    EXPECT_EQ(result.status, 0);
  }
  // Renaming the executable renames it in the usage text.
  ASSERT_TRUE(QFile::copy(kExecutable, path("myconverter")));
  EXPECT_EQ(run({"-h"}, Input::Null, path("myconverter")).out, lines(usage("myconverter")));

  // Anywhere else the switches are ignored.
  const Result late = run({"-q", "-i", input_, "-v", "-h", "-o", out_});
  EXPECT_EQ(late.out, QString());
  EXPECT_EQ(late.status, 0);
  EXPECT_TRUE(QFile::exists(out_ + "/cheetah_1024x768.hdr"));
}

TEST_F(Console, ParameterErrorsAndTheGraphicalStart) {
  struct Case {
    QStringList arguments;
    QString out;
    int status;
  };
  const QString count = "Error: Incorrect number of parameters\n";
  const QList<Case> cases = {
      {{"-i"}, count, 2},
      {{"--input", input_}, count, 2},
      {{"-i", "-o"}, count, 2},
      {{"-i", input_, "--jpg-quality", "90"}, count, 2},
      {{"--width", "-p"}, count, 2},
      {{"-p", "--width"}, count + "Press any key to exit.\n", 2},
      {{"--profile=" + path("missing.ini"), "-i", input_}, "Error: Invalid profile file\n", 2},
  };
  for (const Case& c : cases) {
    const Result result = run(c.arguments);
    EXPECT_EQ(result.out, c.out) << c.arguments.join(' ').toStdString();
    EXPECT_EQ(result.err, QString()) << c.arguments.join(' ').toStdString();
    EXPECT_EQ(result.status, c.status) << c.arguments.join(' ').toStdString();
  }

  // These start the graphical mode. Its window would wait for a user, so another instance holds
  // the lock: the graphical start then ends silently with 0, where a console run would refuse
  // with "Error: Another instance is running". ("-U" and "-T" open their own windows; their
  // tests are with the windows.)
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path("run")));
  platform::InstanceLock lock;
  const bool held = lock.acquire(instanceLockName());
  qputenv("XDG_RUNTIME_DIR", saved);
  ASSERT_TRUE(held);
  for (const QStringList& arguments : {QStringList{}, QStringList{"-o", out_, input_}, QStringList{"-p"}}) {
    const Result result = run(arguments);
    EXPECT_EQ(result.out, QString()) << arguments.join(' ').toStdString();
    EXPECT_EQ(result.err, QString()) << arguments.join(' ').toStdString();
    EXPECT_EQ(result.status, 0) << arguments.join(' ').toStdString();
  }
  EXPECT_TRUE(QDir(out_).isEmpty());
}

TEST_F(Console, PauseWaitsForOneByteOrTheEndOfInput) {
  const QString done =
      lines(kBanner + QStringList{"Preparing...", "Importing...", "Import complete, new files added: 1",
                                  "Converting...", "Conversion complete", "Files converted: 1 of 1",
                                  "Press any key to exit."});
  for (const Input input : {Input::Null, Input::OneByte}) {
    const Result result = run({"-i", input_, "-o", out_, "-p"}, input);
    EXPECT_EQ(result.out, done);
    EXPECT_EQ(result.status, 0);
  }
  const Result quiet = run({"-q", "-p", "-i", input_, "-o", out_}, Input::OneByte);
  EXPECT_EQ(quiet.out, "Press any key to exit.\n");
  EXPECT_EQ(quiet.status, 0);
}

TEST_F(Console, ProfileAndLaterOptions) {
  writeFile("a.ini", "[cli]\n--WIDTH = 800\n--HEIGHT = 600\n--FR-SOLID-OPACITY = 1\n--WM-TEXT = \"Hi\"\n");
  const Result result = run({"-q", "-d", "-i", input_, "-o", out_, "--profile=" + path("a.ini"),
                             "--height=300", "--wm-image=" + kLogo});
  EXPECT_TRUE(result.out.contains("\nWidth: 800 pixels\nHeight: 300 pixels\n")) << result.out.toStdString();
  EXPECT_TRUE(result.out.contains("\nWatermark: image\n")) << result.out.toStdString();
  EXPECT_TRUE(result.out.endsWith("\nOK\n"));
  EXPECT_EQ(result.status, 0);

  const Loaded hdr(out_ + "/cheetah_1024x768.hdr", FIF_HDR, 0);
  ASSERT_NE(hdr.bitmap, nullptr);
  EXPECT_EQ(FreeImage_GetWidth(hdr.bitmap), 800u);
  EXPECT_EQ(FreeImage_GetHeight(hdr.bitmap), 300u);
}

TEST_F(Console, SecondInstanceIsRefusedInTheConsoleOnly) {
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path("run")));
  platform::InstanceLock lock;
  const bool held = lock.acquire(instanceLockName());
  qputenv("XDG_RUNTIME_DIR", saved);
  ASSERT_TRUE(held);

  for (const QStringList& arguments : {QStringList{"-i", input_, "-o", out_}, QStringList{"-v"},
                                       QStringList{"-q", "-i", input_}, QStringList{"-i"}}) {
    const Result result = run(arguments);
    EXPECT_EQ(result.out, "Error: Another instance is running\n") << arguments.join(' ').toStdString();
    EXPECT_EQ(result.status, 1);
  }
  for (const QStringList& arguments : {QStringList{}, QStringList{"-o", out_}}) {
    const Result result = run(arguments);
    EXPECT_EQ(result.out, QString());
    EXPECT_EQ(result.status, 0);
  }
  EXPECT_TRUE(QDir(out_).isEmpty());

  lock.release();
  EXPECT_EQ(run({"-v"}).out, "2.2\n");
}

}  // namespace
