// The records and services every window of the graphical mode works on. Start-up owns them all;
// windows hold this by reference.
#pragma once

#include "convert/batch.h"
#include "convert/conversion_job.h"
#include "i18n/string_table.h"
#include "settings/settings.h"
#include "themes/image_sets.h"
#include "themes/themes.h"

class DialogService;
class ShellOpener;

struct GuiContext {
  GuiContext(Settings& settings, ConversionJob& job, FileQueue& queue, const StringTable& strings,
             themes::ImageSets& images, const themes::ThemeRegistry& themeRegistry, DialogService& dialogs,
             ShellOpener& shell)
      : settings(settings),
        job(job),
        queue(queue),
        strings(strings),
        images(images),
        themeRegistry(themeRegistry),
        dialogs(dialogs),
        shell(shell) {}

  Settings& settings;
  ConversionJob& job;
  FileQueue& queue;
  const StringTable& strings;
  // Read each time menus, toolbars and buttons are built.
  themes::ImageSets& images;
  const themes::ThemeRegistry& themeRegistry;
  DialogService& dialogs;
  ShellOpener& shell;
  // Set by the screenshot mode: no update check at start.
  bool screenshotMode = false;
  // What the worker runs for each file; empty means convertFile. Tests put a slow one here.
  ConvertFunction convert;
  // Loads the run's watermark font; empty means loadWatermarkFont.
  FontLoader loadFont;
};

// A text of the string table by group and key.
inline QString uiText(const GuiContext& context, const char* group, const char* key) {
  return context.strings.text(QString::fromLatin1(group), QString::fromLatin1(key));
}
