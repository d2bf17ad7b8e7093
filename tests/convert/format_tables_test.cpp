#include "convert/format_tables.h"
#include "convert/batch.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

using testing_support::defaultSettings;

TEST(FormatTables, RowsAndLookups) {
  EXPECT_EQ(outputFormatCount(), 20);
  EXPECT_EQ(inputFormatCount(), 79);

  const OutputFormatRow hdr = outputFormat(QStringLiteral("hdr"));
  EXPECT_EQ(hdr.formatId, 26);
  EXPECT_EQ(hdr.description, QStringLiteral("High Dynamic Range Image"));
  EXPECT_EQ(hdr.bitDepths, QStringLiteral("96"));
  EXPECT_EQ(outputFormat(QStringLiteral("tga")).formatId, 17);
  EXPECT_EQ(outputFormat(QStringLiteral("bmp")).bitDepths, QStringLiteral("1,4,8,16,24,32"));

  EXPECT_EQ(inputFormat(QStringLiteral("jpe")).family, QStringLiteral("jpg"));
  EXPECT_EQ(inputFormat(QStringLiteral("jpe")).description, QStringLiteral("JPEG File"));
  EXPECT_EQ(inputFormat(QStringLiteral("apm")).family, QStringLiteral("wmf"));
  EXPECT_EQ(inputFormat(QStringLiteral("apm")).description, QStringLiteral("Aldus Placeable Metafile"));
  EXPECT_EQ(inputFormat(QStringLiteral("sr2")).family, QStringLiteral("raw"));
  EXPECT_EQ(inputFormat(QStringLiteral("sr2")).description, QStringLiteral("Sony Camera RAW Image"));
  EXPECT_EQ(inputFormat(QStringLiteral("rwl")).description, QStringLiteral("Leica Camera RAW Image"));

  // Unknown extensions, including "dds" which has a depth key but no output row; keys are
  // case-sensitive.
  for (const char* unknown : {"dds", "xyz", "", "HDR"}) {
    const OutputFormatRow row = outputFormat(QString::fromLatin1(unknown));
    EXPECT_EQ(row.formatId, 0) << unknown;
    EXPECT_TRUE(row.description.isEmpty() && row.bitDepths.isEmpty()) << unknown;
  }
  EXPECT_TRUE(inputFormat(QStringLiteral("jfif")).family.isEmpty());
  EXPECT_TRUE(inputFormat(QStringLiteral("JPG")).description.isEmpty());
}

TEST(FormatTables, AcceptedInputExtensions) {
  QStringList accepted = acceptedInputExtensions();
  accepted.sort();
  EXPECT_EQ(accepted, QStringList({"jif", "jpe", "jpeg", "jpg"}));

  struct Case {
    const char* path;
    bool accepted;
  };
  for (const Case& c : {Case{"/p/a.JPEG", true}, Case{"/p/a.jpg", true}, Case{"/p/x.y/a.Jif", true},
                        Case{"/p/a.jfif", false}, Case{"/p/a.png", false}, Case{"/p/a", false},
                        Case{"/p/a.jp g", false}, Case{"/p.jpg/a", false}, Case{"/p/a.", false}}) {
    EXPECT_EQ(isAcceptedInputPath(QString::fromUtf8(c.path)), c.accepted) << c.path;
  }
}

