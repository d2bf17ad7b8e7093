// The one record of user options, grouped as the configuration file groups them.
#pragma once

#include <QString>

#include <cstdint>

struct Settings {
  struct General {
    int32_t cfg = 17;
    QString language;
    int32_t updateRange = 0;
    int32_t updateDate = 0;
    int8_t saveWindowPosition = 0;
  } general;

  struct Window {
    int8_t isMaximized = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t x = 0;
    int32_t y = 0;
  } window;

  struct Interface {
    QString uiTheme;
    int32_t uiSize = 0;
  } ui;

  struct Input {
    QString format;
    int32_t ddsLoadAs = 0;
    int32_t gifFrameLoading = 0;
    int32_t icoFrameLoading = 0;
    int32_t tiffFrameLoading = 0;
    int32_t rawLoadAs = 0;
    int32_t rawHeaderSize = 0;
    int32_t rawImageWidth = 0;
    int32_t rawImageHeight = 0;
    int32_t rawToneMapping = 0;
  } input;

  struct Output {
    QString format;
    int32_t bmpBpp = 0;
    int32_t bmpCompression = 0;
    int32_t bmpColorTable = 0;
    int32_t ddsBpp = 0;
    int32_t exrBpp = 0;
    int32_t exrCompression = 0;
    int32_t gifBpp = 0;
    int32_t hdrBpp = 0;
    int32_t icoBpp = 0;
    int32_t j2kBpp = 0;
    int32_t jngBpp = 0;
    int32_t jp2Bpp = 0;
    int32_t jpgBpp = 0;
    int32_t jpgQuality = 0;
    int32_t jpgChroma = 0;
    int32_t jpgSaveAs = 0;
    int32_t jxrBpp = 0;
    int32_t pbmBpp = 0;
    int32_t pcxBpp = 0;
    int32_t pfmBpp = 0;
    int32_t pgmBpp = 0;
    int32_t pngBpp = 0;
    int32_t pngCompression = 0;
    int8_t pngInterlaced = 0;
    int32_t ppmBpp = 0;
    int32_t psdBpp = 0;
    int32_t tgaBpp = 0;
    int32_t tgaCompression = 0;
    int32_t tiffBpp = 0;
    int32_t tiffCompression = 0;
    int32_t tiffColorModel = 0;
    int32_t wbmpBpp = 0;
    int32_t webpBpp = 0;
    int32_t xpmBpp = 0;
  } output;

  struct Transform {
    int8_t doImageRotation = 0;
    int8_t imageRotationType = 0;
    int32_t imageRotation = 0;
    QString imageRotationBackColor;
    int8_t doImageResize = 0;
    int32_t imageWidth = 0;
    int8_t imageWidthUnit = 0;
    int32_t imageHeight = 0;
    int8_t imageHeightUnit = 0;
    int8_t keepAspectRatio = 0;
    int8_t imageResizeType = 0;
    int8_t imageResizeAlgorithm = 0;
    int8_t doImageFlipHorizontal = 0;
    int8_t doImageFlipVertical = 0;
  } transform;

  struct Adjustment {
    int8_t doImageColorCorrection = 0;
    int32_t imageBrightness = 0;
    int32_t imageContrast = 0;
    float imageGamma = 1.0f;
    int8_t imageInvert = 0;
    int8_t doImageGreyscale = 0;
    int8_t doImageThreshold = 0;
    int32_t imageThreshold = 0;
  } adjustment;

  struct Frame {
    int8_t doFrame = 0;
    int32_t solidLeft = 0;
    int32_t solidRight = 0;
    int32_t solidTop = 0;
    int32_t solidBottom = 0;
    QString solidLeftColor;
    QString solidRightColor;
    QString solidTopColor;
    QString solidBottomColor;
    int32_t solidOpacity = 0;
  } frame;

  struct Watermark {
    int8_t doWatermark = 0;
    QString text;
    QString fonts;
    QString font;
    int32_t fontSize = 0;
    int32_t fontLeading = 0;
    QString fontColors;
    QString fontColor;
    int8_t fontStyle = 0;
    int8_t fontEffect = 0;
    int8_t textAntialiasing = 0;
    int8_t textAlignment = 0;
    int32_t textPadding = 0;
    int32_t textOpacity = 0;
    QString backColors;
    QString backColor;
    int32_t backOpacity = 0;
    int8_t textBoundary = 0;
    int8_t textPosition = 0;
    int32_t textXOffset = 0;
    int32_t textYOffset = 0;
    int32_t textRotation = 0;
    int8_t textSize = 0;
    int32_t textScale = 0;
    QString image;
    int8_t imageGreyscale = 0;
    int32_t imageOpacity = 0;
    int8_t imageBoundary = 0;
    int8_t imagePosition = 0;
    int32_t imageXOffset = 0;
    int32_t imageYOffset = 0;
    int32_t imageRotation = 0;
    int8_t imageSize = 0;
    int32_t imageScale = 0;
  } watermark;

  struct Advanced {
    QString filenameMask;
    int8_t fileTimestamp = 0;
    int32_t customTimestamp = 0;
    int8_t outFoldersHistory = 0;
    int8_t outFoldersNumber = 0;
    int8_t keepSubfolders = 0;
  } advanced;

  struct File {
    QString recentOutFolders;
    QString recentFiles;
  } file;

  struct Privacy {
    int8_t cleanRecentFiles = 0;
  } privacy;

  // Full path of the configuration file; not stored in the file itself.
  QString configPath;
};
