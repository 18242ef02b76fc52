#include "platform/lab/lab_files_json.h"

#include <array>
#include <functional>
#include <initializer_list>

#include "platform/lab/resolve.h"

namespace lab::json {
namespace {

using namespace platform;

[[noreturn]] void fail(const std::string& where, const std::string& what) {
  throw boundedFault(where, what);
}

std::string at(const std::string& path, std::string_view key) { return path + "/" + std::string(key); }
std::string at(const std::string& path, std::size_t i) { return path + "/" + std::to_string(i); }

void expectKeys(const Json& j, const std::string& path, std::initializer_list<std::string_view> keys) {
  if (!j.is_object()) fail(path, std::string("expected an object, found ") + j.type_name());
  for (auto it = j.begin(); it != j.end(); ++it) {
    bool known = false;
    for (auto k : keys) known = known || k == it.key();
    if (!known) fail(at(path, it.key()), "unknown field");
  }
}

std::uint64_t wholeNumber(const Json& j, const std::string& where, std::uint64_t max) {
  if (!j.is_number_unsigned() || j.get<std::uint64_t>() > max) fail(where, "expected a whole number");
  return j.get<std::uint64_t>();
}

std::uint64_t numberField(const Json& o, std::string_view key, const std::string& path,
                          std::uint64_t fallback, std::uint64_t max = 0xFFFFFFFFull) {
  auto it = o.find(key);
  return it == o.end() ? fallback : wholeNumber(*it, at(path, key), max);
}

std::string textOf(const Json& j, const std::string& where) {
  if (!j.is_string()) fail(where, "expected a string");
  return j.get<std::string>();
}

struct RightName {
  const char* name;
  DWORD mask;
};
constexpr std::array<RightName, 12> kRights = {{
    {"GENERIC_ALL", GENERIC_ALL}, {"GENERIC_READ", GENERIC_READ},
    {"GENERIC_WRITE", GENERIC_WRITE}, {"GENERIC_EXECUTE", GENERIC_EXECUTE},
    {"full", FILE_ALL_ACCESS}, {"read", FILE_GENERIC_READ}, {"write", FILE_GENERIC_WRITE},
    {"execute", FILE_GENERIC_EXECUTE}, {"delete", DELETE}, {"changePermissions", WRITE_DAC},
    {"takeOwnership", WRITE_OWNER}, {"list", FILE_LIST_DIRECTORY},
}};

struct FlagName {
  const char* name;
  BYTE flag;
};
constexpr std::array<FlagName, 4> kInherit = {{
    {"object", OBJECT_INHERIT_ACE}, {"container", CONTAINER_INHERIT_ACE},
    {"noPropagate", NO_PROPAGATE_INHERIT_ACE}, {"inheritOnly", INHERIT_ONLY_ACE},
}};

// A deny entry made by the usual editors denies only the specific rights
// of read, write and execute, not the right to read the descriptor and to
// wait on the file that all three include.
constexpr DWORD kStandardShared = READ_CONTROL | SYNCHRONIZE;
DWORD rightMask(const RightName& r, bool deny) {
  const bool shared = r.mask == FILE_GENERIC_READ || r.mask == FILE_GENERIC_WRITE ||
                      r.mask == FILE_GENERIC_EXECUTE;
  return deny && shared ? r.mask & ~kStandardShared : r.mask;
}

DWORD readRights(const Json& j, const std::string& where, bool deny) {
  if (j.is_number()) return static_cast<DWORD>(wholeNumber(j, where, 0xFFFFFFFFull));
  if (!j.is_array()) fail(where, "expected a list of rights or a number");
  DWORD mask = 0;
  for (std::size_t i = 0; i < j.size(); ++i) {
    if (j[i].is_number()) {
      mask |= static_cast<DWORD>(wholeNumber(j[i], at(where, i), 0xFFFFFFFFull));
      continue;
    }
    const std::string name = textOf(j[i], at(where, i));
    bool found = false;
    for (const auto& r : kRights)
      if (name == r.name) {
        mask |= rightMask(r, deny);
        found = true;
      }
    if (!found) fail(at(where, i), "unknown right " + platform::quotedText(name));
  }
  return mask;
}

Json writeRights(DWORD mask, bool deny) {
  Json names = Json::array();
  DWORD covered = 0;
  for (const auto& r : kRights) {
    const DWORD bits = rightMask(r, deny);
    if ((mask & bits) == bits && (covered & bits) != bits) {
      names.push_back(r.name);
      covered |= bits;
    }
  }
  if (mask & ~covered) names.push_back(mask & ~covered);
  return names;
}

Dacl readDacl(const Json& j, const std::string& where) {
  Dacl d;
  if (j.is_null()) {
    d.kind = DaclKind::Null;
    return d;
  }
  if (j.is_string() && j.get<std::string>() == "none") {
    d.kind = DaclKind::Absent;
    return d;
  }
  if (!j.is_array()) fail(where, "expected a list of entries, null (a NULL DACL) or \"none\"");
  for (std::size_t i = 0; i < j.size(); ++i) {
    const auto w = at(where, i);
    expectKeys(j[i], w, {"allow", "deny", "audit", "rights", "inherit"});
    FileAce ace;
    int kinds = 0;
    for (const auto& [key, type] : {std::pair{"allow", ACCESS_ALLOWED_ACE_TYPE},
                                     std::pair{"deny", ACCESS_DENIED_ACE_TYPE},
                                     std::pair{"audit", SYSTEM_AUDIT_ACE_TYPE}}) {
      if (auto it = j[i].find(key); it != j[i].end()) {
        ace.type = type;
        ace.who.text = textOf(*it, at(w, key));
        ++kinds;
      }
    }
    if (kinds != 1) fail(w, "expected exactly one of \"allow\", \"deny\" and \"audit\"");
    auto rights = j[i].find("rights");
    if (rights == j[i].end()) fail(at(w, "rights"), "required field is missing");
    ace.mask = readRights(*rights, at(w, "rights"), ace.type == ACCESS_DENIED_ACE_TYPE);
    ace.flags = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    if (auto inh = j[i].find("inherit"); inh != j[i].end()) {
      if (!inh->is_array()) fail(at(w, "inherit"), "expected a list of inheritance flags");
      ace.flags = 0;
      for (std::size_t k = 0; k < inh->size(); ++k) {
        const std::string name = textOf((*inh)[k], at(at(w, "inherit"), k));
        bool found = false;
        for (const auto& f : kInherit)
          if (name == f.name) {
            ace.flags |= f.flag;
            found = true;
          }
        if (!found) fail(at(at(w, "inherit"), k), "unknown inheritance flag " + platform::quotedText(name));
      }
    }
    d.aces.push_back(std::move(ace));
  }
  return d;
}

Json writeDacl(const Dacl& d) {
  if (d.kind == DaclKind::Null) return nullptr;
  if (d.kind == DaclKind::Absent) return "none";
  Json list = Json::array();
  for (const FileAce& a : d.aces) {
    Json e;
    e[a.type == ACCESS_DENIED_ACE_TYPE ? "deny" : a.type == SYSTEM_AUDIT_ACE_TYPE ? "audit" : "allow"] =
        a.who.text;
    e["rights"] = writeRights(a.mask, a.type == ACCESS_DENIED_ACE_TYPE);
    if (a.flags != (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)) {
      Json flags = Json::array();
      for (const auto& f : kInherit)
        if (a.flags & f.flag) flags.push_back(f.name);
      e["inherit"] = std::move(flags);
    }
    list.push_back(std::move(e));
  }
  return list;
}

std::shared_ptr<const Generated> readGenerated(const Json& j, const std::string& where) {
  expectKeys(j, where, {"seed", "fanOut", "depth", "filesPerFolder", "owners", "sizeMin", "sizeMax"});
  auto g = std::make_shared<Generated>();
  g->seed = static_cast<std::uint32_t>(numberField(j, "seed", where, 1));
  g->fanOut = static_cast<DWORD>(numberField(j, "fanOut", where, 0, 100000));
  g->depth = static_cast<DWORD>(numberField(j, "depth", where, 0, 64));
  g->filesPerFolder = static_cast<DWORD>(numberField(j, "filesPerFolder", where, 0, 99999));
  g->sizeMin = numberField(j, "sizeMin", where, 0, ~std::uint64_t{0});
  g->sizeMax = numberField(j, "sizeMax", where, g->sizeMin, ~std::uint64_t{0});
  if (g->sizeMax < g->sizeMin) fail(at(where, "sizeMax"), "below sizeMin");
  if (auto o = j.find("owners"); o != j.end()) {
    if (!o->is_array()) fail(at(where, "owners"), "expected a list of accounts");
    for (std::size_t i = 0; i < o->size(); ++i)
      g->owners.push_back({textOf((*o)[i], at(at(where, "owners"), i)), {}});
  }
  return g;
}

Json writeGenerated(const Generated& g) {
  Json j;
  j["seed"] = g.seed;
  j["fanOut"] = g.fanOut;
  j["depth"] = g.depth;
  j["filesPerFolder"] = g.filesPerFolder;
  Json owners = Json::array();
  for (const auto& o : g.owners) owners.push_back(o.text);
  j["owners"] = std::move(owners);
  j["sizeMin"] = g.sizeMin;
  j["sizeMax"] = g.sizeMax;
  return j;
}

FileNode readNode(const Json& j, const std::string& where, bool root) {
  if (root)
    expectKeys(j, where, {"owner", "dacl", "refuse", "invalidDescriptor", "children", "generate"});
  else
    expectKeys(j, where, {"name", "dir", "size", "owner", "dacl", "refuse", "invalidDescriptor",
                          "children", "generate"});
  FileNode n;
  if (!root) {
    auto name = j.find("name");
    if (name == j.end()) fail(at(where, "name"), "required field is missing");
    n.name = textOf(*name, at(where, "name"));
    if (!validFileName(n.name)) fail(at(where, "name"), "invalid file name " + platform::quotedText(n.name));
  }
  n.directory = root || j.contains("children") || j.contains("generate");
  if (auto d = j.find("dir"); d != j.end()) {
    if (!d->is_boolean()) fail(at(where, "dir"), "expected true or false");
    if (!d->get<bool>() && n.directory) fail(at(where, "dir"), "a file has no children");
    n.directory = d->get<bool>();
  }
  n.size = numberField(j, "size", where, 0, ~std::uint64_t{0});
  if (n.directory && n.size != 0) fail(at(where, "size"), "a directory has no size");
  if (auto o = j.find("owner"); o != j.end()) n.owner = Principal{textOf(*o, at(where, "owner")), {}};
  if (auto d = j.find("dacl"); d != j.end()) n.dacl = readDacl(*d, at(where, "dacl"));
  n.refuse = static_cast<DWORD>(numberField(j, "refuse", where, 0));
  if (auto v = j.find("invalidDescriptor"); v != j.end()) {
    if (!v->is_boolean()) fail(at(where, "invalidDescriptor"), "expected true or false");
    n.invalidDescriptor = v->get<bool>();
  }
  if (auto c = j.find("children"); c != j.end()) {
    if (!c->is_array()) fail(at(where, "children"), "expected a list of nodes");
    for (std::size_t i = 0; i < c->size(); ++i) {
      FileNode child = readNode((*c)[i], at(at(where, "children"), i), false);
      for (const FileNode& other : n.children)
        if (upper(other.name) == upper(child.name))
          fail(at(at(at(where, "children"), i), "name"), "duplicate name " + platform::quotedText(child.name));
      n.children.push_back(std::move(child));
    }
  }
  if (auto g = j.find("generate"); g != j.end()) n.generate = readGenerated(*g, at(where, "generate"));
  return n;
}

Json writeNode(const FileNode& n, bool root) {
  Json j = Json::object();
  if (!root) {
    j["name"] = n.name;
    if (n.directory && n.children.empty() && !n.generate) j["dir"] = true;
    if (!n.directory) j["size"] = n.size;
  }
  if (n.owner) j["owner"] = n.owner->text;
  if (n.dacl) j["dacl"] = writeDacl(*n.dacl);
  if (n.refuse != 0) j["refuse"] = n.refuse;
  if (n.invalidDescriptor) j["invalidDescriptor"] = true;
  if (!n.children.empty()) {
    Json c = Json::array();
    for (const FileNode& child : n.children) c.push_back(writeNode(child, false));
    j["children"] = std::move(c);
  }
  if (n.generate) j["generate"] = writeGenerated(*n.generate);
  return j;
}

SID resolveText(const Network& net, const Machine& m, const std::string& text, const std::string& where) {
  if (text.starts_with("S-1-")) return SID{text};
  if (const WellKnownSid* w = wellKnownByName(text)) return SID{std::string(w->sid)};
  const std::string up = upper(text);
  if (up.starts_with("BUILTIN\\")) {
    static const std::array<std::pair<std::string_view, DWORD>, 8> builtin = {{
        {"ADMINISTRATORS", 544}, {"USERS", 545}, {"GUESTS", 546}, {"POWER USERS", 547},
        {"ACCOUNT OPERATORS", 548}, {"SERVER OPERATORS", 549}, {"PRINT OPERATORS", 550},
        {"BACKUP OPERATORS", 551}}};
    for (const auto& [name, rid] : builtin)
      if (up.substr(8) == name) return SID{std::string(kBuiltinSid) + "-" + std::to_string(rid)};
  }
  const AccountRef r = findAccount(net, m, text);
  if (!r.sam) fail(where, "no account " + platform::quotedText(text));
  return r.sid;
}

void resolveNode(const Network& net, const Machine& m, FileNode& n, const std::string& where) {
  if (n.owner) n.owner->sid = resolveText(net, m, n.owner->text, at(where, "owner"));
  if (n.dacl)
    for (std::size_t i = 0; i < n.dacl->aces.size(); ++i)
      n.dacl->aces[i].who.sid = resolveText(net, m, n.dacl->aces[i].who.text, at(at(where, "dacl"), i));
  if (n.generate) {
    auto g = std::make_shared<Generated>(*n.generate);
    for (std::size_t i = 0; i < g->owners.size(); ++i)
      g->owners[i].sid = resolveText(net, m, g->owners[i].text, at(at(at(where, "generate"), "owners"), i));
    n.generate = std::move(g);
  }
  for (std::size_t i = 0; i < n.children.size(); ++i)
    resolveNode(net, m, n.children[i], at(at(where, "children"), i));
}

}  // namespace

std::vector<Volume> readVolumes(const Json& j, const std::string& path) {
  if (!j.is_array()) fail(path, "expected a list of volumes");
  std::vector<Volume> volumes;
  for (std::size_t i = 0; i < j.size(); ++i) {
    const auto where = at(path, i);
    expectKeys(j[i], where, {"drive", "fileSystem", "label", "serial", "root"});
    Volume v;
    auto drive = j[i].find("drive");
    if (drive == j[i].end()) fail(at(where, "drive"), "required field is missing");
    v.drive = upper(textOf(*drive, at(where, "drive")));
    if (v.drive.size() == 2 && v.drive[1] == ':') v.drive.pop_back();
    if (v.drive.size() != 1 || v.drive[0] < 'A' || v.drive[0] > 'Z')
      fail(at(where, "drive"), "expected a drive letter");
    for (const Volume& other : volumes)
      if (other.drive == v.drive) fail(at(where, "drive"), "duplicate drive " + v.drive);
    if (auto fs = j[i].find("fileSystem"); fs != j[i].end()) v.fileSystem = textOf(*fs, at(where, "fileSystem"));
    if (auto l = j[i].find("label"); l != j[i].end()) v.label = textOf(*l, at(where, "label"));
    v.serial = static_cast<DWORD>(numberField(j[i], "serial", where, 0));
    if (auto r = j[i].find("root"); r != j[i].end()) v.root = readNode(*r, at(where, "root"), true);
    v.root.directory = true;
    volumes.push_back(std::move(v));
  }
  return volumes;
}

void resolveVolumeAccounts(const Network& net, Machine& machine, const std::string& path) {
  for (std::size_t i = 0; i < machine.volumes.size(); ++i)
    resolveNode(net, machine, machine.volumes[i].root, at(at(path, i), "root"));
}

Json writeVolumes(const std::vector<Volume>& volumes) {
  Json list = Json::array();
  for (const Volume& v : volumes) {
    Json j;
    j["drive"] = v.drive;
    j["fileSystem"] = v.fileSystem;
    if (!v.label.empty()) j["label"] = v.label;
    if (v.serial != 0) j["serial"] = v.serial;
    j["root"] = writeNode(v.root, true);
    list.push_back(std::move(j));
  }
  return list;
}

}  // namespace lab::json