TEST(FormatTables, SaveFlags) {
  struct Case {
    const char* extension;
    void (*set)(Settings&);
    int32_t flags;
  };
  const Case cases[] = {
      {"jpg", [](Settings& s) { s.output.jpgQuality = 95, s.output.jpgChroma = 2, s.output.jpgSaveAs = 3; },
       95 + 0x4000 + 0x2000},
      {"jpg", [](Settings& s) { s.output.jpgQuality = 50, s.output.jpgChroma = 0, s.output.jpgSaveAs = 1; },
       50 + 0x10000 + 0x40000},
      {"jpg", [](Settings& s) { s.output.jpgQuality = 1, s.output.jpgChroma = 9, s.output.jpgSaveAs = 2; },
       1 + 0x20000},
      {"tiff", [](Settings& s) { s.output.tiffCompression = 6, s.output.tiffColorModel = 1; }, 0x4000 + 1},
      {"tiff", [](Settings& s) { s.output.tiffCompression = 6, s.output.tiffColorModel = 2; }, 0x4000},
      {"tiff", [](Settings& s) { s.output.tiffCompression = 0; }, 0x800},
      {"tiff", [](Settings& s) { s.output.tiffCompression = 9; }, 0},
      {"hdr",
       [](Settings& s) { s.output.jpgQuality = 10, s.output.pngCompression = 3, s.output.hdrBpp = 96; }, 0},
      {"bmp", [](Settings& s) { s.output.bmpCompression = 1; }, 1},
      {"bmp", [](Settings& s) { s.output.bmpCompression = 2; }, 0},
      {"exr", [](Settings& s) { s.output.exrCompression = 0; }, 2},
      {"exr", [](Settings& s) { s.output.exrCompression = 4; }, 32},
      {"exr", [](Settings& s) { s.output.exrCompression = 5; }, 0},
      {"png", [](Settings& s) { s.output.pngCompression = 0; }, 0x100},
      {"png", [](Settings& s) { s.output.pngCompression = 2, s.output.pngInterlaced = 1; }, 6 + 0x200},
      {"png", [](Settings& s) { s.output.pngCompression = 7, s.output.pngInterlaced = 1; }, 0x200},
      {"tga", [](Settings& s) { s.output.tgaCompression = 1; }, 2},
      {"jxr", [](Settings&) {}, 100},
      {"webp", [](Settings&) {}, 0x100},
      {"dds", [](Settings&) {}, 0},
      {"psd", [](Settings&) {}, 0},
      {"xyz", [](Settings&) {}, 0},
  };
  for (const Case& c : cases) {
    Settings settings = defaultSettings();
    c.set(settings);
    EXPECT_EQ(saveFlags(QString::fromLatin1(c.extension), settings), c.flags) << c.extension;
  }
}

TEST(FormatTables, AutoDepth) {
  struct Case {
    const char* extension;
    int32_t input, depth;
  };
  for (const Case& c :
       {Case{"hdr", 8, 96}, Case{"hdr", 24, 96}, Case{"png", 8, 8}, Case{"png", 24, 24}, Case{"jpg", 32, 24},
        Case{"tga", 48, 32}, Case{"bmp", 1, 1}, Case{"bmp", 2, 4}, Case{"dds", 24, 0}, Case{"xyz", 8, 0}}) {
    EXPECT_EQ(autoDepth(QString::fromLatin1(c.extension), c.input), c.depth) << c.extension << " " << c.input;
  }
}

TEST(FormatTables, RunPreparation) {
  Settings settings = defaultSettings();
  ConversionJob job;
  job.outputExtension = QStringLiteral("hdr");
  ASSERT_TRUE(prepareConversionRun(settings, job));
  EXPECT_EQ(job.outputFormatId, FIF_HDR);
  EXPECT_EQ(job.outputBpp, 0);
  EXPECT_EQ(job.saveFlags, 0);
  EXPECT_EQ(job.automaticDepth, 1);

  settings.output.hdrBpp = 96;
  ASSERT_TRUE(prepareConversionRun(settings, job));
  EXPECT_EQ(job.outputBpp, 96);
  EXPECT_EQ(job.automaticDepth, 0);

  settings.output.pngCompression = 3;
  job.outputExtension = QStringLiteral("png");
  ASSERT_TRUE(prepareConversionRun(settings, job));
  EXPECT_EQ(job.outputFormatId, FIF_PNG);
  EXPECT_EQ(job.saveFlags, 9);

  job.outputExtension = QStringLiteral("dds");
  EXPECT_FALSE(prepareConversionRun(settings, job));
}

}  // namespace
