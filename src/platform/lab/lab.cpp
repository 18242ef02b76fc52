#include "platform/lab/lab.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "platform/lab/file_lock.h"
#include "platform/lab/journal.h"
#include "platform/lab/journal_records.h"
#include "platform/lab/lab_json.h"
#include "platform/lab/model.h"

namespace lab {

using platform::writeFileAtomically;

// A lab file held open by this process.
struct LabFile {
  explicit LabFile(const std::string& labPath) : path(labPath), journal(labPath) {}
  std::string path;
  FileLock lock;
  Journal journal;
  LabIdentity identity;  // of the lab file's content, which the journal follows
  std::uint64_t journalLimit = 0;
};

namespace {

// A journal this large is folded into the lab file: large enough that the
// fold's cost (the whole file) is spread over many changes, small enough
// that replaying it on the next start stays quick.
std::uint64_t defaultJournalLimit(std::uint64_t labSize) {
  return std::max<std::uint64_t>(4u << 20, labSize / 4);
}

// The temporary files a fold writes before renaming one over the lab file
// are named the lab's name, this, then six random characters. A link at the
// lab's own name is replaced, never written through.
platform::ReplacementOptions foldingOptions() {
  platform::ReplacementOptions options;
  options.followLink = false;
  options.temporaryInfix = ".folding-";
  return options;
}

// Whether closing the lab should fold its journal into the file: a small
// lab is cheap to rewrite, so it is left whole; a big one keeps its journal
// (at most a quarter of the file, folded as it grows past that) for the
// next load to replay — replaying even a full journal costs a fraction of a
// rewrite, and a session of a few changes no longer rewrites tens of
// megabytes on the way out.
bool foldPaysOnClose(std::uint64_t labSize, std::uint64_t journalSize) {
  constexpr std::uint64_t kSmallLab = 4u << 20;
  return journalSize > 0 && labSize <= kSmallLab;
}

std::string quotedPath(const std::string& path) {
  std::string q = "'";
  for (char c : path) {
    if (c == '\'') q += "'\\''";
    else q += c;
  }
  return q + "'";
}

// Whether any account was read from a password in clear; clears the marks.
bool forgetClearPasswords(Network& net) {
  bool any = false;
  auto sweep = [&](Sam& sam) {
    for (auto& u : sam.users) {
      any = any || u.passwordReadInClear;
      u.passwordReadInClear = false;
    }
  };
  for (auto& d : net.domains) sweep(d.sam);
  for (auto& m : net.machines) if (m.sam) sweep(*m.sam);
  return any;
}

// Reads the lab file and replays its journal onto it.
std::unique_ptr<Network> readLabAndJournal(const std::string& path, LabFile& file,
                                           std::string* error) {
  std::unique_ptr<Network> net;
  {
    LabText text;
    if (!text.load(path, error)) return nullptr;
    file.identity = identityOf(text.view());
    net = parseLabQuickly(text);
  }
  if (!net) {
    // Read again the slow way, which names the fault.
    std::string text;
    if (!readLabFile(path, &text, error)) return nullptr;
    net = parseLab(text, path, error);
    if (!net) return nullptr;
  }
  std::vector<std::string> records;
  Journal::Found found = Journal::Found::Nothing;
  if (!file.journal.read(file.identity, &records, &found, error)) return nullptr;
  if (found == Journal::Found::Folded) {
    // The program stopped between writing the lab file and removing the
    // journal: its changes are in the file already, never to apply twice.
    if (!file.journal.remove(error)) return nullptr;
  }
  if (found == Journal::Found::OtherContent) {
    const std::string& journal = file.journal.path();
    if (error) {
      *error = journal + ": this journal was not written for " + path +
               " as it is now (the lab file was replaced or edited since), so its changes "
               "cannot be applied; nothing was changed. To open the lab without them, move "
               "the journal aside: mv " + quotedPath(journal) + " " + quotedPath(journal + ".set-aside");
    }
    return nullptr;
  }
  for (std::size_t i = 0; i < records.size(); ++i) {
    std::string why;
    if (!applyChanges(*net, records[i], &why)) {
      if (error) {
        *error = file.journal.path() + ": change " + std::to_string(i + 1) + ": " + why +
                 "; nothing was changed";
      }
      return nullptr;
    }
  }
  if (!records.empty()) {
    std::string why;
    if (!checkReplayedNetwork(*net, &why)) {
      if (error) {
        *error = file.journal.path() + ": after change " + std::to_string(records.size()) + ": " +
                 why + "; nothing was changed";
      }
      return nullptr;
    }
  }
  return net;
}

}  // namespace

Lab::Lab(std::unique_ptr<Network> network) : m_network(std::move(network)) {}

Lab::Lab(std::unique_ptr<Network> network, std::unique_ptr<LabFile> file)
    : m_network(std::move(network)), m_file(std::move(file)) {
  if (m_file) m_path = m_file->path;
}

Lab::~Lab() {
  std::unique_lock lock(m_mutex);
  if (!m_file) return;
  std::string ignored;
  // Changes of a batch left open are synced all the same.
  m_file->journal.sync(&ignored);
  // A fold that fails (or is not worth it) leaves the journal, which the
  // next load replays.
  if (foldPaysOnClose(m_file->identity.size, m_file->journal.size())) foldLocked();
}

void Lab::logOn(std::string_view domainAndAccount) {
  write([&](Network& n, ChangeSet& changes) {
    if (n.loggedOn == domainAndAccount) return true;
    n.loggedOn = std::string(domainAndAccount);
    changes.session();
    return true;
  });
}

void Lab::setLocalMachine(std::string_view name) {
  write([&](Network& n, ChangeSet& changes) {
    if (n.localMachine == name) return true;
    n.localMachine = std::string(name);
    changes.session();
    return true;
  });
}

std::string Lab::loggedOn() const {
  std::shared_lock lock(m_mutex);
  return m_network->loggedOn;
}

std::string Lab::localMachine() const {
  std::shared_lock lock(m_mutex);
  return m_network->localMachine;
}

std::string Lab::toJson() const {
  std::shared_lock lock(m_mutex);
  return writeLab(*m_network);
}

std::vector<platform::EventRecord> Lab::eventLog(std::string_view machine) const {
  std::shared_lock lock(m_mutex);
  if (const Machine* m = m_network->findMachine(machine)) return m->eventLog;
  return {};
}

bool Lab::setReachable(std::string_view machine, bool reachable) {
  bool found = false;
  write([&](Network& n, ChangeSet& changes) {
    Machine* m = n.findMachine(machine);
    if (!m) return false;
    found = true;
    if (m->reachable == reachable) return true;
    m->reachable = reachable;
    changes.machine(*m);
    return true;
  });
  return found;
}

bool Lab::setRemoteRegistry(std::string_view machine, bool reachable) {
  bool found = false;
  write([&](Network& n, ChangeSet& changes) {
    Machine* m = n.findMachine(machine);
    if (!m) return false;
    found = true;
    if (m->remoteRegistry == reachable) return true;
    m->remoteRegistry = reachable;
    changes.machine(*m);
    return true;
  });
  return found;
}

bool Lab::refuseOperation(std::string_view machine, std::string_view operation,
                          platform::DWORD status) {
  bool found = false;
  write([&](Network& n, ChangeSet& changes) {
    Machine* m = n.findMachine(machine);
    if (!m) return false;
    found = true;
    const std::string op(operation);
    auto it = m->refusals.find(op);
    if (status == 0) {
      if (it == m->refusals.end()) return true;
      m->refusals.erase(it);
    } else {
      if (it != m->refusals.end() && it->second == status) return true;
      m->refusals[op] = status;
    }
    changes.machine(*m);
    return true;
  });
  return found;
}

void Lab::setClock(std::int64_t now) {
  m_clock = now;
}

std::int64_t Lab::now() const {
  const auto fixed = m_clock.load();
  return fixed != 0 ? fixed : static_cast<std::int64_t>(std::time(nullptr));
}

std::string Lab::lastSaveError() const {
  std::shared_lock lock(m_mutex);
  return m_lastSaveError;
}

void Lab::read(const std::function<void(const Network&)>& f) const {
  std::shared_lock lock(m_mutex);
  f(*m_network);
}

bool Lab::write(const std::function<bool(Network&, ChangeSet&)>& f) {
  std::unique_lock lock(m_mutex);
  ++m_writes;
  ChangeSet changes;
  if (!f(*m_network, changes) || changes.empty() || !m_file) return true;
  std::string error;
  std::string record;
  try {
    record = encodeChanges(*m_network, changes);
  } catch (const std::exception& e) {
    // Text the calls let through that JSON cannot hold: the change is
    // refused like one the disk refused, rather than ending the program.
    error = std::string("the change cannot be written: ") + e.what();
  }
  // Inside the batch of the calling thread the record is synced with the
  // rest of the batch; any other change is synced (with whatever came
  // before it) before it is reported done.
  const bool inBatch = m_batchDepth > 0 && m_batchThread == std::this_thread::get_id();
  if (record.empty() || !m_file->journal.append(m_file->identity, record, !inBatch, &error)) {
    m_lastSaveError = error;
    restoreLocked();
    return false;
  }
  m_lastSaveError.clear();
  // The change is safe in the journal already; a fold that fails is tried
  // again after the next change.
  if (m_file->journal.size() > m_file->journalLimit) foldLocked();
  return true;
}

bool Lab::beginBatch() {
  std::unique_lock lock(m_mutex);
  if (m_batchDepth > 0 && m_batchThread != std::this_thread::get_id()) return false;
  m_batchThread = std::this_thread::get_id();
  ++m_batchDepth;
  return true;
}

bool Lab::endBatch() {
  std::unique_lock lock(m_mutex);
  if (m_batchDepth == 0 || m_batchThread != std::this_thread::get_id()) return true;
  if (--m_batchDepth > 0 || !m_file) return true;
  std::string error;
  if (m_file->journal.sync(&error)) return true;
  m_lastSaveError = error;
  return false;
}

bool Lab::foldJournal() {
  std::unique_lock lock(m_mutex);
  return foldLocked();
}

bool Lab::writeBack() {
  std::unique_lock lock(m_mutex);
  return foldLocked(true);
}

void Lab::setJournalLimit(std::uint64_t bytes) {
  std::unique_lock lock(m_mutex);
  if (m_file) m_file->journalLimit = bytes;
}

bool Lab::foldLocked(bool always) {
  if (!m_file || (m_file->journal.size() == 0 && !always)) return true;
  std::string text;
  std::string error;
  try {
    text = writeLab(*m_network);
  } catch (const std::exception& e) {
    m_lastSaveError = m_path + ": the lab cannot be written: " + e.what();
    return false;
  }
  // The file first, the journal after: a crash in between leaves a journal
  // written for the file's old content whose last record names the new
  // content, which the next load recognises and drops rather than applying
  // twice.
  const LabIdentity folded = identityOf(text);
  if (!m_file->journal.markFolded(folded, &error) ||
      !writeFileAtomically(m_path, text, &error, foldingOptions())) {
    m_lastSaveError = error;
    return false;
  }
  m_file->identity = folded;
  if (!m_file->journal.remove(&error)) {
    m_lastSaveError = error;
    return false;
  }
  return true;
}

void Lab::restoreLocked() {
  // The change did not reach the journal: go back to what the file and the
  // journal hold, so that memory never claims a change a restart would lose.
  std::string ignored;
  if (auto net = readLabAndJournal(m_path, *m_file, &ignored)) m_network = std::move(net);
}

std::shared_ptr<Lab> loadLabFile(const std::string& path, std::string* error) {
  // Before the lock file is made beside it: no lock beside a device or a pipe.
  if (!checkLabFile(path, error)) return nullptr;
  auto file = std::make_unique<LabFile>(path);
  if (!file->lock.acquire(path, error)) return nullptr;
  // Left by a process that stopped in the middle of a fold: the lab file is
  // still the old one, and the journal still holds the changes.
  platform::removeReplacementLeftovers(path, foldingOptions().temporaryInfix);
  auto net = readLabAndJournal(path, *file, error);
  if (!net) return nullptr;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) file->journal.setMode(st.st_mode & 0666);
  file->journalLimit = defaultJournalLimit(file->identity.size);
  const bool heldClearPasswords = forgetClearPasswords(*net);
  auto lab = std::make_shared<Lab>(std::move(net), std::move(file));
  // A file (or journal) of an earlier version held passwords in clear: they
  // are hashed now, and the whole lab is written back at once so that the
  // clear text leaves the disk. A folder that cannot be written keeps the
  // old file; the lab still opens.
  if (heldClearPasswords) lab->writeBack();
  return lab;
}

std::shared_ptr<Lab> labFromJson(std::string_view json, std::string_view sourceName,
                                 std::string* error) {
  LabText text(json);
  auto net = parseLabQuickly(text);
  if (!net) net = parseLab(json, sourceName, error);
  if (!net) return nullptr;
  return std::make_shared<Lab>(std::move(net));
}

std::string ensureDefaultLab(std::string* error) {
  namespace fs = std::filesystem;
  fs::path folder;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    folder = fs::path(xdg) / "veltrane";
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    folder = fs::path(home) / ".local" / "share" / "veltrane";
  } else {
    if (error) *error = "Neither XDG_DATA_HOME nor HOME is set: no place for the lab file";
    return {};
  }
  const fs::path file = folder / "lab.json";
  std::error_code ec;
  if (fs::exists(file, ec)) return file.string();
  fs::create_directories(folder, ec);
  if (ec) {
    if (error) *error = folder.string() + ": cannot create the folder: " + ec.message();
    return {};
  }
  if (!writeFileAtomically(file.string(), defaultLabJson(), error)) return {};
  return file.string();
}

}  // namespace lab
