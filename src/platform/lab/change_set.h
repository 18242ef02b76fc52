#pragma once
// What one change of the lab touched. A change names each entity it altered
// as it goes; the lab then writes just those entities' new state to its
// journal, so that the cost of a change does not grow with the network.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace lab {

struct Sam;
struct Machine;

class ChangeSet {
 public:
  using DWORD = platform::DWORD;

  enum class Kind {
    User,         // an account's whole state, or its removal
    Group,        // a global group's name, comment and attributes, or its removal
    Member,       // one user joined or left a global group
    LocalGroup,   // a local group with its members, or its removal
    Database,     // a database's next RID and policy
    Deleted,      // accounts appended to a database's deleted accounts
    RegistryKey,  // one registry key with its values
    Events,       // records appended to a machine's event log
    MachineState, // a machine's reachability, remote registry and refusals
    Share,        // one share of a machine, or its removal
    Session,      // who is logged on, and on which machine
    Directory,    // a directory created on a machine's volume
    ServerInfo,   // a machine's comment, type, hidden state and server settings
    Disconnect,   // sessions ended on a machine (with their open files)
  };

  struct Entry {
    Kind kind = Kind::Session;
    const Sam* sam = nullptr;
    const Machine* machine = nullptr;  // RegistryKey: null for the logged-on user's hive
    DWORD rid = 0;                     // the account; for Member the group
    DWORD user = 0;                    // Member: the user
    bool joined = false;               // Member
    std::size_t count = 0;             // Events, Deleted: how many were appended
    std::string hive;                  // RegistryKey
    std::string key;                   // RegistryKey: upper-case path; Share: upper-case name
    std::string owner;                 // RegistryKey of a user hive: upper-case account;
                                       // Directory: the owner as the lab file names it
    std::string path;                  // Directory: "C:\dir\new"
    std::string client;                // Disconnect: client filter ("" any)
    std::string name;                  // Disconnect: user filter ("" any)
  };

  void user(const Sam& sam, DWORD rid) { once(make(Kind::User, &sam, nullptr, rid)); }
  void group(const Sam& sam, DWORD rid) { once(make(Kind::Group, &sam, nullptr, rid)); }
  void member(const Sam& sam, DWORD group, DWORD user, bool joined) {
    Entry e = make(Kind::Member, &sam, nullptr, group);
    e.user = user;
    e.joined = joined;
    m_entries.push_back(std::move(e));
  }
  void localGroup(const Sam& sam, DWORD rid) { once(make(Kind::LocalGroup, &sam, nullptr, rid)); }
  void database(const Sam& sam) { once(make(Kind::Database, &sam)); }
  void machineKey(const Machine& m, std::string_view hive, std::string_view upperKey) {
    Entry e = make(Kind::RegistryKey, nullptr, &m);
    e.hive = hive;
    e.key = upperKey;
    once(std::move(e));
  }
  void userKey(std::string_view upperOwner, std::string_view upperKey) {
    Entry e = make(Kind::RegistryKey);
    e.owner = upperOwner;
    e.key = upperKey;
    once(std::move(e));
  }
  void event(const Machine& m) { appended(make(Kind::Events, nullptr, &m)); }
  void deleted(const Sam& sam) { appended(make(Kind::Deleted, &sam)); }
  void machine(const Machine& m) { once(make(Kind::MachineState, nullptr, &m)); }
  // A share added, changed or removed (share names never change).
  void share(const Machine& m, std::string_view upperName) {
    Entry e = make(Kind::Share, nullptr, &m);
    e.key = upperName;
    once(std::move(e));
  }
  void session() { once(make(Kind::Session)); }
  void directory(const Machine& m, std::string path, std::string owner) {
    Entry e = make(Kind::Directory, nullptr, &m);
    e.path = std::move(path);
    e.owner = std::move(owner);
    m_entries.push_back(std::move(e));
  }
  void serverInfo(const Machine& m) { once(make(Kind::ServerInfo, nullptr, &m)); }
  // Replayed as the same removal, so a disconnect of thousands of files
  // writes a line, not the files that stay.
  void disconnect(const Machine& m, std::string_view client, std::string_view user) {
    Entry e = make(Kind::Disconnect, nullptr, &m);
    e.client = client;
    e.name = user;
    m_entries.push_back(std::move(e));
  }

  bool empty() const { return m_entries.empty(); }
  const std::vector<Entry>& entries() const { return m_entries; }

 private:
  static Entry make(Kind kind, const Sam* sam = nullptr, const Machine* machine = nullptr,
                    DWORD rid = 0) {
    Entry e;
    e.kind = kind;
    e.sam = sam;
    e.machine = machine;
    e.rid = rid;
    return e;
  }

  // Lists that only grow record what was added to them.
  void appended(Entry added) {
    for (auto& e : m_entries) {
      if (e.kind == added.kind && e.sam == added.sam && e.machine == added.machine) {
        ++e.count;
        return;
      }
    }
    added.count = 1;
    m_entries.push_back(std::move(added));
  }

  // An entity whose whole state is written needs writing once per change;
  // the state written is the one the change ends with.
  void once(Entry e) {
    for (const auto& x : m_entries) {
      if (x.kind == e.kind && x.sam == e.sam && x.machine == e.machine && x.rid == e.rid &&
          x.hive == e.hive && x.key == e.key && x.owner == e.owner && x.name == e.name) {
        return;
      }
    }
    m_entries.push_back(std::move(e));
  }

  std::vector<Entry> m_entries;
};

}  // namespace lab
