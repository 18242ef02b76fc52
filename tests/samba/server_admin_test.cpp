// A server's own administration on the DC through the platform calls the
// server information dialog and the share manager make: sessions, open
// files, shares and the server's registry, compared with what smbstatus
// (the DC's own state, read locally), net rpc and the DC's configuration
// file say.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "dlgthreads/quota_data.h"
#include "dlgthreads/quota_worker.h"
#include "platform/backend.h"
#include "platform/netapi.h"
#include "platform/registry.h"
#include "platform/wnet.h"
#include "samba_dc.h"

namespace {

using namespace platform;
using namespace samba_test;

constexpr char kPassword[] = "Sessi0n-Pass-9!";

std::vector<SESSION_INFO_2> sessions() {
  NetBuffer buf;
  DWORD read = 0, total = 0;
  EXPECT_EQ(
      NetSessionEnum(dc().server, "", "", 2, buf, MAX_PREFERRED_LENGTH, &read, &total, nullptr),
      NERR_Success);
  const auto got = buf.get<SESSION_INFO_2>();
  return {got.begin(), got.end()};
}

// The user names smbstatus lists for the DC's sessions.
std::multiset<std::string> statusUsers() {
  const auto out = runProgram({"smbstatus", "-s", dc().prefix + "/etc/smb.conf", "-b"});
  std::multiset<std::string> users;
  static const std::regex kLine(R"(^\d+\s+(\S+)\s+\S+\s+\S+)");
  for (const std::string& line : outputLines(out)) {
    std::smatch m;
    if (std::regex_search(line, m, kLine)) users.insert(m[1].str());
  }
  return users;
}

bool endsWithName(std::string_view user, std::string_view name) {
  return user == name || user.ends_with("\\" + std::string(name));
}

std::string smbConf() {
  std::ifstream in(dc().prefix + "/etc/smb.conf");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// net rpc registry's answer for one value: its Value line's text.
std::string netRegistryValue(const std::string& key, const std::string& name) {
  const auto out = runProgram({"net", "rpc", "registry", "getvalue", key, name, "-S", dc().address,
                               "-A", dc().prefix + "/admin.auth"});
  for (const std::string& line : outputLines(out)) {
    static const std::regex kValue(R"re(^Value\s+=\s+"?(.*?)"?$)re");
    std::smatch m;
    if (std::regex_match(line, m, kValue)) return m[1].str();
  }
  return "(none)";
}

TEST(ServerAdmin, SessionsAndOpenFilesAreTheDcsAndDisconnectEndsThem) {
  ScopedBackend backend(sambaBackend());
  TestAccount account("vtsession", kPassword);
  // A file on a share for the session to hold open.
  runProgram({"smbclient", "//" + dc().address + "/netlogon", "-A", dc().prefix + "/admin.auth",
              "-c", "put /etc/hostname vtopen.txt"});
  runProgram({"smbcacls", "//" + dc().address + "/netlogon", "vtopen.txt", "-A",
              dc().prefix + "/admin.auth", "-a", "ACL:Everyone:ALLOWED/0/FULL"});
  KeptSmbSession kept("netlogon", account.authFile());
  ASSERT_TRUE(kept.command("open vtopen.txt", "fnum"));

  // Every session smbstatus knows of, by user, and the kept one's count of
  // open files.
  std::multiset<std::string> listed;
  const auto all = sessions();
  const SESSION_INFO_2* mine = nullptr;
  for (const SESSION_INFO_2& s : all) {
    listed.insert(s.sesi2_username);
    if (endsWithName(s.sesi2_username, account.name())) mine = &s;
  }
  // smbstatus names the users by their Unix accounts on the DC.
  EXPECT_EQ(listed.size(), statusUsers().size());
  ASSERT_NE(mine, nullptr);
  EXPECT_FALSE(mine->sesi2_cname.empty());
  EXPECT_FALSE(mine->sesi2_cname.starts_with("\\"));
  EXPECT_EQ(mine->sesi2_num_opens, 1u);

  NetBuffer files;
  DWORD read = 0, total = 0;
  ASSERT_EQ(
      NetFileEnum(dc().server, "", "", 3, files, MAX_PREFERRED_LENGTH, &read, &total, nullptr),
      NERR_Success);
  const auto open = files.get<FILE_INFO_3>();
  const auto held = std::find_if(open.begin(), open.end(), [&](const FILE_INFO_3& f) {
    return f.fi3_pathname.find("vtopen.txt") != std::string::npos;
  });
  ASSERT_NE(held, open.end());
  // The user as the DC names the file's holder (smbstatus: its Unix uid).
  const auto locks =
      outputLines(runProgram({"smbstatus", "-s", dc().prefix + "/etc/smb.conf", "-L"}));
  const auto lockLine = std::find_if(locks.begin(), locks.end(), [](const std::string& l) {
    return l.find("vtopen.txt") != std::string::npos;
  });
  ASSERT_NE(lockLine, locks.end());
  EXPECT_NE(lockLine->find(" " + held->fi3_username + " "), std::string::npos)
      << *lockLine << " / " << held->fi3_username;
  EXPECT_NE(held->fi3_permissions & PERM_FILE_READ, 0u);

  // Disconnect, as the dialog does: every session of the user.
  EXPECT_EQ(NetSessionDel(dc().server, "", mine->sesi2_username), NERR_Success);
  // The server ends the session on its own time, within a moment.
  const auto gone = [&] {
    const auto after = sessions();
    return std::none_of(after.begin(), after.end(), [&](const SESSION_INFO_2& s) {
      return endsWithName(s.sesi2_username, account.name());
    });
  };
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!gone() && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(gone());
  EXPECT_EQ(statusUsers().size(), all.size() - 1);
  // A user with no session left is the server's "not found".
  EXPECT_EQ(NetSessionDel(dc().server, "", "nosuchsessionuser"), NERR_ClientNameNotFound);
}

TEST(ServerAdmin, SharesAreAddedChangedAndDeletedOnTheDc) {
  ScopedBackend backend(sambaBackend());
  const std::string folder = dc().prefix + "/state/vtshare";
  std::filesystem::create_directories(folder);
  NetShareDel(dc().server, "VTSHARE", 0);  // left by an interrupted run

  SHARE_INFO_2 add;
  add.shi2_netname = "VTSHARE";
  add.shi2_type = STYPE_DISKTREE;
  add.shi2_remark = "made by the suite";
  add.shi2_max_uses = 7;
  add.shi2_path = "C:" + folder;
  std::replace(add.shi2_path.begin(), add.shi2_path.end(), '/', '\\');
  DWORD parm = 0;
  ASSERT_EQ(NetShareAdd(dc().server, 2, add, &parm), NERR_Success) << parm;
  EXPECT_NE(smbConf().find("[VTSHARE]"), std::string::npos);
  EXPECT_EQ(NetShareAdd(dc().server, 2, add, &parm), NERR_DuplicateShare);

  // The enumeration holds every share rpcclient lists, the new one with its
  // remark and path as given.
  NetBuffer buf;
  DWORD read = 0, total = 0;
  ASSERT_EQ(NetShareEnum(dc().server, 2, buf, MAX_PREFERRED_LENGTH, &read, &total, nullptr),
            NERR_Success);
  std::set<std::string> names;
  for (const SHARE_INFO_2& s : buf.get<SHARE_INFO_2>()) {
    names.insert(s.shi2_netname);
    if (s.shi2_netname == "VTSHARE") {
      EXPECT_EQ(s.shi2_remark, "made by the suite");
      EXPECT_EQ(s.shi2_path, add.shi2_path);
    }
  }
  std::set<std::string> tool;
  const auto out = runProgram(
      {"rpcclient", dc().address, "-A", dc().prefix + "/admin.auth", "-c", "netshareenumall 1"});
  for (const std::string& line : outputLines(out)) {
    if (line.starts_with("netname: ")) tool.insert(line.substr(9));
  }
  EXPECT_EQ(names, tool);

  SHARE_INFO_1004 remark{"changed by the suite"};
  EXPECT_EQ(NetShareSetInfo(dc().server, "VTSHARE", 1004, remark, &parm), NERR_Success);
  NetBuffer one;
  ASSERT_EQ(NetShareGetInfo(dc().server, "VTSHARE", 2, one), NERR_Success);
  EXPECT_EQ(one.one<SHARE_INFO_2>()->shi2_remark, "changed by the suite");

  EXPECT_EQ(NetShareDel(dc().server, "VTSHARE", 0), NERR_Success);
  EXPECT_EQ(smbConf().find("[VTSHARE]"), std::string::npos);
  EXPECT_EQ(NetShareGetInfo(dc().server, "VTSHARE", 2, one), NERR_NetNameNotFound);
}

TEST(ServerAdmin, TheDcsRegistryIsReadAndWritten) {
  ScopedBackend backend(sambaBackend());
  HKEY root = 0, version = 0;
  ASSERT_EQ(RegConnectRegistry(dc().server, HKEY_LOCAL_MACHINE, &root), 0);
  ASSERT_EQ(
      RegOpenKeyEx(root, "Software\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_READ, &version),
      0);
  // Every value, as net rpc reads it.
  for (DWORD i = 0;; ++i) {
    std::string name;
    DWORD type = 0, size = 0;
    std::vector<std::uint8_t> data(1024);
    const LONG status = RegEnumValue(version, i, &name, 256, &type, data, &size);
    if (status == ERROR_NO_MORE_ITEMS) {
      EXPECT_GE(i, 2u);
      break;
    }
    ASSERT_EQ(status, 0);
    if (type != REG_SZ) continue;
    ASSERT_GT(size, 0u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data()), size - 1),
              netRegistryValue("HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion", name))
        << name;
  }
  EXPECT_EQ(RegCloseKey(version), 0);

  // A key and values made here read back, through the program and through
  // net rpc; text keeps what is not ASCII.
  HKEY made = 0;
  DWORD disposition = 0;
  ASSERT_EQ(
      RegCreateKeyEx(root, "Software\\Veltrane Suite", 0, KEY_ALL_ACCESS, &made, &disposition), 0);
  const std::string text = "Zürich ✓ 東京";
  ASSERT_EQ(RegSetValueEx(made, "Text", REG_SZ, regSzBytes(text)), 0);
  ASSERT_EQ(RegSetValueEx(made, "Number", REG_DWORD, regDwordBytes(0x12345678)), 0);
  EXPECT_EQ(netRegistryValue("HKLM\\Software\\Veltrane Suite", "Text"), text);
  DWORD type = 0, size = 0;
  std::vector<std::uint8_t> small(3);
  EXPECT_EQ(RegQueryValueEx(made, "Text", &type, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, text.size() + 1);
  std::vector<std::uint8_t> data(size);
  ASSERT_EQ(RegQueryValueEx(made, "Text", &type, data, &size), 0);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(data, regSzBytes(text));
  std::vector<std::uint8_t> number(4);
  ASSERT_EQ(RegQueryValueEx(made, "Number", &type, number, &size), 0);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(number, regDwordBytes(0x12345678));
  EXPECT_EQ(RegDeleteValue(made, "Number"), 0);
  EXPECT_EQ(RegQueryValueEx(made, "Number", &type, number, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCloseKey(made), 0);
  EXPECT_EQ(RegCloseKey(root), 0);
}

// The children of `container` (null: the root), read in small batches.
std::vector<NETRESOURCE> children(const NETRESOURCE* container) {
  HANDLE handle = 0;
  EXPECT_EQ(WNetOpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, container, &handle), 0u);
  std::vector<NETRESOURCE> all;
  for (;;) {
    DWORD count = 2, size = 16384;
    std::vector<NETRESOURCE> batch;
    const DWORD status = WNetEnumResource(handle, &count, batch, &size);
    if (status == ERROR_NO_MORE_ITEMS) break;
    EXPECT_EQ(status, 0u);
    if (status != 0) break;
    all.insert(all.end(), batch.begin(), batch.end());
  }
  EXPECT_EQ(WNetCloseEnum(handle), 0u);
  return all;
}

TEST(ServerAdmin, TheNetworkShowsTheDomainItsComputersAndTheirShares) {
  ScopedBackend backend(sambaBackend());
  // The walk shows the lists of the controller the program has browsed.
  NetBuffer self;
  ASSERT_EQ(NetServerGetInfo(dc().server, 101, self), NERR_Success);
  const auto providers = children(nullptr);
  ASSERT_EQ(providers.size(), 1u);
  const auto domains = children(&providers[0]);
  ASSERT_EQ(domains.size(), 1u);
  EXPECT_EQ(domains[0].lpRemoteName, dc().domain);
  EXPECT_EQ(domains[0].dwDisplayType, RESOURCEDISPLAYTYPE_DOMAIN);

  // Every computer account of the domain, as the directory holds them.
  std::set<std::string> computers, listed;
  for (const LdifObject& c : ldbSearch("(objectClass=computer)", {"sAMAccountName"})) {
    std::string name = first(c, "sAMAccountName");
    if (name.ends_with('$')) name.pop_back();
    computers.insert("\\\\" + name);
  }
  const auto servers = children(&domains[0]);
  for (const NETRESOURCE& s : servers) listed.insert(s.lpRemoteName);
  EXPECT_EQ(listed, computers);

  // The DC's disk shares, as rpcclient lists them (IPC$ is not browsed).
  const auto dcEntry = std::find_if(servers.begin(), servers.end(), [](const NETRESOURCE& s) {
    return s.lpRemoteName == "\\\\DC1";
  });
  ASSERT_NE(dcEntry, servers.end());
  std::set<std::string> shares, tool;
  for (const NETRESOURCE& s : children(&*dcEntry)) {
    EXPECT_EQ(s.dwDisplayType, RESOURCEDISPLAYTYPE_SHARE);
    shares.insert(s.lpRemoteName);
  }
  const auto out = runProgram(
      {"rpcclient", dc().address, "-A", dc().prefix + "/admin.auth", "-c", "netshareenumall 1"});
  for (const std::string& line : outputLines(out)) {
    if (line.starts_with("netname: ") && !line.ends_with("$"))
      tool.insert("\\\\DC1\\" + line.substr(9));
  }
  EXPECT_EQ(shares, tool);

  // A measured round trip to the share's server.
  NETCONNECTINFOSTRUCT info;
  ASSERT_FALSE(shares.empty());
  NETRESOURCE share;
  share.lpRemoteName = *shares.begin();
  EXPECT_EQ(MultinetGetConnectionPerformance(share, &info), 0u);
  EXPECT_EQ(info.dwFlags, WNCON_DYNAMIC);
  EXPECT_LT(info.dwDelay, 1000u);
}

TEST(ServerAdmin, ServerSettingsTheDcDoesNotKeepAreRefusedNotReportedAsSet) {
  ScopedBackend backend(sambaBackend());
  NetBuffer before;
  ASSERT_EQ(NetServerGetInfo(dc().server, 102, before), NERR_Success);
  const SERVER_INFO_102 was = *before.one<SERVER_INFO_102>();
  // The DC controller bit the dialog's warning depends on.
  EXPECT_NE(was.sv102_type & SV_TYPE_DOMAIN_CTRL, 0u);
  SERVER_INFO_1005 comment{"changed by the suite"};
  DWORD parm = 0;
  const DWORD status = NetServerSetInfo(dc().server, 1005, comment, &parm);
  NetBuffer after;
  ASSERT_EQ(NetServerGetInfo(dc().server, 102, after), NERR_Success);
  if (status == NERR_Success) {
    EXPECT_EQ(after.one<SERVER_INFO_102>()->sv102_comment, comment.sv1005_comment);
  } else {
    EXPECT_EQ(status, ERROR_NOT_SUPPORTED);
    EXPECT_EQ(parm, SV_COMMENT_PARMNUM);
    EXPECT_EQ(after.one<SERVER_INFO_102>()->sv102_comment, was.sv102_comment);
  }
}

// The Quotas display keeps its entries in the server's registry: an entry
// made there (as the New Quota dialog makes it) is what the display reads,
// and net rpc reads the same value.
TEST(ServerAdmin, QuotaEntriesLiveInTheDcsRegistry) {
  ScopedBackend backend(sambaBackend());
  HKEY root = 0, directories = 0;
  ASSERT_EQ(RegConnectRegistry(dc().server, HKEY_LOCAL_MACHINE, &root), 0);
  ASSERT_EQ(RegCreateKeyEx(root, dlgthreads::kQuotaDirectoriesKey, 0, KEY_ALL_ACCESS, &directories,
                           nullptr),
            0);
  const std::string data = dlgthreads::newQuotaData(2048);
  ASSERT_EQ(RegSetValueEx(directories, "\\\\DC1\\sysvol\\vtquota", REG_SZ, regSzBytes(data)), 0);

  std::vector<dlgthreads::QuotaRecord> read;
  ASSERT_EQ(dlgthreads::readQuotaEntries(dc().server, read), dlgthreads::QuotaReadResult::Read);
  const auto entry = std::find_if(
      read.begin(), read.end(), [](const auto& q) { return q.name == "\\\\DC1\\sysvol\\vtquota"; });
  ASSERT_NE(entry, read.end());
  EXPECT_EQ(entry->size, 2048u);
  EXPECT_EQ(netRegistryValue("HKLM\\" + std::string(dlgthreads::kQuotaDirectoriesKey),
                             "\\\\DC1\\sysvol\\vtquota"),
            data);
  EXPECT_EQ(RegDeleteValue(directories, "\\\\DC1\\sysvol\\vtquota"), 0);
  RegCloseKey(directories);
  RegCloseKey(root);
}

}  // namespace
