// The keyed image sets of the interface (big buttons, menu icons, toolbar icons) and their
// built-in images.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace themes {

// A fixed list of keys, each owning one slot that holds an image or nothing (a null QImage).
// Keys are case-sensitive.
class ImageSet {
 public:
  explicit ImageSet(const QStringList& keys);

  QStringList keys() const;
  bool hasKey(const QString& key) const;

  // The slot's image; a null image when the slot is empty or the key is unknown.
  QImage image(const QString& key) const;

  // Puts an image into the key's slot (a null image empties it); false for an unknown key.
  bool setImage(const QString& key, const QImage& image);

 private:
  struct Slot {
    QString key;
    QImage image;
  };
  std::vector<Slot> slots_;
};

// "Convert", "InFiles", "InFolder".
const QStringList& bigButtonKeys();
// The 22 keys shared by the menu icons and the toolbar icons, "New" to "About".
const QStringList& iconKeys();

// The three sets, created with their keys and empty slots. Owned by the start-up code.
struct ImageSets {
  ImageSet bigButtons{bigButtonKeys()};
  ImageSet menuIcons{iconKeys()};
  ImageSet toolbarIcons{iconKeys()};
};

// Pixel size of the main toolbar's icons for `Interface/UI Size`: 0 -> 16, 1 -> 24, 2 -> 32,
// 3 -> 48, 4 -> 64, anything else -> 16.
int toolbarIconSize(int32_t uiSize);

// Fills every slot with its built-in image: the big buttons (Convert 64x64, InFiles and
// InFolder 48x48) and one 16x16 icon per key, shared by the menu and toolbar sets.
// Returns false when a built-in image could not be read (its slot is then empty).
bool loadBuiltInImages(ImageSets& sets);

// The About window's banner: 360x40, 24-bit RGB, titled "Lumavane JPG to HDR".
QImage aboutBanner();

}  // namespace themes
