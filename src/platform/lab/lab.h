#pragma once
// The lab: a simulated NT network served through the platform API.
//
// A lab loaded from a file records every change in a journal beside the file
// (see journal.h) before the change is reported done, and folds the journal
// back into the file (atomically) when it grows large and when the lab is
// destroyed. Only one process at a time may have a lab file open. Labs made
// from JSON text or by the generator live in memory only. A lab may be read
// by several threads while one writes.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/backend.h"
#include "platform/eventlog.h"
#include "platform/lab/change_set.h"

namespace lab {

struct Network;
class ChangeSet;
struct LabFile;

class Lab {
 public:
  // A memory-only lab.
  explicit Lab(std::unique_ptr<Network> network);
  // A lab kept in a file; see loadLabFile.
  Lab(std::unique_ptr<Network> network, std::unique_ptr<LabFile> file);
  // Folds the journal into the lab file and lets other processes open it.
  ~Lab();
  Lab(const Lab&) = delete;
  Lab& operator=(const Lab&) = delete;

  // Who the program runs as ("DOMAIN\\name") and on which machine.
  void logOn(std::string_view domainAndAccount);
  void setLocalMachine(std::string_view name);
  std::string loggedOn() const;
  std::string localMachine() const;

  // The whole lab in its file format.
  std::string toJson() const;
  // A machine's event log, oldest first (empty for an unknown machine).
  std::vector<platform::EventRecord> eventLog(std::string_view machine) const;

  // Test set-up helpers; they change the lab like any other change.
  // Each returns false when the machine is unknown.
  bool setReachable(std::string_view machine, bool reachable);
  bool setRemoteRegistry(std::string_view machine, bool reachable);
  // Makes `operation` (e.g. "NetQueryDisplayInformation") on `machine`
  // answer `status` whoever asks; status 0 removes the refusal.
  bool refuseOperation(std::string_view machine, std::string_view operation,
                       platform::DWORD status);
  // Fixes the clock the lab reads (seconds since 1970); 0 = the real clock.
  void setClock(std::int64_t now);

  // The file this lab writes itself back to; empty for a memory-only lab.
  const std::string& path() const { return m_path; }
  // The message of the last failed write-back, empty after a good one.
  std::string lastSaveError() const;

  // Runs `f` on the network under the shared (read) lock.
  void read(const std::function<void(const Network&)>& f) const;
  // Runs `f` under the exclusive lock. `f` names in the ChangeSet everything
  // it changed; when it returns true and named something, the change is
  // recorded in the journal (file labs) before write returns. Returns false
  // when recording failed, in which case the lab returns to what its file
  // and journal hold.
  bool write(const std::function<bool(Network&, ChangeSet&)>& f);
  // How many writes have run; what was worked out from the network under a
  // read lock holds while this stays the same.
  std::uint64_t writes() const { return m_writes.load(); }

  // A batch of changes made by the calling thread: their journal records
  // are synced together when the outermost batch ends, rather than one by
  // one (a kill still leaves a prefix of whole records). Changes of other
  // threads are synced as always. beginBatch is false when another thread
  // holds a batch; endBatch false when the sync failed (lastSaveError says
  // why).
  bool beginBatch();
  bool endBatch();

  // Writes the journal's changes into the lab file now and empties the
  // journal; true when there was nothing to do. Also done when the journal
  // outgrows journalLimit() and when the lab is destroyed.
  bool foldJournal();
  // Writes the whole lab into its file now, and empties the journal, even
  // when the journal holds nothing (the file's form itself must change).
  bool writeBack();
  // Bytes the journal may grow to before it is folded.
  void setJournalLimit(std::uint64_t bytes);

  std::int64_t now() const;

 private:
  bool foldLocked(bool always = false);
  void restoreLocked();

  mutable std::shared_mutex m_mutex;
  std::unique_ptr<Network> m_network;
  std::unique_ptr<LabFile> m_file;
  std::string m_path;
  std::string m_lastSaveError;
  std::atomic<std::int64_t> m_clock{0};
  std::atomic<std::uint64_t> m_writes{0};
  int m_batchDepth = 0;
  std::thread::id m_batchThread;
};

// Loads a lab file and replays its journal; the lab writes its changes back
// to it. On failure (including another process having the file open)
// returns null and says in *error which file, where and what is wrong.
std::shared_ptr<Lab> loadLabFile(const std::string& path, std::string* error);
// Makes a memory-only lab from JSON text; sourceName names it in messages.
std::shared_ptr<Lab> labFromJson(std::string_view json, std::string_view sourceName,
                                 std::string* error);

struct GeneratorOptions {
  int users = 1000;
  int groups = 100;
  int localGroups = 10;
  int servers = 10;
  int domainControllers = 2;
  int membersPerGroup = 20;
  std::uint32_t seed = 1;
};
// A memory-only lab of one domain, the same for the same options.
std::shared_ptr<Lab> generateLab(const GeneratorOptions& options);

// A memory-only lab of `domains` domains (NET00, NET01 …) of
// `serversPerDomain` servers each, every server with `sharesPerServer` disk
// shares: a network to walk, the same for the same figures.
std::shared_ptr<Lab> generateNetworkLab(int domains, int serversPerDomain, int sharesPerServer);

// The lab built into the program.
std::string_view defaultLabJson();
// The user's own copy of the default lab ($XDG_DATA_HOME/veltrane/lab.json,
// else ~/.local/share/veltrane/lab.json), made on first use. Returns its
// path, or empty with *error set.
std::string ensureDefaultLab(std::string* error);

// The platform backend that serves a lab.
std::shared_ptr<platform::Backend> makeLabBackend(std::shared_ptr<Lab> lab);
// Starts the lab backend by name: option "file" is the lab file, none (or
// empty) the user's copy of the default lab.
platform::BackendFactory labBackendFactory();

}  // namespace lab
