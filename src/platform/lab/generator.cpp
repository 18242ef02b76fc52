// Generated labs: one domain of any size, the same for the same options.

#include <algorithm>
#include <random>

#include "platform/lab/lab.h"
#include "platform/lab/lab_json.h"
#include "platform/lab/model.h"
#include "platform/registry.h"

namespace lab {

using namespace platform;

namespace {

constexpr const char* kFirstNames[] = {"Anna", "Bernd", "Clara", "David", "Eva", "Frank",
                                       "Greta", "Hugo", "Ines", "Jonas", "Karin", "Lars",
                                       "Maria", "Nils", "Olga", "Paul", "Rita", "Sven",
                                       "Tina", "Uwe", "Vera", "Walter", "Yvonne", "Zoran"};
constexpr const char* kLastNames[] = {"Adler", "Becker", "Conrad", "Dietrich", "Engel", "Fischer",
                                      "Graf", "Hoffmann", "Jung", "Keller", "Lang", "Meyer",
                                      "Neumann", "Otto", "Peters", "Richter", "Schulz", "Vogel",
                                      "Wagner", "Ziegler"};
constexpr const char* kDepartments[] = {"Accounts", "Sales", "Stores", "Engineering", "Personnel",
                                        "Dispatch", "Legal", "Support"};
constexpr std::int64_t kBaseTime = 915148800;  // 1 Jan 1999

// Our own draws, so that a seed gives the same lab with every library.
class Draw {
 public:
  explicit Draw(std::uint32_t seed) : m_engine(seed) {}
  std::uint32_t below(std::uint32_t n) { return n == 0 ? 0 : static_cast<std::uint32_t>(m_engine() % n); }
  bool chance(std::uint32_t percent) { return below(100) < percent; }

