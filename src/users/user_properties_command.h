#pragma once
// Opening the user properties dialog from the Users display: one account
// at a time (Properties (Cyclic), a double click), the selection at once
// (Properties (Combined)), and a new account (Add).

#include <string>

namespace ui {
class ProgramStarter;
}
namespace window {
class WindowContext;
}

namespace users {

enum class Opened { Ok, Cancel, Unreadable };

// Asks before opening on a server that is not a domain controller; false
// when the user said No.
bool serverConfirmed(window::WindowContext& context);

// One account's dialog, after the domain-controller question.
Opened ShowUserProperties(window::WindowContext& context, const std::string& name,
                          ui::ProgramStarter& programs);
// Every selected account in one dialog.
void ShowUserPropertiesCombined(window::WindowContext& context);
// Each selected account's dialog in list order, up to the first Cancel.
void editUsers(window::WindowContext& context);
// The dialog in its new-account mode.
void addUser(window::WindowContext& context);

}  // namespace users
