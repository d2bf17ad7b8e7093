// Writes a PNG of every Preferences page (and of each watermark panel) into the folder given,
// for checking the layout by eye: xvfb-run -a preferences_screenshots <folder>
#include "i18n/string_table.h"
#include "settings/defaults.h"
#include "ui/preferences_dialogs.h"
#include "ui/preferences_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QTreeWidget>

#include <cstdio>

namespace {

class NoDialogs : public PreferencesDialogs {
 public:
  bool question(QWidget*, const QString&, const QString&) override { return false; }
  QString openFile(QWidget*, const QString&, const QString&, const QList<PreferencesFileFilter>&) override {
    return {};
  }
  std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return std::nullopt; }
  std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return std::nullopt; }
};

}  // namespace

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
  NoDialogs dialogs;
  int32_t startPage = 0;
  int32_t changeFlag = 0;
  PreferencesWindow* window = openPreferences(
      PreferencesContext{
          settings, strings, dialogs, {{"handdrawn", "Hand Drawn"}}, QIcon(), startPage, changeFlag, {}, {}},
      nullptr);
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
