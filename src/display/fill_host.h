#pragma once
// What the result display needs of the main window besides its views: the
// per-display texts, the status bar and the end of the busy state. The
// window implements this; tests use a recording stand-in. Everything here is
// called on the GUI thread.

#include <string>
#include <string_view>

#include "display/display_views.h"

namespace display {

// The two per-display texts: status bar part 2 (server) and part 3 (count).
struct DisplayTexts {
  std::string server;
  std::string count;
  bool operator==(const DisplayTexts&) const = default;
};

class FillHost : public DisplayViews {
 public:
  // The per-display texts the window keeps for each display type.
  virtual void setDisplayTexts(DisplayType type, DisplayTexts texts) = 0;
  virtual DisplayTexts displayTexts(DisplayType type) const = 0;
  // Puts texts into status parts 2 and 3.
  virtual void showStatusTexts(const DisplayTexts& texts) = 0;
  // Puts a note into status part 0 in place of "Ready", until the next
  // browse begins.
  virtual void showStatusNote(std::string_view note) = 0;

  // Ends the busy state of the browse controller.
  virtual void endBusy() = 0;
  // Enables the first item of the Edit menu again; false when the menu
  // cannot be reached.
  virtual bool enableFirstEditItem() = 0;
};

}  // namespace display
