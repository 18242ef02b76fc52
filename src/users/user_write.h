#pragma once
// The OK step of the user properties dialog, in each of its modes. Every
// check runs before the first write, so a message that keeps the dialog
// open never leaves an account half changed. Plain C++: boxes go through
// ui::Messages.

#include <string_view>

#include "users/user_fields.h"

namespace ui {
class Messages;
}

namespace users {

enum class WriteResult { Close, StayOpen };

// The checks of a new or single account's OK step, each failure shown as its
// message: conflicting password options, a missing name for a new account,
// a password unlike its confirmation or too long. True when all pass. The
// copy of an account runs them too.
bool checksPass(const UserFields& fields, ui::Messages& messages);

// A new account is created first; from then on the fields are that
// account's single mode (its password set, so not set again), and an OK
// after a message that kept the dialog open edits it instead of creating
// it again. With `logging`, the creation is reported to the event log.
WriteResult writeUser(std::string_view server, UserFields& fields, bool logging,
                      ui::Messages& messages);

}  // namespace users
