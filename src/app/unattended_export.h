#pragma once
// The unattended browse-and-export (KEYWORD SERVER FILE): one display
// session, no window and no GUI. The backend is installed; the run browses
// the server's display on this thread, exports it and says in one line on
// standard error what failed. 0 on success.

#include "app/command_line.h"

namespace app {

int runUnattendedExport(const AutoCommand& command);

}  // namespace app
