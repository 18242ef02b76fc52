#include "platform/lab/lab.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <mutex>

#include "platform/atomic_file.h"
#include "platform/lab/lab_json.h"
#include "platform/lab/model.h"

namespace lab {

using platform::readWholeFile;
using platform::writeFileAtomically;

Lab::Lab(std::unique_ptr<Network> network, std::string path)
    : m_network(std::move(network)), m_path(std::move(path)) {}

Lab::~Lab() = default;

void Lab::logOn(std::string_view domainAndAccount) {
  write([&](Network& n) {
    n.loggedOn = std::string(domainAndAccount);
    return true;
  });
}

void Lab::setLocalMachine(std::string_view name) {
  write([&](Network& n) {
    n.localMachine = std::string(name);
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
  write([&](Network& n) {
    Machine* m = n.findMachine(machine);
    if (!m) return false;
    found = true;
    m->reachable = reachable;
    return true;
  });
  return found;
}

bool Lab::setRemoteRegistry(std::string_view machine, bool reachable) {
  bool found = false;
  write([&](Network& n) {
    Machine* m = n.findMachine(machine);
    if (!m) return false;
    found = true;
    m->remoteRegistry = reachable;
    return true;
  });
  return found;
}

bool Lab::refuseOperation(std::string_view machine, std::string_view operation,
                          platform::DWORD status) {
  bool found = false;
  write([&](Network& n) {
    Machine* m = n.findMachine(machine);
    if (!m) return false;
    found = true;
    if (status == 0) m->refusals.erase(std::string(operation));
    else m->refusals[std::string(operation)] = status;
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

bool Lab::write(const std::function<bool(Network&)>& f) {
  std::unique_lock lock(m_mutex);
  if (!f(*m_network)) return true;
  return persistLocked();
}

bool Lab::persistLocked() {
  if (m_path.empty()) return true;
  std::string error;
  if (writeFileAtomically(m_path, writeLab(*m_network), &error)) {
    m_lastSaveError.clear();
    return true;
  }
  m_lastSaveError = error;
  // The change did not reach the file: go back to what the file holds, so
  // that memory never claims a change that a restart would lose.
  std::string text;
  if (readWholeFile(m_path, &text, nullptr)) {
    if (auto net = parseLab(text, m_path, nullptr)) m_network = std::move(net);
  }
  return false;
}

std::shared_ptr<Lab> loadLabFile(const std::string& path, std::string* error) {
  std::string text;
  if (!readWholeFile(path, &text, error)) return nullptr;
  auto net = parseLab(text, path, error);
  if (!net) return nullptr;
  return std::make_shared<Lab>(std::move(net), path);
}

std::shared_ptr<Lab> labFromJson(std::string_view json, std::string_view sourceName,
                                 std::string* error) {
  auto net = parseLab(json, sourceName, error);
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
