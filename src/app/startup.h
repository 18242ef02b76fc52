#pragma once
// Start-up: the platform check, the backend, the window, the run.

#include <memory>
#include <string>
#include <string_view>

#include "app/command_line.h"
#include "ui/messages.h"

#include "platform/backend.h"

namespace app {

// True on Windows NT; otherwise shows the refusal (text 59289, caption
// "Brisle's Veltrane") and the program must end without a window.
bool platformSupported(ui::Messages& messages);

// The backends the program knows by name.
platform::BackendCatalog backendCatalog();

// The backend the options name (the lab of `labFile`, or the user's copy of
// the default lab when it is empty). A backend that leaves the local system
// to the machine gets this Linux machine's, with the settings in the user's
// settings file. Null with *error set (one line) when it cannot start.
std::shared_ptr<platform::Backend> makeBackend(const platform::BackendCatalog& catalog,
                                               const Options& options, std::string* error);

// The one line standard error gets when the backend (the lab: its file)
// cannot start, from its error text (which may span lines).
std::string backendFailureLine(std::string_view backend, std::string_view error);

// Makes the resources of the program's library known to Qt.
void initResources();

// The whole program; returns its exit code.
int runApplication(int argc, char** argv);

}  // namespace app
