#include "themes/image_sets.h"

#include <QtGlobal>

// Resources compiled into a static library are registered explicitly, since nothing else would
// pull their object file into the executable. Q_INIT_RESOURCE must run outside any namespace.
static void registerBuiltInResources() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(quillet_themes);
    return true;
  }();
  (void)registered;
}

namespace themes {

namespace {
const QString kResourceRoot = QStringLiteral(":/quillet/themes/images/");

QImage builtIn(const QString& name) {
  registerBuiltInResources();
  return QImage(kResourceRoot + name, "PNG");
}
}  // namespace

ImageSet::ImageSet(const QStringList& keys) {
  slots_.reserve(static_cast<size_t>(keys.size()));
  for (const QString& key : keys) slots_.push_back(Slot{key, QImage()});
}

QStringList ImageSet::keys() const {
  QStringList result;
  for (const Slot& slot : slots_) result << slot.key;
  return result;
}

bool ImageSet::hasKey(const QString& key) const {
  for (const Slot& slot : slots_)
    if (slot.key == key) return true;
  return false;
}

QImage ImageSet::image(const QString& key) const {
  for (const Slot& slot : slots_)
    if (slot.key == key) return slot.image;
  return QImage();
}

bool ImageSet::setImage(const QString& key, const QImage& image) {
  for (Slot& slot : slots_) {
    if (slot.key != key) continue;
    slot.image = image;
    return true;
  }
  return false;
}

const QStringList& bigButtonKeys() {
  static const QStringList keys = {QStringLiteral("Convert"), QStringLiteral("InFiles"),
                                   QStringLiteral("InFolder")};
  return keys;
}

const QStringList& iconKeys() {
  static const QStringList keys = {QStringLiteral("New"),
                                   QStringLiteral("Add"),
                                   QStringLiteral("InFiles"),
                                   QStringLiteral("InFolder"),
                                   QStringLiteral("OutFolder"),
                                   QStringLiteral("OutFormat"),
                                   QStringLiteral("FavFolder"),
                                   QStringLiteral("ImportFiles"),
                                   QStringLiteral("ExportFiles"),
                                   QStringLiteral("Exit"),
                                   QStringLiteral("Copy"),
                                   QStringLiteral("Delete"),
                                   QStringLiteral("SelectAll"),
                                   QStringLiteral("Convert"),
                                   QStringLiteral("Error"),
                                   QStringLiteral("Preferences"),
                                   QStringLiteral("CustomConverter"),
                                   QStringLiteral("Help"),
                                   QStringLiteral("Email"),
                                   QStringLiteral("Web"),
                                   QStringLiteral("Updates"),
                                   QStringLiteral("About")};
  return keys;
}

int toolbarIconSize(int32_t uiSize) {
  switch (uiSize) {
    case 1:
      return 24;
    case 2:
      return 32;
    case 3:
      return 48;
    case 4:
      return 64;
    default:
      return 16;
  }
}

bool loadBuiltInImages(ImageSets& sets) {
  bool complete = true;
  for (const QString& key : bigButtonKeys()) {
    const QImage image = builtIn(QStringLiteral("big/") + key + QStringLiteral(".png"));
    complete = complete && !image.isNull();
    sets.bigButtons.setImage(key, image);
  }
  for (const QString& key : iconKeys()) {
    // The menu and toolbar sets share one built-in picture per key; QImage shares the pixels.
    const QImage image = builtIn(QStringLiteral("menu/") + key + QStringLiteral(".png"));
    complete = complete && !image.isNull();
    sets.menuIcons.setImage(key, image);
    sets.toolbarIcons.setImage(key, image);
  }
  return complete;
}

QImage aboutBanner() {
  return builtIn(QStringLiteral("about_banner.png")).convertToFormat(QImage::Format_RGB888);
}

}  // namespace themes
