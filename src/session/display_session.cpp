#include "session/display_session.h"

#include <optional>

#include "session/display_traits.h"

namespace session {
namespace {

// The worker's side of a browse that runs on the caller's thread: its
// status texts go nowhere, its boxes to the caller's port, and its block
// comes back when it ends.
class CallerHost final : public dlgthreads::WorkerHost {
 public:
  explicit CallerHost(ui::Messages& messages) : m_messages(messages) {}
  void setStatusText(std::string) override {}
  ui::Messages& messages() override { return m_messages; }
  void workFinished(std::shared_ptr<dlgthreads::WorkerBlock> block) override {
    m_finished = std::move(block);
  }
  std::shared_ptr<dlgthreads::WorkerBlock> finished() { return std::move(m_finished); }

 private:
  ui::Messages& m_messages;
  std::shared_ptr<dlgthreads::WorkerBlock> m_finished;
};

}  // namespace

std::shared_ptr<dlgthreads::WorkerBlock> browseBlock(const display::DisplayTraits& traits,
                                                     BrowseRequest request,
                                                     std::uint64_t browseId) {
  auto block = std::make_shared<dlgthreads::WorkerBlock>();
  block->kind = *traits.work;
  block->browseId = browseId;
  block->sharesFlag = request.settings.n_Shares_Disk != 0 || request.settings.n_Shares_Printer != 0;
  block->state.settings = std::move(request.settings);
  block->state.recordCount = 0;
  block->state.selectedServer = std::move(request.server);
  block->userName = std::move(request.userName);
  return block;
}

std::shared_ptr<dlgthreads::WorkerBlock> gatherHere(const display::DisplayTraits& traits,
                                                    BrowseRequest request,
                                                    std::uint64_t browseId,
                                                    ui::Messages& messages) {
  if (!display::gathers(traits, request.settings)) return nullptr;
  auto host = std::make_shared<CallerHost>(messages);
  auto block = browseBlock(traits, std::move(request), browseId);
  block->host = host;
  dlgthreads::ResetWork(block->kind);
  traits.worker(block);
  block->host.reset();
  return host->finished();
}

DisplaySession::DisplaySession(display::DisplayType type)
    : m_type(type), m_content(makeContent(type)) {}

FillOutcome DisplaySession::browse(BrowseRequest request, ui::Messages& messages) {
  const display::DisplayTraits& traits = display::traitsOf(m_type);
  m_content->prepare(request.settings);
  if (!display::gathers(traits, request.settings)) {
    m_content->clear();
    return {.filled = false};
  }
  const std::string server = request.server;
  const settings::SettingsValues shown = request.settings;
  const std::shared_ptr<dlgthreads::WorkerBlock> finished =
      gatherHere(traits, std::move(request), 1, messages);
  if (!finished) return {.filled = false};
  FillOutcome outcome = m_content->adopt(*finished, shown);
  if (outcome.filled) m_serverText = finished->domainName + server;
  return outcome;
}

}  // namespace session
