#include "platform/lab/file_tree.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <unordered_set>

#include "platform/byte_totals.h"

namespace lab {
namespace {

using namespace platform;

std::uint64_t mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

std::uint64_t childDirId(std::uint64_t parent, DWORD index) { return mix(parent * 31 + index + 1); }
std::uint64_t fileId(std::uint64_t dir, DWORD index) {
  return mix(dir ^ (0xD1B54A32D192ED03ull * (std::uint64_t{index} + 1)));
}

char upperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upperChar(a[i]) != upperChar(b[i])) return false;
  return true;
}

std::string upperText(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = upperChar(c);
  return out;
}

std::string dirName(DWORD index) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "dir%03u", index);
  return buffer;
}

std::string generatedFileName(DWORD index) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "file%05u.dat", index);
  return buffer;
}

// The index in a generated name, when `name` is exactly prefix + digits +
// suffix as the generator writes it.
std::optional<DWORD> generatedIndex(std::string_view name, std::string_view prefix,
                                    std::string_view suffix, std::string (*format)(DWORD)) {
  if (name.size() <= prefix.size() + suffix.size()) return std::nullopt;
  if (!sameName(name.substr(0, prefix.size()), prefix)) return std::nullopt;
  if (!sameName(name.substr(name.size() - suffix.size()), suffix)) return std::nullopt;
  const std::string_view digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  DWORD index = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  if (!sameName(format(index), name)) return std::nullopt;
  return index;
}

std::uint64_t generatedSize(const Generated& g, std::uint64_t id) {
  if (g.sizeMax <= g.sizeMin) return g.sizeMin;
  const std::uint64_t span = g.sizeMax - g.sizeMin;
  const std::uint64_t h = mix(id ^ 0xA5A5A5A5ull);
  return span == ~std::uint64_t{0} ? h : g.sizeMin + h % (span + 1);
}

const SID* generatedOwner(const Generated& g, std::uint64_t id) {
  if (g.owners.empty()) return nullptr;
  return &g.owners[mix(id ^ 0x5A5A5A5Aull) % g.owners.size()].sid;
}

void startGenerated(FilePlace& place, const FileNode& node) {
  place.gen = node.generate.get();
  place.level = 0;
  place.id = mix(node.generate->seed);
}

bool contains(const std::vector<SID>& sids, const SID& sid) {
  return !sid.empty() && std::find(sids.begin(), sids.end(), sid) != sids.end();
}

constexpr std::array<WellKnownSid, 6> kWellKnown = {{
    {"S-1-1-0", "", "Everyone"},
    {"S-1-3-0", "", "CREATOR OWNER"},
    {"S-1-5-2", "NT AUTHORITY", "NETWORK"},
    {"S-1-5-4", "NT AUTHORITY", "INTERACTIVE"},
    {"S-1-5-11", "NT AUTHORITY", "Authenticated Users"},
    {"S-1-5-18", "NT AUTHORITY", "SYSTEM"},
}};

}  // namespace

const WellKnownSid* wellKnownBySid(std::string_view sid) {
  for (const auto& w : kWellKnown)
    if (w.sid == sid) return &w;
  return nullptr;
}

const WellKnownSid* wellKnownByName(std::string_view name) {
  for (const auto& w : kWellKnown) {
    if (sameName(w.name, name)) return &w;
    if (!w.domain.empty() && name.size() == w.domain.size() + 1 + w.name.size() &&
        sameName(name.substr(0, w.domain.size()), w.domain) && name[w.domain.size()] == '\\' &&
        sameName(name.substr(w.domain.size() + 1), w.name))
      return &w;
  }
  return nullptr;
}

const SID& FilePlace::ownerSid() const {
  static const SID kNone;
  return owner ? *owner : kNone;
}

Dacl FilePlace::dacl() const {
  if (daclSource == nullptr) return Dacl{DaclKind::Absent, {}};
  if (daclDistance == 0) return *daclSource;
  // After one step every entry that goes on has its final flags, so two
  // steps stand for any number of them.
  if (daclDistance == 1) return inheritedDacl(*daclSource, directory);
  return inheritedDacl(inheritedDacl(*daclSource, true), directory);
}

