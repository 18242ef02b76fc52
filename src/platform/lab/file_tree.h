#pragma once
// The file trees of a lab machine: volumes over trees of explicit nodes,
// where a node may also stand for a generated subtree that is expanded on
// demand, the same every time, so a tree of a million files costs the memory
// of the directories being looked at. Owners and access lists are inherited
// from the parent where a node leaves them out.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/files.h"

namespace lab {

using platform::DWORD;
using platform::SID;

// An account as the lab file names it, with the SID it stands for.
struct Principal {
  std::string text;  // "DOMAIN\\name", "Everyone", or "S-1-..."
  SID sid;
};

enum class DaclKind { List, Null, Absent };

struct FileAce {
  platform::BYTE type = platform::ACCESS_ALLOWED_ACE_TYPE;
  platform::BYTE flags = 0;
  DWORD mask = 0;
  Principal who;
};

struct Dacl {
  DaclKind kind = DaclKind::List;
  std::vector<FileAce> aces;
};

// A generated subtree: `depth` levels of `fanOut` directories below the node,
// each directory (the node too) holding `filesPerFolder` files whose sizes
// and owners follow from the seed and the file's place.
struct Generated {
  std::uint32_t seed = 1;
  DWORD fanOut = 0;
  DWORD depth = 0;
  DWORD filesPerFolder = 0;
  std::vector<Principal> owners;  // none: files inherit the node's owner
  std::uint64_t sizeMin = 0;
  std::uint64_t sizeMax = 0;
};

struct FileNode {
  std::string name;
  bool directory = false;
  std::uint64_t size = 0;
  std::optional<Principal> owner;  // absent: the parent's
  std::optional<Dacl> dacl;        // absent: inherited from the parent
  DWORD refuse = 0;                // listing and descriptor answer this status
  bool invalidDescriptor = false;  // the descriptor read is not a valid one
  std::vector<FileNode> children;
  std::shared_ptr<const Generated> generate;
};

struct Volume {
  std::string drive;  // one letter, upper case
  std::string fileSystem = "NTFS";
  std::string label;
  DWORD serial = 0;
  FileNode root;
};

// Where a path leads within one volume: the explicit node there (if any),
// the generated position (if any), and what the node holds after
// inheritance. Owners and access lists are pointed at, not copied: a walk
// down a deep generated tree resolves a million paths.
struct FilePlace {
  const FileNode* node = nullptr;
  const Generated* gen = nullptr;
  DWORD level = 0;
  std::uint64_t id = 0;
  bool directory = true;
  bool root = false;
  std::uint64_t size = 0;
  const SID* owner = nullptr;       // never null once placed
  const Dacl* daclSource = nullptr; // the nearest access list given above (or here)
  DWORD daclDistance = 0;           // levels from there down to here
  DWORD refuse = 0;
  bool invalidDescriptor = false;

  const SID& ownerSid() const;
  // The access list here, inherited down from daclSource.
  Dacl dacl() const;
};

// One entry of a directory as a listing shows it.
struct FileEntry {
  std::string name;
  bool directory = false;
  std::uint64_t size = 0;
};

// The volume's root.
FilePlace rootPlace(const Volume& volume);
// The child `name` (any case) of a directory place; nullopt when none.
std::optional<FilePlace> childPlace(const FilePlace& parent, std::string_view name);
// The place at `components` below the root; nullopt with *status 2 (last
// part missing) or 3 (a directory on the way missing).
std::optional<FilePlace> placeAt(const Volume& volume, const std::vector<std::string>& components,
                                 DWORD* status);
// The entries of a directory place: explicit children first, then the
// generated ones they do not replace.
std::vector<FileEntry> listPlace(const FilePlace& dir);

// The DACL a child gets from its parent's when it names none of its own.
Dacl inheritedDacl(const Dacl& parent, bool childIsDirectory);

// True when the SIDs in `sids` are granted every right of `desired` under
// `dacl` (deny entries first; inherit-only entries do not count for the
// holder; generic rights mapped). The owner always may read and change the
// access list.
bool accessGranted(const Dacl& dacl, const SID& owner, const std::vector<SID>& sids,
                   DWORD desired);

// The descriptor parts of a place that `requested` asks for.
platform::SECURITY_DESCRIPTOR descriptorOf(const FilePlace& place,
                                           platform::SECURITY_INFORMATION requested);

// Per owner, the bytes and files below a directory place (refusals do not
// hide anything: these are the true totals).
struct OwnerTotal {
  std::uint64_t bytes = 0;  // stops at its largest value (platform::isSaturated)
  std::uint64_t files = 0;
};
// Keyed by the SID's text.
void addOwnerTotals(const FilePlace& dir, std::unordered_map<std::string, OwnerTotal>& totals);

// Splits "C:\\a\\b" into the drive letter and its parts; false for a path
// that is not a local absolute path.
bool splitLocalPath(std::string_view path, std::string* drive, std::vector<std::string>* parts);
// A file name the file systems accept (no \\ / : * ? " < > |, not empty).
bool validFileName(std::string_view name);

// Well-known SIDs that every machine resolves.
struct WellKnownSid {
  std::string_view sid;
  std::string_view domain;
  std::string_view name;
};
const WellKnownSid* wellKnownBySid(std::string_view sid);
const WellKnownSid* wellKnownByName(std::string_view name);
inline constexpr std::string_view kEveryoneSid = "S-1-1-0";
inline constexpr std::string_view kAuthenticatedUsersSid = "S-1-5-11";

}  // namespace lab
