#pragma once
// Copy and Delete of the Groups display, on the browse server and the
// selected rows. After a change the list is browsed again, so it shows it.

namespace window {
class WindowContext;
}

namespace groups {

// Opens Group Properties for a new group.
void addGroup(window::WindowContext& context);
// Opens Group Properties once for each selected row, in list order.
void editGroups(window::WindowContext& context);
// Copies the one selected group (global or local) with its comment and
// members under a name the user types.
void copyGroup(window::WindowContext& context);
// Deletes each selected group after its own confirmation.
void deleteGroups(window::WindowContext& context);

}  // namespace groups
