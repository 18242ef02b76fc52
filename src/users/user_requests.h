#pragma once
// Copy and Delete on the Users display.

#include "platform/types.h"

namespace ui {
class Messages;
}
namespace window {
class WindowContext;
}

namespace users {

// Copies the one selected account under the name, full name and password
// the user gives (disabled when given none), with the source's memberships.
void copyUser(window::WindowContext& context);
// Deletes the selected accounts, asking as the user chose.
void deleteUsers(window::WindowContext& context);

}  // namespace users
