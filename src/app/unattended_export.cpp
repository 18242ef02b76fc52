#include "app/unattended_export.h"

#include <QString>

#include <cstdio>
#include <string>

#include "app/startup.h"
#include "app/unattended_messages.h"
#include "app/window_texts.h"
#include "resources/strings.h"
#include "session/display_content.h"
#include "session/display_session.h"
#include "session/display_traits.h"
#include "settings/settings_store.h"
#include "transfer/export_display.h"
#include "transfer/export_format.h"

namespace app {
namespace {

using display::DisplayType;

// What the run prints for a failed export.
std::string exportFailure(const transfer::AutomaticExportOutcome& outcome, DisplayType type,
                          const std::string& file) {
  if (!outcome.written) return "nothing was written to " + file;
  if (outcome.result.ok()) return {};
  std::string failure;
  switch (outcome.result.error) {
    case transfer::ExportError::NotSupported:
      failure = "the " + std::string(display::tabText(type)) +
                " display cannot be exported in the chosen format";
      break;
    case transfer::ExportError::CannotCreateFile:
      failure = "could not create " + file;
      break;
    default:
      failure = "could not write " + file;
      break;
  }
  if (!outcome.result.detail.empty()) failure += " (" + outcome.result.detail + ")";
  return failure;
}

// The settings the run browses with: this server's stored ones, with the
// request's member rows.
settings::SettingsValues runSettings(const std::string& start, bool members,
                                     ui::Messages& messages) {
  settings::SettingsValues values;
  settings::ServerList servers;
  servers.entries.push_back(start);
  servers.selected = 0;
  settings::SettingsStore(messages, res::programTitle()).load(values, servers);
  // Show Members never survives a restart; only --members asks for it.
  values.g_show_members = members ? 1 : 0;
  return values;
}

}  // namespace

int runUnattendedExport(const AutoCommand& command) {
  UnattendedMessages messages;
  if (!platformSupported(messages)) {
    std::fprintf(stderr, "veltrane: this platform is not supported\n");
    return 1;
  }
  // The run browses the server it was given, as the only entry of its
  // server list: the domain's own controller is never looked for (a
  // round trip to the network before the first call that was asked for).
  session::BrowseRequest request;
  request.type = command.displayType;
  // Server names are kept in upper case, as the window's server list shows them.
  request.server = QString::fromStdString(command.server).toUpper().toStdString();
  request.settings = runSettings(request.server, command.members, messages);
  if (command.displayType == DisplayType::Files) {
    request.settings.f_display_type = command.filesDisplayType;
    if (command.filesDisplayType == 1)
      request.userName = command.startDirectory;
    else
      request.settings.f_root_path = command.startDirectory;
  }
  const settings::SettingsValues shown = request.settings;

  session::DisplaySession browsed(command.displayType);
  const session::FillOutcome filled = browsed.browse(std::move(request), messages);
  for (const std::string& message : filled.messages) messages.ok(message, res::programTitle());

  // A display without an export of its own writes the (empty) Users list.
  const DisplayType exported = transfer::exportedDisplay(command.displayType);
  std::unique_ptr<session::DisplayContent> other;
  const session::DisplayContent* content = &browsed.content();
  if (exported != command.displayType) {
    other = session::makeContent(exported);
    other->prepare(shown);
    content = other.get();
  }
  // Every message this program shows reports a failure, so one shown during
  // the run means the export may not hold what was asked for; a run that
  // failed and found nothing leaves the file alone.
  const transfer::AutomaticExportOutcome outcome = transfer::automaticExport(
      transfer::contentSource(*content, exported, shown), command.exportFile,
      static_cast<long>(shown.x_export_type), messages, !messages.lines().empty());

  std::string failure = exportFailure(outcome, command.displayType, command.exportFile);
  for (const std::string& line : messages.lines()) {
    if (!failure.empty()) failure += "; ";
    failure += line;
  }
  if (failure.empty()) return 0;
  std::fprintf(stderr, "veltrane: %s\n", failure.c_str());
  return 1;
}

}  // namespace app
