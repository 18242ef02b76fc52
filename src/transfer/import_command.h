#pragma once
// File > Import: runs the wizard on the browse server, then shows the change
// in the Users or Groups list.

namespace window {
class WindowContext;
}

namespace transfer {

void importCommand(window::WindowContext& context);

}  // namespace transfer
