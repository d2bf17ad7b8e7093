#include "settings/defaults.h"

#include "settings/format_lists.h"

namespace {
const QString kColourList = QStringLiteral("000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF");
const QString kBlack = QStringLiteral("000000");

int32_t centred(int desktop, int size) { return desktop > size ? (desktop - size) / 2 : 100; }
}  // namespace

QString defaultWatermarkText() { return QStringLiteral("Converted with Lumavane JPG to HDR"); }

void applyDefaults(Settings& s, bool consoleMode, const DefaultsEnvironment& env) {
  const QString configPath = s.configPath;
  s = Settings{};
  s.configPath = configPath;

  s.general.cfg = 17;
  s.general.language = QStringLiteral("en");
  s.general.updateRange = 2;
  s.general.updateDate = env.now;
  s.general.saveWindowPosition = 1;

  s.window.isMaximized = 0;
  s.window.width = 510;
  s.window.height = 260;
  s.window.x = centred(env.desktopWidth, 510);
  s.window.y = centred(env.desktopHeight, 260);

  s.ui.uiTheme = QStringLiteral("handdrawn");
  s.ui.uiSize = 2;

  s.input.format = inputFormatList().value(0);
  s.input.rawToneMapping = 2;

  s.output.format = outputFormatList().value(0);
  s.output.jpgQuality = 95;

  s.transform.imageRotationBackColor = kBlack;
  s.transform.imageResizeAlgorithm = 3;
  s.transform.keepAspectRatio = consoleMode ? 0 : 1;

  s.adjustment.imageGamma = 1.0f;

  s.frame.solidLeftColor = kBlack;
  s.frame.solidRightColor = kBlack;
  s.frame.solidTopColor = kBlack;
  s.frame.solidBottomColor = kBlack;
  s.frame.solidOpacity = 255;

  Settings::Watermark& w = s.watermark;
  w.doWatermark = 0;
  w.text = defaultWatermarkText();
  w.fonts = QStringLiteral("Arial,Tahoma,Verdana");
  w.font = QStringLiteral("Arial");
  w.fontSize = 14;
  w.fontLeading = 0;
  w.fontColors = kColourList;
  w.fontColor = QStringLiteral("FFFFFF");
  w.textOpacity = 255;
  w.backColors = kColourList;
  w.backColor = kBlack;
  w.backOpacity = 1;
  w.textPosition = 8;
  w.textXOffset = 10;
  w.textYOffset = 10;
  w.textScale = 10;
  w.imageOpacity = 255;
  w.imagePosition = 8;
  w.imageXOffset = 10;
  w.imageYOffset = 10;
  w.imageScale = 10;

  s.advanced.filenameMask = QStringLiteral("%filename%.%ext%");
  s.advanced.fileTimestamp = 0;
  s.advanced.customTimestamp = env.now;
  s.advanced.outFoldersHistory = 1;
  s.advanced.outFoldersNumber = 5;
  s.advanced.keepSubfolders = 1;
}
