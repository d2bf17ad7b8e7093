#include "ui/window_images.h"

#include "ui/gui_context.h"

#include <QPixmap>

namespace {

const themes::ImageSet& imageSet(const themes::ImageSets& sets, ImageSetName set) {
  switch (set) {
    case ImageSetName::BigButtons:
      return sets.bigButtons;
    case ImageSetName::MenuIcons:
      return sets.menuIcons;
    case ImageSetName::ToolbarIcons:
      return sets.toolbarIcons;
  }
  return sets.menuIcons;
}

}  // namespace

QIcon setIcon(const GuiContext& context, ImageSetName set, const QString& key) {
  const QImage image = imageSet(context.images, set).image(key);
  if (image.isNull()) return QIcon();
  return QIcon(QPixmap::fromImage(image));
}

void reloadThemeImages(GuiContext& context, bool bigButtons, bool menuIcons, bool toolbarIcons) {
  themes::loadTheme(context.settings, context.themeRegistry, themes::gfxFolder(context.job.programFolder),
                    context.images, bigButtons, menuIcons, toolbarIcons);
}