FilePlace rootPlace(const Volume& volume) {
  // A root that says nothing belongs to the administrators and lets
  // everyone do everything below it.
  static const SID kAdministrators{"S-1-5-32-544"};
  static const Dacl kOpen{DaclKind::List,
                          {{ACCESS_ALLOWED_ACE_TYPE, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
                            GENERIC_ALL, {"Everyone", SID{std::string(kEveryoneSid)}}}}};
  FilePlace p;
  p.node = &volume.root;
  p.root = true;
  p.directory = true;
  p.owner = volume.root.owner ? &volume.root.owner->sid : &kAdministrators;
  p.daclSource = volume.root.dacl ? &*volume.root.dacl : &kOpen;
  p.refuse = volume.root.refuse;
  p.invalidDescriptor = volume.root.invalidDescriptor;
  if (volume.root.generate) startGenerated(p, volume.root);
  return p;
}

Dacl inheritedDacl(const Dacl& parent, bool childIsDirectory) {
  if (parent.kind != DaclKind::List) return parent;
  Dacl child;
  for (const FileAce& ace : parent.aces) {
    const bool oi = ace.flags & OBJECT_INHERIT_ACE;
    const bool ci = ace.flags & CONTAINER_INHERIT_ACE;
    const bool noPropagate = ace.flags & NO_PROPAGATE_INHERIT_ACE;
    FileAce inherited = ace;
    if (childIsDirectory) {
      if (!oi && !ci) continue;
      if (noPropagate) {
        if (!ci) continue;
        inherited.flags = INHERITED_ACE;
      } else if (ci) {
        inherited.flags = static_cast<BYTE>((ace.flags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)) |
                                            INHERITED_ACE);
      } else {
        // Passes through to the files below without applying here.
        inherited.flags = OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE | INHERITED_ACE;
      }
    } else {
      if (!oi) continue;
      inherited.flags = INHERITED_ACE;
    }
    child.aces.push_back(std::move(inherited));
  }
  return child;
}

std::optional<FilePlace> childPlace(const FilePlace& parent, std::string_view name) {
  if (!parent.directory) return std::nullopt;
  const FileNode* node = nullptr;
  if (parent.node) {
    for (const FileNode& c : parent.node->children)
      if (sameName(c.name, name)) {
        node = &c;
        break;
      }
  }
  FilePlace p;
  bool generated = false;
  bool generatedDir = false;
  std::uint64_t genId = 0;
  if (parent.gen) {
    const Generated& g = *parent.gen;
    if (parent.level < g.depth) {
      if (auto i = generatedIndex(name, "dir", "", dirName); i && *i < g.fanOut) {
        generated = generatedDir = true;
        genId = childDirId(parent.id, *i);
      }
    }
    if (!generated) {
      if (auto i = generatedIndex(name, "file", ".dat", generatedFileName); i && *i < g.filesPerFolder) {
        generated = true;
        genId = fileId(parent.id, *i);
      }
    }
  }
  if (!node && !generated) return std::nullopt;
  p.directory = node ? node->directory : generatedDir;
  if (generated) {
    p.gen = parent.gen;
    p.level = parent.level + 1;
    p.id = genId;
  }
  p.node = node;
  if (node && node->generate) startGenerated(p, *node);
  if (node && !node->directory) p.size = node->size;
  else if (generated && !generatedDir) p.size = generatedSize(*parent.gen, genId);
  if (node && node->owner) p.owner = &node->owner->sid;
  else if (const SID* o = generated ? generatedOwner(*parent.gen, genId) : nullptr) p.owner = o;
  else p.owner = parent.owner;
  if (node && node->dacl) {
    p.daclSource = &*node->dacl;
  } else {
    p.daclSource = parent.daclSource;
    p.daclDistance = parent.daclDistance + 1;
  }
  if (node) {
    p.refuse = node->refuse;
    p.invalidDescriptor = node->invalidDescriptor;
  }
  return p;
}

std::optional<FilePlace> placeAt(const Volume& volume, const std::vector<std::string>& components,
                                 DWORD* status) {
  FilePlace place = rootPlace(volume);
  for (std::size_t i = 0; i < components.size(); ++i) {
    auto next = childPlace(place, components[i]);
    if (!next) {
      if (status) *status = i + 1 == components.size() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
      return std::nullopt;
    }
    place = std::move(*next);
  }
  return place;
}

