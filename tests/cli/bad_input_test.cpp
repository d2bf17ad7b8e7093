// The console against bad images and bad places, each run as its own process: the error line,
// the reason on standard error, no output and no temporary file, the exit status, and the time
// and peak memory the run took (measured with wait4). Also the peak memory of a plain
// 24-megapixel conversion.
#include "support/immutable.h"
#include "../convert/jpeg_writer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <vector>

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

const QString kSample = QStringLiteral(QUILLET_SAMPLES_DIR "/cheetah_1024x768.jpg");

QString image(const char* name) {
  return QStringLiteral(QUILLET_TEST_DATA_DIR "/images/") + QString::fromLatin1(name);
}

struct ProcessRun {
  QString out;
  QString err;
  int status = -1;
  long peakKb = 0;
  double seconds = 0;
};

QString readText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString lines(const QStringList& list) { return list.join(QLatin1Char('\n')) + QLatin1Char('\n'); }

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;  // the sanitizers' shadow memory inflates every peak
#else
constexpr bool kSanitized = false;
#endif


class ConsoleHardening : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    for (const char* sub : {"run", "config", "in", "out", "logs"}) ASSERT_TRUE(QDir(dir_.path()).mkpath(sub));
    QFile::setPermissions(path("run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }

  QString path(const QString& relative) const { return dir_.filePath(relative); }
  QStringList entries(const QString& folder) const {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
  }

  // Runs the program with no standard input, a private runtime and configuration folder, and
  // optionally a file-size limit (a full disk) set in the child before it starts.
  ProcessRun run(const QStringList& arguments, std::optional<rlim_t> fileSizeLimit = std::nullopt) const {
    std::vector<QByteArray> argStore{QByteArrayLiteral(QUILLET_EXECUTABLE)};
    for (const QString& argument : arguments) argStore.push_back(argument.toUtf8());
    std::vector<char*> argv;
    for (QByteArray& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<QByteArray> envStore;
    for (char** e = environ; *e != nullptr; ++e) {
      const QByteArray entry(*e);
      if (entry.startsWith("XDG_RUNTIME_DIR=") || entry.startsWith("XDG_CONFIG_HOME=") ||
          entry.startsWith("DISPLAY=") || entry.startsWith("WAYLAND_DISPLAY="))
        continue;
      envStore.push_back(entry);
    }
    envStore.push_back("XDG_RUNTIME_DIR=" + QFile::encodeName(path("run")));
    envStore.push_back("XDG_CONFIG_HOME=" + QFile::encodeName(path("config")));
    std::vector<char*> envp;
    for (QByteArray& e : envStore) envp.push_back(e.data());
    envp.push_back(nullptr);
    const QByteArray outPath = QFile::encodeName(path("logs/out")),
                     errPath = QFile::encodeName(path("logs/err"));
    const QByteArray workingFolder = QFile::encodeName(dir_.path());

    QElapsedTimer timer;
    timer.start();
    const pid_t child = fork();
    if (child == 0) {
      // Only async-signal-safe calls between fork and exec.
      const int in = ::open("/dev/null", O_RDONLY);
      const int out = ::open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = ::open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
          ::chdir(workingFolder.constData()) != 0)
        _exit(127);
      if (fileSizeLimit) {
        ::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit then fails with EFBIG
        rlimit limit{*fileSizeLimit, *fileSizeLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
      }
      ::execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
    ProcessRun result;
    if (child < 0) return result;
    int status = 0;
    rusage usage{};
    if (::wait4(child, &status, 0, &usage) != child) return result;
    result.seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    result.peakKb = usage.ru_maxrss;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readText(path("logs/out"));
    result.err = readText(path("logs/err"));
    return result;
  }

  QTemporaryDir dir_;
};

TEST_F(ConsoleHardening, BadImagesGiveTheirErrorLineAndNoOutputQuicklyAndInLittleMemory) {
  const struct {
    const char* file;
    const char* out;  // the last line of standard output
    const char* err;  // standard error after the path ("" for nothing at all)
  } cases[] = {
      {"empty.jpg", "Error: Invalid input file", nullptr},
      {"text.jpg", "Conversion stopped", "!"},
      {"png.jpg", "Conversion stopped", "!"},
      {"junk_after_soi.jpg", "Conversion stopped", "!"},
      {"huge_header.jpg", "Conversion stopped", "! The image has too many pixels."},
  };
  for (const auto& c : cases) {
    const QString input = path("in/") + QString::fromLatin1(c.file);
    ASSERT_TRUE(QFile::copy(image(c.file), input));
    const ProcessRun result = run({"-q", "-i", input, "-o", path("out")});
    EXPECT_EQ(result.out, lines({QString::fromLatin1(c.out)})) << c.file;
    EXPECT_EQ(result.err, c.err == nullptr
                              ? QString()
                              : lines({"Unable to open the file: " + input + QString::fromLatin1(c.err)}))
        << c.file;
    EXPECT_EQ(result.status, 1) << c.file;
    EXPECT_TRUE(entries(path("out")).isEmpty()) << c.file;
    if (!kSanitized) {
      EXPECT_LT(result.peakKb, 100 * 1024) << c.file;
    }
    std::printf("%-20s exit %d, %.3f s, peak %ld KB\n", c.file, result.status, result.seconds, result.peakKb);
  }
}

TEST_F(ConsoleHardening, ATruncatedJpegConvertsWithOneWarningLineNamingTheFile) {
  const QByteArray whole = encodeJpeg(testPicture(320, 240), {});
  const QString input = path("in/cut off.jpg");
  QFile file(input);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(whole.left(whole.size() * 2 / 3));
  file.close();
  const ProcessRun result = run({"-i", input, "-o", path("out")});
  EXPECT_EQ(result.err, lines({"Warning: The JPEG data is damaged or incomplete: " + input}));
  EXPECT_TRUE(result.out.endsWith(lines({"Conversion complete", "Files converted: 1 of 1"})));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(entries(path("out")), QStringList{"cut off.hdr"});
}

TEST_F(ConsoleHardening, AFullDiskLeavesTheOldTargetAndNoPartialFile) {
  const QString target = path("out/cheetah_1024x768.hdr");
  const ProcessRun whole = run({"-q", "-i", kSample, "-o", path("out")});
  ASSERT_EQ(whole.status, 0);
  const qint64 size = QFileInfo(target).size();
  ASSERT_GT(size, 100000);
  for (const rlim_t limit : {rlim_t{100000}, static_cast<rlim_t>(size - 1)}) {
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write("old");
    old.close();
    const ProcessRun result = run({"-q", "-i", kSample, "-o", path("out")}, limit);
    EXPECT_EQ(result.out, lines({"Conversion stopped"})) << limit;
    EXPECT_EQ(result.err, lines({"Unable to save the file: " + target + "!"})) << limit;
    EXPECT_EQ(result.status, 1) << limit;
    EXPECT_EQ(readText(target), QStringLiteral("old")) << limit;
    EXPECT_EQ(entries(path("out")), QStringList{"cheetah_1024x768.hdr"}) << limit;
  }
}

TEST_F(ConsoleHardening, ReadOnlyPlacesFailClearlyAndStayAsTheyWere) {
  // /proc takes no new file, from root either.
  ProcessRun result = run({"-q", "-i", kSample, "-o", "/proc"});
  EXPECT_EQ(result.out, lines({"Conversion stopped"}));
  EXPECT_EQ(result.err, lines({"Unable to save the file: /proc/cheetah_1024x768.hdr!"}));
  EXPECT_EQ(result.status, 1);

  const QString target = path("out/cheetah_1024x768.hdr");
  QFile old(target);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
  {
    const Immutable lockedTarget(target);
    if (lockedTarget.applied()) {
      result = run({"-q", "-i", kSample, "-o", path("out")});
      EXPECT_EQ(result.err, lines({"Unable to save the file: " + target + "!"}));
      EXPECT_EQ(result.status, 1);
      EXPECT_EQ(readText(target), QStringLiteral("old"));
    }
  }
  {
    const Immutable lockedFolder(path("out"));
    if (lockedFolder.applied()) {
      result = run({"-q", "-i", kSample, "-o", path("out")});
      EXPECT_EQ(result.status, 1);
      EXPECT_EQ(readText(target), QStringLiteral("old"));
    }
  }
  EXPECT_EQ(entries(path("out")), QStringList{"cheetah_1024x768.hdr"});
  if (::geteuid() != 0) {
    QFile::setPermissions(target, QFileDevice::ReadOwner);
    result = run({"-q", "-i", kSample, "-o", path("out")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(readText(target), QStringLiteral("old"));
  }
}

TEST_F(ConsoleHardening, NamesWithSpacesAndNonAsciiLettersWork) {
  ASSERT_TRUE(QDir(path("out")).mkpath("Ausgabe für Ölbilder"));
  const QString input = path("in/mein Foto – Übersee 日本.jpg");
  ASSERT_TRUE(QFile::copy(kSample, input));
  const ProcessRun result = run({"-q", "-i", input, "-o", path("out/Ausgabe für Ölbilder")});
  EXPECT_EQ(result.out, QString());
  EXPECT_EQ(result.err, QString());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(entries(path("out/Ausgabe für Ölbilder")), QStringList{"mein Foto – Übersee 日本.hdr"});
}

TEST_F(ConsoleHardening, PathsLongerThanTheFileSystemAllowsFailClearly) {
  const QString longName = QStringLiteral("n").repeated(300);
  // A folder named by more than PATH_MAX bytes.
  ProcessRun result = run({"-q", "-i", kSample, "-o", path("out") + QStringLiteral("/.").repeated(2100)});
  EXPECT_EQ(result.out, lines({"Error: Invalid output folder"}));
  EXPECT_EQ(result.status, 1);
  // An output name longer than a name may be.
  result = run({"-q", "-i", kSample, "-o", path("out"), "--filename-mask=" + longName + ".%ext%"});
  EXPECT_EQ(result.out, lines({"Conversion stopped"}));
  EXPECT_EQ(result.err, lines({"Unable to save the file: " + path("out/") + longName + ".hdr!"}));
  EXPECT_EQ(result.status, 1);
  // An input name longer than a name may be.
  result = run({"-q", "-i", path("in/") + longName + ".jpg", "-o", path("out")});
  EXPECT_EQ(result.out, lines({"Error: Invalid input file"}));
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(entries(path("out")).isEmpty());
}

TEST_F(ConsoleHardening, PeakMemoryOfA24MegapixelConversion) {
  // 6000 x 4000, made here: the float image is 288 MB, the decoded 8-bit image 72 MB.
  const QString input = path("in/big.jpg");
  {
    const QByteArray bytes = encodeJpeg(testPicture(6000, 4000), {JpegColour::Rgb, false, 90});
    ASSERT_FALSE(bytes.isEmpty());
    QFile file(input);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
  }
  const ProcessRun result = run({"-q", "-i", input, "-o", path("out")});
  ASSERT_EQ(result.status, 0) << result.err.toStdString();
  const long floatKb = 6000L * 4000 * 12 / 1024, decodedKb = 6000L * 4000 * 3 / 1024;
  std::printf("24 MP conversion: %.2f s, peak %ld KB (float image %ld KB + decoded image %ld KB = %ld KB)\n",
              result.seconds, result.peakKb, floatKb, decodedKb, floatKb + decodedKb);
  if (!kSanitized) {
    EXPECT_LT(result.peakKb, floatKb + decodedKb + 64 * 1024);
  }
  EXPECT_EQ(entries(path("out")), QStringList{"big.hdr"});

  // With a transform the image goes through FreeImage whole; still within the same bound.
  const ProcessRun flipped = run({"-q", "-i", input, "-o", path("out"), "--flip-horizontal"});
  ASSERT_EQ(flipped.status, 0) << flipped.err.toStdString();
  std::printf("24 MP conversion with a flip: %.2f s, peak %ld KB\n", flipped.seconds, flipped.peakKb);
  if (!kSanitized) {
    EXPECT_LT(flipped.peakKb, floatKb + decodedKb + 64 * 1024);
  }
}

}  // namespace
