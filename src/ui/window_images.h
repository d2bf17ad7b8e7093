// The pictures windows show: the current image of a key in one of the three image sets.
#pragma once

#include <QIcon>
#include <QString>

struct GuiContext;

enum class ImageSetName { BigButtons, MenuIcons, ToolbarIcons };

// An icon of the key's current image; an empty icon when the slot holds none.
QIcon setIcon(const GuiContext& context, ImageSetName set, const QString& key);

// Overlays the chosen sets with the current theme's images (after a theme or icon size change).
void reloadThemeImages(GuiContext& context, bool bigButtons, bool menuIcons, bool toolbarIcons);
