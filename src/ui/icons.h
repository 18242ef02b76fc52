#pragma once
// The window's own pictures: toolbar images by their index, the browse
// button's animation frames, the application icon and the splash picture.
// They live in the resource file (:/icons/toolbar/<index>.svg,
// :/icons/browse/<frame>.svg); a missing picture gives a null icon. The result
// lists' and trees' images are the display's IconSet.

#include <QIcon>
#include <QPixmap>

namespace ui {

// The toolbar's button images.
QIcon toolbarIcon(int index);
// Frame 0..7 of the browse button's animation; frame 0 is the resting image.
QIcon browseFrame(int frame);
inline constexpr int kBrowseFrames = 8;
QIcon appIcon();
QPixmap splashPicture();

}  // namespace ui
