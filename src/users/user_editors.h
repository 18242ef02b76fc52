#pragma once
// The editors behind the profile and script "... " buttons of the user
// dialog. Here an editor is the desktop's handler for the file the button
// names; when there is no local file to hand it, or nothing can be started,
// the message names the program that could not be started. Plain C++.

#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace ui {
class Messages;
class ProgramStarter;
}  // namespace ui

namespace users {

struct EditorRequest {
  // The program the request names, for the message.
  std::string program;
  // The file to edit; empty when the program is started without one.
  std::string file;
  // The string-table text shown when it cannot be started.
  unsigned failureText = 0;
};

// NT 4 starts the policy editor without a file; other systems the profile
// editor on the profile path.
EditorRequest profileEditor(const platform::OSVERSIONINFOA& version, std::string_view profile);
// The text editor on the script in the server's NETLOGON share.
EditorRequest scriptEditor(std::string_view server, std::string_view script);

// The local file behind `path`: an existing absolute path of this machine.
// A UNC path has no local folder (no share of the lab is mapped to one), a
// Windows drive path none either.
std::optional<std::string> localFileFor(std::string_view path);

// Hands the request's file to the desktop; the request's message when there
// is no local file or the start fails.
void startEditor(const EditorRequest& request, ui::ProgramStarter& starter,
                 ui::Messages& messages);

}  // namespace users
