#pragma once
// One display's browse without a window: the server, the display type and
// the settings go in; the display's worker runs on the calling thread; its
// records become the display's content, which the export then writes. The
// unattended run is one DisplaySession; the window starts the same workers
// from the same requests on a thread of their own (browseBlock).

#include <memory>
#include <string>

#include "dlgthreads/worker_frame.h"
#include "session/display_content.h"
#include "settings/settings_values.h"
#include "ui/messages.h"
#include "window/display_type.h"

namespace display {
struct DisplayTraits;
}

namespace session {

// What one browse is of.
struct BrowseRequest {
  display::DisplayType type = display::DisplayType::None;
  std::string server;  // as the user gave it, leading backslashes included
  settings::SettingsValues settings;
  std::string userName;  // Files, access rights form
};

// The worker block of a browse of `request` under `traits`, numbered
// `browseId`, with the request's settings, server and user name.
std::shared_ptr<dlgthreads::WorkerBlock> browseBlock(const display::DisplayTraits& traits,
                                                     BrowseRequest request,
                                                     std::uint64_t browseId);

// Runs the gathering of a browse of `request` under `traits` on the calling
// thread, its message boxes going to `messages`, and returns its finished
// block; null when the display gathers nothing under the request's
// settings, or its gathering handed nothing over.
std::shared_ptr<dlgthreads::WorkerBlock> gatherHere(const display::DisplayTraits& traits,
                                                    BrowseRequest request,
                                                    std::uint64_t browseId,
                                                    ui::Messages& messages);

class DisplaySession {
 public:
  explicit DisplaySession(display::DisplayType type);

  // Browses as the display's traits say, on this thread, and takes what the
  // worker gathered. The worker's message boxes go to `messages`. A display
  // whose browse gathers nothing holds nothing afterwards (filled false).
  FillOutcome browse(BrowseRequest request, ui::Messages& messages);

  display::DisplayType type() const { return m_type; }
  const DisplayContent& content() const { return *m_content; }
  // The status bar's server text of the last fill: domain, then server.
  const std::string& serverText() const { return m_serverText; }

 private:
  display::DisplayType m_type;
  std::unique_ptr<DisplayContent> m_content;
  std::string m_serverText;
};

}  // namespace session
