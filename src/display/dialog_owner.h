#pragma once
// The window a command's dialog belongs to: found through the result views,
// so commands keep seeing the window only as its context.

class QWidget;

namespace display {

class DisplayViews;

// The window that holds the current display's list or tree; nullptr when
// it shows none.
QWidget* dialogOwner(DisplayViews& views);

}  // namespace display