std::vector<FileEntry> listPlace(const FilePlace& dir) {
  std::vector<FileEntry> entries;
  if (!dir.directory) return entries;
  std::unordered_set<std::string> explicitNames;
  if (dir.node) {
    for (const FileNode& c : dir.node->children) {
      entries.push_back({c.name, c.directory, c.directory ? 0 : c.size});
      if (dir.gen) explicitNames.insert(upperText(c.name));
    }
  }
  if (dir.gen) {
    const Generated& g = *dir.gen;
    // Explicit nodes laid over generated entries were listed above.
    const auto shown = [&](const std::string& name) {
      return explicitNames.empty() || !explicitNames.contains(upperText(name));
    };
    if (dir.level < g.depth) {
      for (DWORD i = 0; i < g.fanOut; ++i) {
        std::string name = dirName(i);
        if (shown(name)) entries.push_back({std::move(name), true, 0});
      }
    }
    for (DWORD i = 0; i < g.filesPerFolder; ++i) {
      std::string name = generatedFileName(i);
      if (shown(name)) entries.push_back({std::move(name), false, generatedSize(g, fileId(dir.id, i))});
    }
  }
  return entries;
}

bool accessGranted(const Dacl& dacl, const SID& owner, const std::vector<SID>& sids,
                   DWORD desired) {
  if (dacl.kind != DaclKind::List) return true;
  DWORD wanted = MapGenericFileMask(desired);
  if (contains(sids, owner)) wanted &= ~(READ_CONTROL | WRITE_DAC);
  DWORD allowed = 0;
  DWORD denied = 0;
  for (const FileAce& ace : dacl.aces) {
    if (ace.flags & INHERIT_ONLY_ACE) continue;
    if (!contains(sids, ace.who.sid)) continue;
    const DWORD mask = MapGenericFileMask(ace.mask);
    if (ace.type == ACCESS_DENIED_ACE_TYPE) denied |= mask;
    else if (ace.type == ACCESS_ALLOWED_ACE_TYPE) allowed |= mask;
  }
  if (wanted & denied) return false;
  return (wanted & ~allowed) == 0;
}

SECURITY_DESCRIPTOR descriptorOf(const FilePlace& place, SECURITY_INFORMATION requested) {
  SECURITY_DESCRIPTOR sd;
  sd.valid = !place.invalidDescriptor;
  if ((requested & OWNER_SECURITY_INFORMATION) && !place.ownerSid().empty()) sd.owner = place.ownerSid();
  if (requested & DACL_SECURITY_INFORMATION) {
    const Dacl dacl = place.dacl();
    sd.daclPresent = dacl.kind != DaclKind::Absent;
    if (dacl.kind == DaclKind::List) {
      ACL acl;
      acl.aces.reserve(dacl.aces.size());
      for (const FileAce& a : dacl.aces) acl.aces.push_back({a.type, a.flags, a.mask, a.who.sid});
      sd.dacl = std::move(acl);
    }
  }
  return sd;
}

void addOwnerTotals(const FilePlace& dir, std::unordered_map<std::string, OwnerTotal>& totals) {
  for (const FileEntry& e : listPlace(dir)) {
    auto child = childPlace(dir, e.name);
    if (!child) continue;
    if (child->directory) {
      addOwnerTotals(*child, totals);
    } else {
      OwnerTotal& t = totals[child->ownerSid().value];
      platform::addSaturating(t.bytes, child->size);
      platform::addSaturating(t.files, std::uint64_t{1});
    }
  }
}

bool splitLocalPath(std::string_view path, std::string* drive, std::vector<std::string>* parts) {
  if (path.size() < 2 || path[1] != ':') return false;
  const char letter = upperChar(path[0]);
  if (letter < 'A' || letter > 'Z') return false;
  if (path.size() > 2 && path[2] != '\\') return false;
  if (drive) *drive = std::string(1, letter);
  if (parts) {
    parts->clear();
    std::size_t start = 3;
    while (start < path.size()) {
      std::size_t end = path.find('\\', start);
      if (end == std::string_view::npos) end = path.size();
      if (end > start) parts->emplace_back(path.substr(start, end - start));
      start = end + 1;
    }
  }
  return true;
}

bool validFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of("\\/:*?\"<>|") == std::string_view::npos;
}

}  // namespace lab
