#include "platform/lab/lab_json.h"

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

#include "platform/lab/json_accounts.h"
#include "platform/lab/json_domains.h"
#include "platform/lab/json_fields.h"
#include "platform/lab/json_groups.h"
#include "platform/lab/json_machines.h"
#include "platform/lab/json_registry.h"
#include "platform/lab/json_session.h"
#include "platform/lab/json_users.h"
#include "platform/lab/lab_files_json.h"
#include "platform/lab/simd_value.h"

namespace lab {
namespace {

using json::Json;
using json::Fault;
using namespace platform;

std::string lineAndColumn(std::string_view text, std::size_t byte) {
  std::size_t line = 1, column = 1;
  for (std::size_t i = 0; i < byte && i < text.size(); ++i) {
    if (text[i] == '\n') { ++line; column = 1; } else { ++column; }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// The file's entities in the order their checks need: every domain before
// the accounts (whose members may name any database), every machine before
// the checks that name machines.
template <class J>
void parseNetwork(const J& root, Network& net) {
  using namespace json;
  expectObject(root, "", {"format", "localMachine", "loggedOn", "system", "networkProviders",
                          "domains", "machines", "userRegistries"});
  const DWORD format = number(root, "format", "", 1, true);
  if (format != 1) fail("/format", "unsupported format " + std::to_string(format) + " (this program reads format 1)");
  net.localMachine = text(root, "localMachine", "", true);
  net.loggedOn = text(root, "loggedOn", "", true);
  readSystem(root, net);
  readNetworkProviders(root, net);

  std::vector<PendingMembers> pending;
  const auto& domains = array(root, "domains", "");
  net.domains.reserve(domains.size());
  for (std::size_t k = 0; k < domains.size(); ++k) {
    net.domains.push_back(readDomain(domains[k], at("/domains", k), net));
  }
  // Accounts after all domains exist (pointers into net.domains stay valid now).
  for (std::size_t k = 0; k < domains.size(); ++k) {
    readSam(domains[k], at("/domains", k), net.domains[k].sam, pending, {});
  }

  const auto& machines = array(root, "machines", "");
  std::vector<std::vector<std::pair<std::string, J>>> machineSams(machines.size());
  net.machines.reserve(machines.size());
  for (std::size_t k = 0; k < machines.size(); ++k) {
    const auto where = at("/machines", k);
    auto m = readMachine(machines[k], where, machineSams[k]);
    if (net.findMachine(m.name)) fail(at(where, "name"), "duplicate machine name " + quotedText(m.name));
    if (!net.findDomain(m.domain)) fail(at(where, "domain"), "no domain " + quotedText(m.domain) + " in /domains");
    net.machines.push_back(std::move(m));
  }
  for (std::size_t k = 0; k < machines.size(); ++k) {
    readMachineAccounts(net, net.machines[k], machineSams[k], pending);
  }

  checkDomainLinks(net);
  for (std::size_t k = 0; k < domains.size(); ++k) checkLogonMachines(net, domains[k], at("/domains", k));
  for (std::size_t k = 0; k < machines.size(); ++k) {
    for (const auto& [where, j] : machineSams[k]) checkLogonMachines(net, j, where);
  }
  checkBrowseLists(net);
  checkUserOrders(net);
  resolveLocalGroupMembers(net, pending);
  readUserRegistries(root, net);

  checkSession(net);
  for (std::size_t k = 0; k < net.machines.size(); ++k)
    resolveVolumeAccounts(net, net.machines[k], at(at("/machines", k), "volumes"));
}

}  // namespace

SID machineSid(std::string_view machineName) {
  // FNV-1a over the upper-case name, spread over three sub-authorities.
  std::uint64_t h = 1469598103934665603ull;
  for (char c : upper(machineName)) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  const auto a = static_cast<DWORD>(h % 900000000 + 100000000);
  const auto b = static_cast<DWORD>((h >> 21) % 900000000 + 100000000);
  const auto c = static_cast<DWORD>((h >> 42) % 900000000 + 100000000);
  return {"S-1-5-21-" + std::to_string(a) + "-" + std::to_string(b) + "-" + std::to_string(c)};
}

void completeNetwork(Network& net) {
  // NT makes its administrative shares at every start, so a lab never lacks them.
  for (auto& m : net.machines) {
    if (!(m.type & SV_TYPE_NT)) continue;
    std::vector<Share> missing;
    for (auto& s : standardShares()) {
      if (!m.findShare(s.name)) missing.push_back(std::move(s));
    }
    // ... and one for every drive.
    for (const auto& v : m.volumes) {
      const std::string name = v.drive + "$";
      if (m.findShare(name) || std::ranges::any_of(missing, [&](const Share& s) {
            return s.name == name;
          }))
        continue;
      missing.push_back(Share{name, ShareType::Disk, v.drive + ":\\", "Default share"});
    }
    m.shares.insert(m.shares.begin(), std::make_move_iterator(missing.begin()),
                    std::make_move_iterator(missing.end()));
  }
  // A new machine database names its domain's groups, found through the
  // domain's indexes: a generated domain has none yet.
  for (auto& d : net.domains) if (!d.sam.indexed()) d.sam.reindex();
  for (auto& m : net.machines) {
    if (m.sam || json::isDomainController(net, m) || !(m.type & SV_TYPE_NT)) continue;
    // A machine that keeps its own accounts starts as a fresh NT installation does.
    Sam sam;
    sam.name = m.name;
    sam.sid = machineSid(m.name);
    const User admin = builtinAdministrator();
    User guest;
    guest.name = "Guest";
    guest.rid = 501;
    guest.info.usri3_priv = USER_PRIV_GUEST;
    guest.info.usri3_comment = "Built-in account for guest access to the computer/domain";
    guest.info.usri3_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_ACCOUNTDISABLE |
                             UF_PASSWD_NOTREQD | UF_PASSWD_CANT_CHANGE | UF_DONT_EXPIRE_PASSWD;
    sam.users = {admin, guest};
    Group none;
    none.name = "None";
    none.rid = 513;
    none.comment = "Ordinary users";
    none.members = {500, 501};
    sam.groups = {none};
    const Domain* d = net.findDomain(m.domain);
    auto domainGroup = [&](const char* name) -> std::vector<SID> {
      if (!d) return {};
      if (const Group* g = d->sam.findGroup(name)) return {accountSid(d->sam, g->rid, AccountKind::Group)};
      return {};
    };
    LocalGroup admins{"Administrators", 544, "Members can fully administer the computer/domain",
                      {accountSid(sam, 500, AccountKind::User)}};
    for (auto& s : domainGroup("Domain Admins")) admins.members.push_back(s);
    LocalGroup users{"Users", 545, "Ordinary users", domainGroup("Domain Users")};
    LocalGroup guests{"Guests", 546, "Users granted guest access to the computer/domain",
                      {accountSid(sam, 501, AccountKind::User)}};
    for (auto& s : domainGroup("Domain Guests")) guests.members.push_back(s);
    LocalGroup powerUsers{"Power Users", 547, "Members can share directories and printers", {}};
    LocalGroup backup{"Backup Operators", 551, "Members can bypass file security to back up files", {}};
    sam.localGroups = {admins, users, guests, powerUsers, backup};
    m.sam = std::move(sam);
  }
  // Databases read from the file were indexed as they were read.
  for (auto& d : net.domains) if (!d.sam.indexed()) d.sam.reindex();
  for (auto& m : net.machines) if (m.sam && !m.sam->indexed()) m.sam->reindex();
}

std::unique_ptr<Network> parseLab(std::string_view text, std::string_view source,
                                  std::string* error) {
  auto net = std::make_unique<Network>();
  try {
    const Json root = Json::parse(text.begin(), text.end());
    parseNetwork(root, *net);
  } catch (const Json::parse_error& e) {
    if (error) {
      std::string what = e.what();
      // nlohmann's text: "[json.exception.parse_error.101] parse error at line 3, column 5: ...",
      // which can end with the whole token last read: a string of any length.
      auto colon = what.find(": ");
      auto detail = colon == std::string::npos ? what : what.substr(colon + 2);
      *error = messageText(source, kQuotedPathChars) + ": " +
               lineAndColumn(text, e.byte > 0 ? e.byte - 1 : 0) +
               ": malformed JSON: " + messageText(detail, kQuotedTextChars);
    }
    return nullptr;
  } catch (const Fault& f) {
    if (error) *error = messageText(source, kQuotedPathChars) + ": " + f.where + ": " + f.what;
    return nullptr;
  } catch (const std::exception& e) {
    if (error) *error = messageText(source, kQuotedPathChars) + ": " + messageText(e.what(), kWholeMessageChars);
    return nullptr;
  }
  completeNetwork(*net);
  return net;
}

std::unique_ptr<Network> parseLabQuickly(LabText& text) {
  auto net = std::make_unique<Network>();
  try {
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    const std::string_view json = text.view();
    if (parser.parse(json.data(), json.size(), false).get(root) != simdjson::SUCCESS) return nullptr;
    // The document holds copies of all it needs.
    text.release();
    parseNetwork(SimdValue(root), *net);
  } catch (...) {
    // A fault, or something this reader leaves to the other one.
    return nullptr;
  }
  completeNetwork(*net);
  return net;
}

std::string writeLab(const Network& net) {
  Json root;
  root["format"] = 1;
  root["localMachine"] = net.localMachine;
  root["loggedOn"] = net.loggedOn;
  root["system"] = json::writeSystem(net);
  if (!net.networkProviders.empty()) root["networkProviders"] = net.networkProviders;
  Json domains = Json::array();
  for (const auto& d : net.domains) domains.push_back(json::writeDomain(net, d));
  root["domains"] = std::move(domains);
  Json machines = Json::array();
  for (const auto& m : net.machines) machines.push_back(json::writeMachine(net, m));
  root["machines"] = std::move(machines);
  if (!net.userHives.empty()) root["userRegistries"] = json::writeUserRegistries(net);
  return root.dump(2) + "\n";
}

}  // namespace lab
