#pragma once
// The logon of a network backend (samba): its prompt wired to the logon
// port, the first question at start-up, and the one line an unattended run
// gives instead of asking. Nothing happens for a backend that needs no
// account (the lab).

#include <memory>
#include <string>

#include "platform/backend.h"
#include "ui/logon_prompt.h"

namespace app {

// True when the backend acts as an account it does not have yet (no
// authentication file, no Kerberos ticket cache).
bool needsLogon(const platform::Backend& backend);

// The line an unattended run prints (after "veltrane: ") when it has no
// account to act as: it never asks.
std::string noLogonLine();

// From now on the backend asks `prompt` for an account when it has none
// and again when a controller refuses it. The password is handed on and
// wiped here; it goes nowhere else.
void connectLogonPrompt(platform::Backend& backend, std::shared_ptr<ui::LogonPrompt> prompt);

// Asks once at start-up when the backend needs an account. False when the
// user cancelled (the program goes on; the next call that needs a
// controller asks again).
bool logOnAtStart(platform::Backend& backend);

}  // namespace app
