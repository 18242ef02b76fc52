#pragma once
// Copy and Delete on the Users display, and the report after a failed user
// request.

#include "platform/types.h"

namespace ui {
class Messages;
}
namespace window {
class WindowContext;
}

namespace users {

// The code that asks for no report: the request was already reported.
inline constexpr platform::DWORD kAlreadyReported = 666;

// The general error box after a failed user request; the code is not shown.
void ReportUserRequestError(ui::Messages& messages, platform::DWORD code);

// Copies the one selected account under a name the user gives: disabled,
// with the source's memberships.
void copyUser(window::WindowContext& context);
// Deletes the selected accounts, asking as the user chose.
void deleteUsers(window::WindowContext& context);

}  // namespace users
