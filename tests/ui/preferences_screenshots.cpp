// Writes a PNG of every Preferences page (and of each watermark panel) into the folder given,
// for checking the layout by eye: xvfb-run -a preferences_screenshots <folder>
#include "convert/batch.h"
#include "convert/conversion_job.h"
#include "i18n/string_table.h"
#include "settings/defaults.h"
#include "themes/image_sets.h"
#include "themes/themes.h"
#include "ui/dialog_service.h"
#include "ui/gui_context.h"
#include "ui/preferences_window.h"
#include "ui/shell.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QTreeWidget>

#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: preferences_screenshots <folder>\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  StringTable strings;
  strings.load(QString());
  Settings settings;
  applyDefaults(settings, false, DefaultsEnvironment{1920, 1080, 1700000000});
  settings.transform.doImageRotation = 1;
  settings.frame.doFrame = 1;
  settings.watermark.doWatermark = 1;
  ConversionJob job;
  FileQueue queue;
  themes::ImageSets images;
  themes::loadBuiltInImages(images);
  themes::ThemeRegistry registry;
  registry.names = {{QStringLiteral("handdrawn"), QStringLiteral("Hand Drawn")}};
  QtDialogService dialogs;
  DesktopShell shell;
  GuiContext gui(settings, job, queue, strings, images, registry, dialogs, shell);
  PreferencesWindow* window = openPreferences(PreferencesContext{gui, {}, {}}, nullptr);
  const char* names[] = {"general",    "interface", "input",     "output",  "transform",
                         "adjustment", "frame",     "watermark", "advanced"};
  for (int page = 0; page < kPageCount; ++page) {
    window->pageTree()->setCurrentItem(window->pageTree()->topLevelItem(page));
    app.processEvents();
    window->grab().save(
        folder.filePath(QStringLiteral("%1-%2.png").arg(page).arg(QLatin1String(names[page]))));
    // Scrolling pages and panels once more, scrolled to the end.
    bool scrolled = false;
    QList<QScrollArea*> areas = window->page(page)->findChildren<QScrollArea*>();
    areas << qobject_cast<QScrollArea*>(window->page(page));
    for (QScrollArea* area : areas) {
      if (area == nullptr || !area->isVisible()) continue;
      area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
      scrolled = true;
    }
    if (scrolled) {
      app.processEvents();
      window->grab().save(
          folder.filePath(QStringLiteral("%1-%2-end.png").arg(page).arg(QLatin1String(names[page]))));
    }
  }
  window->findChild<QComboBox*>(QStringLiteral("Watermark/Do Watermark"))->setCurrentIndex(2);
  window->pageTree()->setCurrentItem(window->pageTree()->topLevelItem(7));
  app.processEvents();
  window->grab().save(folder.filePath(QStringLiteral("7-watermark-image.png")));
  return 0;
}