 private:
  std::mt19937 m_engine;
};

std::string padded(const char* prefix, int n, int width) {
  std::string digits = std::to_string(n);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
  return prefix + digits;
}

void addValue(Hive& hive, const std::string& key, const std::string& name, DWORD type,
              std::vector<std::uint8_t> data) {
  auto& k = hive[upper(key)];
  k.path = key;
  k.values.push_back(RegValue{name, type, std::move(data)});
}

// A member server's own shares: a data disk, and queues when it serves printers.
std::vector<Share> serverShares(int index, DWORD type) {
  const std::string n = std::to_string(index);
  std::vector<Share> shares{
      Share{"D$", ShareType::Disk, "D:\\", "Default share"},
      Share{"DATA", ShareType::Disk, "D:\\Data", "Department data"},
      Share{"APPS" + n, ShareType::Disk, "D:\\Apps", "Applications"},
  };
  if (type & SV_TYPE_PRINTQ_SERVER) {
    shares.push_back(Share{"print$", ShareType::Disk, "C:\\WINNT\\system32\\spool\\drivers",
                           "Printer Drivers"});
    shares.push_back(Share{"LASER" + n, ShareType::Print, "HP LaserJet 4Si", "Laser printer"});
  }
  return shares;
}

}  // namespace

std::shared_ptr<Lab> generateLab(const GeneratorOptions& o) {
  Draw draw(o.seed);
  auto net = std::make_unique<Network>();
  const int dcs = std::max(1, o.domainControllers);

  Domain d;
  d.name = "GEN";
  d.sam.name = d.name;
  d.sam.sid = {"S-1-5-21-" + std::to_string(1000 + o.seed % 9000) + "-424242-777"};
  d.sam.policy.modals0.usrmod0_min_passwd_len = 6;
  d.sam.policy.modals3.usrmod3_lockout_threshold = 5;

  std::vector<std::string> dcNames;
  for (int i = 0; i < dcs; ++i) dcNames.push_back(i == 0 ? "GENPDC" : padded("GENBDC", i, 2));
  d.pdc = dcNames[0];
  d.bdcs.assign(dcNames.begin() + 1, dcNames.end());

  // Users, RIDs in creation order.
  User admin = builtinAdministrator();
  admin.passwordLastSet = kBaseTime;
  d.sam.users.push_back(admin);
  const int width = std::max(5, static_cast<int>(std::to_string(o.users).size()));
  for (int i = 1; i <= o.users; ++i) {
    User u;
    u.name = padded("user", i, width);
    u.rid = 1000 + static_cast<DWORD>(i) - 1;
    const char* first = kFirstNames[draw.below(std::size(kFirstNames))];
    const char* last = kLastNames[draw.below(std::size(kLastNames))];
    u.info.usri3_full_name = std::string(first) + " " + last;
    u.info.usri3_comment = kDepartments[draw.below(std::size(kDepartments))];
    DWORD flags = UF_SCRIPT | UF_NORMAL_ACCOUNT;
    if (draw.chance(5)) flags |= UF_ACCOUNTDISABLE;
    if (draw.chance(2)) flags |= UF_LOCKOUT;
    if (draw.chance(20)) flags |= UF_DONT_EXPIRE_PASSWD;
    if (draw.chance(5)) flags |= UF_PASSWD_CANT_CHANGE;
    u.info.usri3_flags = flags;
    u.passwordExpired = draw.chance(5);
    // Blank passwords (no hash): hashing one per account would make a
    // 100,000-account lab take minutes to generate.
    u.passwordLastSet = kBaseTime + draw.below(86400 * 365);
    u.info.usri3_home_dir = "\\\\GENSRV01\\users\\" + u.name;
    u.info.usri3_home_dir_drive = "H:";
    u.info.usri3_script_path = draw.chance(70) ? "logon.bat" : "";
    if (draw.chance(10)) u.info.usri3_acct_expires = static_cast<DWORD>(kBaseTime + 86400 * (400 + draw.below(400)));
    // Logons spread over the controllers.
    for (const auto& dc : dcNames) {
      if (!draw.chance(60)) continue;
      LogonStats s;
      s.numLogons = 1 + draw.below(500);
      s.lastLogon = static_cast<DWORD>(kBaseTime + 86400 * 300 + draw.below(86400 * 60));
      s.lastLogoff = draw.chance(80) ? s.lastLogon + draw.below(36000) : s.lastLogon - 3600;
      u.logons[upper(dc)] = s;
    }
    if (draw.chance(15)) {
      u.dialin.allowed = true;
      u.dialin.callbackType = draw.below(3);
      if (u.dialin.callbackType == RAS_CALLBACK_PRESET) {
        u.dialin.callbackNumber = "555-" + std::to_string(1000 + draw.below(9000));
      }
    }
    d.sam.users.push_back(std::move(u));
  }

  const DWORD firstGroupRid = 1000 + static_cast<DWORD>(o.users);
  auto wellKnown = [](const char* name, DWORD rid, const char* comment) {
    Group g;
    g.name = name;
    g.rid = rid;
    g.comment = comment;
    return g;
  };
  Group admins = wellKnown("Domain Admins", 512, "Designated administrators of the domain");
  admins.members.push_back(500);
  Group users = wellKnown("Domain Users", 513, "All domain users");
  for (const auto& u : d.sam.users) users.members.push_back(u.rid);
  d.sam.groups = {admins, users, wellKnown("Domain Guests", 514, "All domain guests")};
  for (int i = 1; i <= o.groups; ++i) {
    Group g;
    g.name = padded("group", i, 4);
    g.rid = firstGroupRid + static_cast<DWORD>(i) - 1;
    g.comment = std::string(kDepartments[draw.below(std::size(kDepartments))]) + " team";
    const int members = std::min(o.membersPerGroup, o.users);
    for (int k = 0; k < members; ++k) {
      const DWORD rid = 1000 + draw.below(static_cast<std::uint32_t>(std::max(o.users, 1)));
      if (std::find(g.members.begin(), g.members.end(), rid) == g.members.end()) g.members.push_back(rid);
    }
    d.sam.groups.push_back(std::move(g));
  }
  const auto sidOf = [&](DWORD rid) { return SID{d.sam.sid.value + "-" + std::to_string(rid)}; };
  d.sam.localGroups = {
      LocalGroup{"Administrators", 544, "Members can fully administer the computer/domain",
                 {sidOf(500), sidOf(512)}},
      LocalGroup{"Users", 545, "Ordinary users", {sidOf(513)}},
      LocalGroup{"Guests", 546, "Users granted guest access to the computer/domain", {sidOf(514)}},
      LocalGroup{"Account Operators", 548, "Members can administer domain user and group accounts", {}},
      LocalGroup{"Server Operators", 549, "Members can administer domain servers", {}},
  };
  const DWORD firstLocalRid = firstGroupRid + static_cast<DWORD>(o.groups);
  for (int i = 1; i <= o.localGroups; ++i) {
    LocalGroup g;
    g.name = padded("local", i, 3);
    g.rid = firstLocalRid + static_cast<DWORD>(i) - 1;
    g.comment = "Resource access";
    if (o.groups > 0) g.members.push_back(sidOf(firstGroupRid + draw.below(static_cast<std::uint32_t>(o.groups))));
    if (o.users > 0) g.members.push_back(sidOf(1000 + draw.below(static_cast<std::uint32_t>(o.users))));
    if (g.members.size() == 2 && g.members[0] == g.members[1]) g.members.pop_back();
    d.sam.localGroups.push_back(std::move(g));
  }
  d.sam.nextRid = firstLocalRid + static_cast<DWORD>(std::max(o.localGroups, 0));

  // Machines: the controllers, then servers and workstations.
  auto machine = [&](const std::string& name, DWORD type, DWORD major, DWORD minor,
                     const char* build, const char* csd, const std::string& comment) {
    Machine m;
    m.name = name;
    m.domain = d.name;
    m.type = type;
    m.versionMajor = major;
    m.versionMinor = minor;
    m.comment = comment;
    auto& hklm = m.hives["HKEY_LOCAL_MACHINE"];
    const std::string key = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    addValue(hklm, key, "CSDVersion", REG_SZ, regSzBytes(csd));
    addValue(hklm, key, "CurrentBuildNumber", REG_SZ, regSzBytes(build));
    addValue(hklm, key, "InstallDate", REG_DWORD,
             regDwordBytes(static_cast<DWORD>(kBaseTime - 86400 * (30 + draw.below(700)))));
    return m;
  };
  const DWORD serverBits = SV_TYPE_WORKSTATION | SV_TYPE_SERVER | SV_TYPE_NT;
  for (int i = 0; i < dcs; ++i) {
    const DWORD role = i == 0 ? SV_TYPE_DOMAIN_CTRL | SV_TYPE_MASTER_BROWSER | SV_TYPE_DOMAIN_MASTER |
                                    SV_TYPE_TIME_SOURCE
                              : SV_TYPE_DOMAIN_BAKCTRL | SV_TYPE_BACKUP_BROWSER;
    net->machines.push_back(machine(dcNames[i], serverBits | role, 4, 0, "1381", "Service Pack 6",
                                    i == 0 ? "Primary domain controller" : "Backup domain controller"));
  }
  for (int i = 1; i <= o.servers; ++i) {
    const bool workstation = i % 3 == 0;
    const std::string name = padded(workstation ? "GENWKS" : "GENSRV", i, 2);
    DWORD type = workstation ? SV_TYPE_WORKSTATION | SV_TYPE_NT | SV_TYPE_POTENTIAL_BROWSER
                             : serverBits | SV_TYPE_SERVER_NT | SV_TYPE_DOMAIN_MEMBER |
                                   SV_TYPE_BACKUP_BROWSER;
    if (!workstation && draw.chance(30)) type |= SV_TYPE_PRINTQ_SERVER;
    if (!workstation && draw.chance(10)) type |= SV_TYPE_SQLSERVER;
    const bool nt351 = draw.chance(15);
    net->machines.push_back(machine(name, type, 3 + (nt351 ? 0 : 1), nt351 ? 51 : 0,
                                    nt351 ? "1057" : "1381",
                                    nt351 ? "Service Pack 5" : (draw.chance(50) ? "Service Pack 6" : "Service Pack 4"),
                                    workstation ? "Workstation" : "Member server"));
    // Shares follow from the role alone, so the draws (and with them every
    // generated lab) stay as they were before machines had shares.
    if (!workstation) net->machines.back().shares = serverShares(i, type);
  }
  const std::string local = o.servers >= 3 ? padded("GENWKS", 3, 2) : "GENWKS00";
  if (!net->findMachine(local)) {
    net->machines.push_back(machine(local, SV_TYPE_WORKSTATION | SV_TYPE_NT, 4, 0, "1381",
                                    "Service Pack 6", "Administrator's workstation"));
  }
  for (int i = 0; i < dcs; ++i) {
    net->machines[static_cast<std::size_t>(i)].shares.push_back(
        Share{"NETLOGON", ShareType::Disk, "C:\\WINNT\\system32\\Repl\\Import\\Scripts",
              "Logon server share"});
  }
  net->localMachine = local;
  net->loggedOn = d.name + "\\Administrator";
  net->domains.push_back(std::move(d));
  completeNetwork(*net);
  return std::make_shared<Lab>(std::move(net));
}

std::shared_ptr<Lab> generateNetworkLab(int domains, int serversPerDomain, int sharesPerServer) {
  auto net = std::make_unique<Network>();
  for (int d = 0; d < domains; ++d) {
    Domain domain;
    domain.name = padded("NET", d, 2);
    domain.sam.name = domain.name;
    domain.sam.sid = {"S-1-5-21-" + std::to_string(5000 + d) + "-515151-616161"};
    domain.sam.users.push_back(builtinAdministrator());
    for (int s = 0; s < serversPerDomain; ++s) {
      Machine m;
      m.name = padded((domain.name + "S").c_str(), s, 4);
      m.domain = domain.name;
      m.comment = "Server " + std::to_string(s) + " of " + domain.name;
      // Not NT: no accounts or administrative shares of its own to make.
      m.type = SV_TYPE_WORKSTATION | SV_TYPE_SERVER | SV_TYPE_SERVER_UNIX;
      for (int k = 0; k < sharesPerServer; ++k) {
        m.shares.push_back(Share{padded("SHARE", k, 2), ShareType::Disk,
                                 "D:\\Share" + std::to_string(k), "Share " + std::to_string(k)});
      }
      net->machines.push_back(std::move(m));
    }
    if (serversPerDomain > 0) domain.pdc = net->machines[net->machines.size() - static_cast<std::size_t>(serversPerDomain)].name;
    net->domains.push_back(std::move(domain));
  }
  net->localMachine = net->machines.empty() ? "" : net->machines.front().name;
  net->loggedOn = domains > 0 ? "NET00\\Administrator" : "";
  completeNetwork(*net);
  return std::make_shared<Lab>(std::move(net));
}

}  // namespace lab
