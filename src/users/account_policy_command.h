#pragma once
// Tools > Account Policies: the browse server's policy in its dialog.

namespace window {
class WindowContext;
}

namespace users {

void editAccountPolicy(window::WindowContext& context);

}  // namespace users
