#include "users/user_editors.h"

#include <filesystem>
#include <system_error>

#include "resources/strings.h"
#include "ui/messages.h"
#include "ui/program_starter.h"

namespace users {

using namespace platform;

EditorRequest profileEditor(const OSVERSIONINFOA& version, std::string_view profile) {
  if (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 4)
    return {"POLEDIT.EXE", {}, 59330};
  return {"UPEDIT.EXE", std::string(profile), 59285};
}

EditorRequest scriptEditor(std::string_view server, std::string_view script) {
  EditorRequest request{"NOTEPAD.EXE", {}, 59286};
  if (script.empty()) return request;
  if (!server.starts_with("\\\\")) request.file = "\\\\";
  request.file += server;
  request.file += "\\NETLOGON\\";
  request.file += script;
  return request;
}

std::optional<std::string> localFileFor(std::string_view path) {
  if (path.empty() || path.front() != '/' || path.starts_with("//")) return std::nullopt;
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::path(path), error)) return std::nullopt;
  return std::string(path);
}

void startEditor(const EditorRequest& request, ui::ProgramStarter& starter,
                 ui::Messages& messages) {
  const std::optional<std::string> file = localFileFor(request.file);
  if (file && starter.openFile(*file)) return;
  messages.ok(res::str(request.failureText), res::programTitle());
}

}  // namespace users
