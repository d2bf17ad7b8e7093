// Run by install_test.sh on an installed tree and on the build folder: the program's own look-ups
// of the manual and the theme folder find the files that the install and the build put there.
//
//   installed_paths_probe PREFIX BUILD_PROGRAM_FOLDER
#include "themes/themes.h"
#include "ui/web_links.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

int failures = 0;

void expectEqual(const QString& what, const QString& actual, const QString& expected) {
  if (QDir::cleanPath(actual) == QDir::cleanPath(expected) && QFileInfo::exists(actual)) return;
  std::printf("FAIL: %s is %s, expected the existing %s\n", qPrintable(what), qPrintable(actual),
              qPrintable(expected));
  ++failures;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: installed_paths_probe PREFIX BUILD_PROGRAM_FOLDER\n");
    return 2;
  }
  const QString prefix = QString::fromLocal8Bit(argv[1]);
  const QString build = QString::fromLocal8Bit(argv[2]);
  expectEqual(QStringLiteral("the installed manual"), manualPath(prefix + QStringLiteral("/bin/")),
              prefix + QStringLiteral("/share/doc/quillet/manual.html"));
  expectEqual(QStringLiteral("the installed theme folder"),
              themes::gfxFolder(prefix + QStringLiteral("/bin/")),
              prefix + QStringLiteral("/share/quillet/gfx/"));
  expectEqual(QStringLiteral("the build folder's manual"), manualPath(build),
              build + QStringLiteral("/manual.html"));
  expectEqual(QStringLiteral("the build folder's theme folder"), themes::gfxFolder(build),
              build + QStringLiteral("/gfx/"));
  if (failures == 0) std::printf("manual and themes are found installed and in the build folder\n");
  return failures == 0 ? 0 : 1;
}
