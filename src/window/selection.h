#pragma once
// The selected rows of a display, as commands see them.

#include <cstddef>
#include <string>
#include <vector>

#include "window/display_type.h"
#include "dlgthreads/records.h"

namespace window {

struct Selection {
  display::DisplayType type = display::DisplayType::None;
  // Each selected row's first column, top to bottom; for a tree, the
  // current node's text.
  std::vector<std::string> names;
  // The records behind the rows, in the same order, for the lists that hold
  // records. They belong to the display and stay valid until its next fill,
  // so a command uses them while it runs and does not keep them.
  std::vector<const dlgthreads::UserRecord*> users;
  std::vector<const dlgthreads::GroupRecord*> groups;
  std::vector<const dlgthreads::ServerRecord*> servers;

  bool empty() const { return names.empty(); }
  std::size_t size() const { return names.size(); }
};

}  // namespace window
