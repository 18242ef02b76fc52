#pragma once
// The frame every browse worker runs in.
//
// A browse gets a fresh WorkerBlock that owns everything the worker writes;
// the worker touches nothing else. When the outermost level of a worker ends
// (its kind's busy counter returns to 0), FinishWork hands the block to the
// host, which fills the display on its own (GUI) thread. Stopping a browse
// sets the block's cancel flag: the worker checks it between platform calls
// and leaves, and a cancelled block is never handed over (the host is not
// called at all, so the window simply keeps its "User terminated browse."
// state). A hand-over can still race a stop that comes after the worker's
// last check; the host tells its current browse by the block's browseId and
// drops anything else.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dlgthreads/browse_state.h"
#include "dlgthreads/quota_data.h"
#include "dlgthreads/record_holder.h"
#include "dlgthreads/records.h"
#include "platform/dsgetdc.h"
#include "ui/messages.h"

namespace dlgthreads {

// Index of a worker family into the busy counters.
enum class WorkKind : int {
  Files = 0,
  Network = 1,
  Groups = 2,
  Users = 3,
  Servers = 4,
  Quotas = 5,
  Licenses = 6,
  Performance = 7,
  Trusts = 8,  // gathered on the window's thread, in the same frame
};

struct WorkerBlock;

// The main window as a worker sees it. Every call may come from a worker
// thread; implementations forward to the GUI thread.
class WorkerHost {
 public:
  virtual ~WorkerHost() = default;
  // Status bar part 2 (SetStatusText). Workers call this often (once per
  // account in a Users browse), so the window should coalesce updates.
  virtual void setStatusText(std::string text) = 0;
  // Message boxes without an owner window; show() waits for the answer and
  // holds up only the calling worker.
  virtual ui::Messages& messages() = 0;
  // The finished block, once per browse that was not cancelled. The records
  // belong to the window from here on.
  virtual void workFinished(std::shared_ptr<WorkerBlock> block) = 0;
};

// Everything one browse's worker reads and writes. Only the members of the
// block's work kind are used; the others stay empty and cost nothing.
struct WorkerBlock {
  WorkKind kind = WorkKind::Users;
  // Lets the host tell this browse from an earlier, stopped one.
  std::uint64_t browseId = 0;
  // A copy of the window's settings, the record count, the selected server.
  BrowseState state;
  std::shared_ptr<WorkerHost> host;

  RecordHolder<GroupRecord> groups;     // Groups
  RecordHolder<UserRecord> users;       // Users
  RecordHolder<ServerRecord> servers;   // Servers; Licenses leaves its holder untouched
  RecordHolder<ServerRecord> licenses;  // Licenses
  RecordHolder<QuotaRecord> quotas;     // Quotas
  FilesArea files;                      // Files, size per user and rights dump
  AccessTreeLines accessTree;           // Files, directory access rights
  NetworkLines network;                 // Network
  PerformanceLines performance;         // Performance
  std::vector<platform::DS_DOMAIN_TRUSTS> trusts;  // Trusts, in the order the server gave them
  std::string directoryPath;            // Files and Performance walks: the start directory
  std::string userName;                 // Files, directory access rights
  bool userNameKnown = false;           // Files: userName is a user or local group
  // Files, access rights: false when the user's groups could not be read, so
  // the display is left as it was.
  bool accessTreeWalked = false;

  // What the fill shows besides the records. The fill runs on the window's
  // thread, which must never wait for a server, so the worker reads these
  // before it hands the block over: the browse server's domain, which goes
  // in front of the server text in the status bar ("" when unknown).
  std::string domainName;
  bool sharesFlag = false;              // Network: descend into shares
  // Network: the walk found more than the lines hold (the fill says so once).
  bool networkLinesDropped = false;
  // Why the server refused the browse, in the words of the last refusal
  // the worker's message boxes told (showRefusal); "" when none was. The
  // window's status bar says it too, so a list left empty says why.
  std::string refusal;

  std::atomic<bool> cancel{false};
  // Nesting depth of BeginWork/FinishWork for this block (recursive walks).
  std::atomic<int> depth{0};

  bool cancelled() const { return cancel.load(std::memory_order_acquire); }
  void requestCancel() { cancel.store(true, std::memory_order_release); }
};

// The busy counters, one per work kind. They mirror what the workers of each
// kind are doing for anyone who asks; the hand-over itself is decided by the
// block's own depth, so a stopped worker that is still unwinding cannot
// disturb the counter of a browse started after it.
class BusyCounters {
 public:
  static constexpr int kKinds = 9;

  std::int32_t value(WorkKind kind) const {
    return m_counters[index(kind)].load(std::memory_order_acquire);
  }
  std::int32_t add(WorkKind kind, std::int32_t delta) {
    return m_counters[index(kind)].fetch_add(delta, std::memory_order_acq_rel) + delta;
  }
  void reset(WorkKind kind) { m_counters[index(kind)].store(0, std::memory_order_release); }

 private:
  static std::size_t index(WorkKind kind) { return static_cast<std::size_t>(kind); }
  std::array<std::atomic<std::int32_t>, kKinds> m_counters{};
};

// The program's one set of busy counters.
BusyCounters& busyCounters();

// Sets the kind's counter to 0; the controller calls it before each start.
void ResetWork(WorkKind kind);
// Enters one level of work (every worker first; recursive walks per level).
// The busy counter is left alone for a cancelled block.
void BeginWork(WorkerBlock& block);
// Leaves one level. When the block's outermost level ends and the block was
// not cancelled, hands the block to its host. Returns true when the
// outermost level has ended; the worker must then return at once (this is
// where the thread ends).
bool FinishWork(const std::shared_ptr<WorkerBlock>& block);
// Reads what the fill shows besides the records (WorkerBlock::domainName)
// on the worker's thread; FinishWork does it before the hand-over.
void readFillFacts(WorkerBlock& block);
// Progress text for status bar part 2.
void SetStatusText(const WorkerBlock& block, std::string text);
// A worker's message box (OK button): waits for the answer.
void showWorkerMessage(const WorkerBlock& block, std::string text, std::string caption,
                       ui::Icon icon = ui::Icon::None);
// The message box of a refusal (a server that would not answer the browse,
// or not all of it): shown as showWorkerMessage, and kept as the block's
// refusal.
void showRefusal(WorkerBlock& block, std::string text, std::string caption,
                 ui::Icon icon = ui::Icon::None);

}  // namespace dlgthreads
