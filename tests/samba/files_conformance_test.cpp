// The Files walks on the DC's shares through the program's own calls and
// workers, compared with what Samba's own tools (smbclient, smbcacls) read
// for the same paths.
#include <gtest/gtest.h>
#include <unistd.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

#include "dlgthreads/files_walks.h"
#include "dlgthreads/files_worker.h"
#include "platform/files.h"
#include "platform/netapi.h"
#include "platform/samba/samba_backend.h"
#include "samba_dc.h"
#include "test_host.h"

namespace {

using namespace platform;
using namespace samba_test;

struct Entry {
  bool directory = false;
  std::uint64_t size = 0;
  friend bool operator==(const Entry&, const Entry&) = default;
};
using Tree = std::map<std::string, Entry>;  // by path below the share, '\\'-separated

std::string unc(const std::string& share, const std::string& rest = "") {
  return dc().server + "\\" + share + "\\" + rest;
}

// smbclient's recursive listing of a share, "." and ".." left out.
Tree toolTree(const std::string& share) {
  const auto out = runProgram({"smbclient", "//" + dc().address + "/" + share, "-A",
                               dc().prefix + "/admin.auth", "-c", "recurse; ls"});
  static const std::regex kLine(
      R"(^  (.+?)\s+([A-Z]*)\s+(\d+)\s+\w{3} \w{3}\s+\d+ \d\d:\d\d:\d\d \d{4}$)");
  Tree tree;
  std::string dir;
  for (const std::string& line : outputLines(out)) {
    std::smatch m;
    if (line.starts_with("\\")) {
      dir = line.substr(1) + "\\";
    } else if (std::regex_match(line, m, kLine) && m[1] != "." && m[1] != "..") {
      tree[dir + m[1].str()] = {m[2].str().find('D') != std::string::npos,
                                std::stoull(m[3].str())};
    }
  }
  return tree;
}

// The same share walked through FindFirstFile / FindNextFile.
void walk(const std::string& share, const std::string& dir, Tree* tree) {
  FindHandle find;
  WIN32_FIND_DATA data;
  ASSERT_EQ(FindFirstFile(unc(share, dir) + "*.*", find.out(), &data), 0u) << dir;
  std::vector<std::string> names;
  do {
    names.push_back(data.cFileName);
    if (data.cFileName == "." || data.cFileName == "..") continue;
    const bool isDir = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    const std::string path = dir + data.cFileName;
    (*tree)[path] = {isDir, (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow};
    if (isDir) walk(share, path + "\\", tree);
  } while (FindNextFile(find.get(), &data) == 0);
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], ".");
  EXPECT_EQ(names[1], "..");
}

// smbcacls' reading of a path: "OWNER:S-..." and one "ACL:SID:type/flags/mask"
// line per entry, numbers as numbers.
std::vector<std::string> toolDescriptor(const std::string& share, const std::string& path) {
  std::string slashed = path;
  for (char& c : slashed) c = c == '\\' ? '/' : c;
  const auto out = runProgram({"smbcacls", "//" + dc().address + "/" + share,
                               slashed.empty() ? "/" : slashed, "-A", dc().prefix + "/admin.auth",
                               "--numeric"});
  std::vector<std::string> lines;
  for (const std::string& line : outputLines(out)) {
    if (line.starts_with("OWNER:")) lines.push_back(line);
    if (!line.starts_with("ACL:")) continue;
    const auto colon = line.rfind(':');
    unsigned type = 0, flags = 0, mask = 0;
    const std::string rights = line.substr(colon + 1);
    EXPECT_EQ(std::sscanf(rights.c_str(), "%u/%i/%i", &type, &flags, &mask), 3) << line;
    lines.push_back(line.substr(0, colon) + ":" + std::to_string(type) + "/" +
                    std::to_string(flags) + "/" + std::to_string(mask));
  }
  return lines;
}

std::vector<std::string> ourDescriptor(const std::string& share, const std::string& path) {
  SECURITY_DESCRIPTOR sd;
  DWORD needed = 0;
  // Too small a buffer first: the length it needs, then the descriptor.
  EXPECT_EQ(GetFileSecurity(unc(share, path), OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                            &sd, 8, &needed),
            ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(GetFileSecurity(unc(share, path), OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                            &sd, needed, &needed),
            0u) << path;
  std::vector<std::string> lines;
  EXPECT_TRUE(IsValidSecurityDescriptor(sd));
  if (sd.owner) lines.push_back("OWNER:" + sd.owner->value);
  if (sd.dacl)
    for (const ACE& a : sd.dacl->aces)
      lines.push_back("ACL:" + a.Sid.value + ":" + std::to_string(a.AceType) + "/" +
                      std::to_string(a.AceFlags) + "/" + std::to_string(a.Mask));
  return lines;
}

class Files : public ::testing::Test {
 protected:
  void SetUp() override { m_backend = std::make_unique<ScopedBackend>(sambaBackend()); }

  std::shared_ptr<dlgthreads::WorkerBlock> files(int form, const std::string& root) {
    m_host = std::make_shared<dlgthreads::testing::TestHost>();
    auto block = dlgthreads::testing::makeBlock(dlgthreads::WorkKind::Files, m_host, dc().server);
    block->state.settings.f_display_type = form;
    block->state.settings.f_root_path = root;
    dlgthreads::ResetWork(dlgthreads::WorkKind::Files);
    dlgthreads::gatherFiles(block);
    return block;
  }

  std::unique_ptr<ScopedBackend> m_backend;
  std::shared_ptr<dlgthreads::testing::TestHost> m_host;
};

// The access tree of the Administrator: the DC's disk shares from the
// network enumeration, and below each the directories smbclient lists, each
// with rights (the Administrator's groups hold rights everywhere).
TEST_F(Files, AccessTreeShowsTheDcsSharesAndTheirDirectories) {
  m_host = std::make_shared<dlgthreads::testing::TestHost>();
  auto block = dlgthreads::testing::makeBlock(dlgthreads::WorkKind::Files, m_host, dc().server);
  block->state.settings.f_display_type = 1;
  block->userName = "Administrator";
  dlgthreads::ResetWork(dlgthreads::WorkKind::Files);
  dlgthreads::accessTree(block);
  EXPECT_TRUE(m_host->scripted().shown().empty());
  ASSERT_TRUE(block->userNameKnown);
  std::set<std::string> shares, sysvolDirectories;
  for (std::size_t i = 0; i < block->accessTree.used(); ++i) {
    const std::string_view line = block->accessTree.line(i);
    if (line.starts_with('d')) shares.insert(std::string(line.substr(line.rfind('\t') + 1)));
    if (line.starts_with('F')) {
      EXPECT_NE(line.find("   ("), std::string_view::npos) << line;
      EXPECT_EQ(line.find("(None)"), std::string_view::npos) << line;
    }
  }
  EXPECT_EQ(shares, (std::set<std::string>{unc("sysvol").substr(0, unc("sysvol").size() - 1),
                                           unc("netlogon").substr(0, unc("netlogon").size() - 1)}));
  std::size_t directories = 0;
  for (const auto& [path, e] : toolTree("sysvol")) directories += e.directory;
  std::size_t folderLines = 0;
  for (std::size_t i = 0; i < block->accessTree.used(); ++i)
    folderLines += block->accessTree.line(i).starts_with('F');
  // sysvol's directories, and netlogon's (a directory of sysvol) again.
  EXPECT_GE(folderLines, directories);
  ASSERT_GT(directories, 0u);
}

// Every entry of sysvol with its size, owner and access list as Samba's
// tools read them; the owner walk's totals and the rights dump's paths
// follow from the same tree.
TEST_F(Files, SysvolWalksAgreeWithSambasTools) {
  Tree ours;
  walk("sysvol", "", &ours);
  const Tree theirs = toolTree("sysvol");
  ASSERT_FALSE(theirs.empty());
  EXPECT_EQ(ours, theirs);

  std::uint64_t bytes = 0, fileCount = 0;
  for (const auto& [path, e] : theirs) {
    EXPECT_EQ(ourDescriptor("sysvol", path), toolDescriptor("sysvol", path)) << path;
    if (!e.directory) bytes += e.size, ++fileCount;
  }
  ASSERT_GT(fileCount, 0u);

  auto owners = files(0, unc("sysvol"));
  EXPECT_TRUE(m_host->scripted().shown().empty());
  std::uint64_t shownBytes = 0, shownFiles = 0;
  for (std::size_t i = 0; i < owners->files.used(); ++i) {
    const auto& e = owners->files.get(i);
    EXPECT_FALSE(e.name.starts_with("<")) << e.name;  // no denied, missing or unknown owner
    shownBytes += e.bytes;
    shownFiles += e.count;
  }
  EXPECT_EQ(shownBytes, bytes);
  EXPECT_EQ(shownFiles, fileCount);

  auto rights = files(2, unc("sysvol"));
  EXPECT_TRUE(m_host->scripted().shown().empty());
  std::set<std::string> dumped;
  for (std::size_t i = 0; i < rights->files.used(); ++i) {
    const auto& e = rights->files.get(i);
    EXPECT_FALSE(e.name.starts_with("<")) << e.name << " " << e.path;
    dumped.insert(e.path);
  }
  // Every file and directory below the root, with its access list.
  std::set<std::string> expected;
  for (const auto& [path, e] : theirs) expected.insert(unc("sysvol", path));
  EXPECT_EQ(dumped, expected);
}

TEST_F(Files, CreatedDirectoryIsListedAndFaultsGiveTheirCodes) {
  const std::string name = "vt-files-" + std::to_string(getpid());
  ASSERT_EQ(CreateDirectory(unc("netlogon", name)), 0u);
  EXPECT_EQ(CreateDirectory(unc("netlogon", name)), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(CreateDirectory(unc("netlogon", name + "\\sub")), 0u);
  EXPECT_EQ(CreateDirectory(unc("netlogon", "vt-missing\\sub")), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(CreateDirectory(unc("netlogon", "a?b")), ERROR_INVALID_NAME);
  const Tree theirs = toolTree("netlogon");
  EXPECT_TRUE(theirs.contains(name) && theirs.at(name).directory);
  EXPECT_TRUE(theirs.contains(name + "\\sub") && theirs.at(name + "\\sub").directory);
  {
    FindHandle find;
    WIN32_FIND_DATA data;
    ASSERT_EQ(FindFirstFile(unc("netlogon", "VT-FILES-*"), find.out(), &data), 0u);
    EXPECT_EQ(data.cFileName, name);
    EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(FindNextFile(find.get(), &data), ERROR_NO_MORE_FILES);
  }
  // The new directory is the logged-on account's.
  EXPECT_EQ(ourDescriptor("netlogon", name), toolDescriptor("netlogon", name));

  std::string fs;
  DWORD serial = 0, maxLength = 0, flags = 0;
  EXPECT_EQ(GetVolumeInformation(unc("netlogon"), nullptr, &serial, &maxLength, &flags, &fs), 0u);
  EXPECT_EQ(fs, "NTFS");
  EXPECT_EQ(maxLength, 255u);
  EXPECT_EQ(GetVolumeInformation(unc("netlogon", name), nullptr, nullptr, nullptr, nullptr, &fs),
            ERROR_INVALID_NAME);

  FindHandle find;
  WIN32_FIND_DATA data;
  SECURITY_DESCRIPTOR sd;
  DWORD needed = 0;
  EXPECT_EQ(FindFirstFile(unc("netlogon", name + "\\nothing*"), find.out(), &data), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(FindFirstFile(unc("netlogon", "vt-missing\\*.*"), find.out(), &data), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(GetFileSecurity(unc("netlogon", "vt-missing.txt"), OWNER_SECURITY_INFORMATION, &sd,
                            65536, &needed),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(FindFirstFile(unc("no-such-share") + "*.*", find.out(), &data), ERROR_BAD_NET_NAME);
  EXPECT_EQ(FindFirstFile("C:\\*.*", find.out(), &data), ERROR_NOT_SUPPORTED);
  EXPECT_EQ(GetFileSecurity("C:\\boot.ini", OWNER_SECURITY_INFORMATION, &sd, 65536, &needed),
            ERROR_NOT_SUPPORTED);
  EXPECT_EQ(FindFirstFile("\\\\127.0.0.9\\share\\*.*", find.out(), &data), ERROR_BAD_NETPATH);

  runProgram({"smbclient", "//" + dc().address + "/netlogon", "-A", dc().prefix + "/admin.auth",
              "-c", "rmdir " + name + "/sub; rmdir " + name});
}

// The Administrator maps to root on the DC and is refused nothing: an
// ordinary account meets the directory whose access list leaves it out.
TEST_F(Files, DirectoryClosedToAnAccountIsRefusedWithItsCode) {
  const std::string user = "vt.files" + std::to_string(getpid() % 100000);
  const std::string password = "Files!Passw0rd" + std::to_string(getpid());
  const std::string closed = "vt-closed-" + std::to_string(getpid());
  NetUserDel(dc().server, user);
  USER_INFO_1 add;
  add.usri1_name = user;
  add.usri1_password = password;
  add.usri1_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_DONT_EXPIRE_PASSWD;
  ASSERT_EQ(NetUserAdd(dc().server, 1, add, nullptr), NERR_Success);
  ASSERT_EQ(CreateDirectory(unc("netlogon", closed)), 0u);
  ASSERT_EQ(CreateDirectory(unc("netlogon", closed + "\\inside")), 0u);
  int status = -1;
  runProgram({"smbcacls", "//" + dc().address + "/netlogon", closed, "-A",
              dc().prefix + "/admin.auth", "--set",
              "REVISION:1,OWNER:S-1-5-32-544,GROUP:S-1-5-32-544,ACL:S-1-5-32-544:ALLOWED/0x0/FULL"},
             &status);
  ASSERT_EQ(status, 0);

  const std::string authFile = (std::filesystem::temp_directory_path() / (closed + ".auth")).string();
  {
    std::ofstream out(authFile);
    chmod(authFile.c_str(), 0600);
    out << "username = " << user << "\npassword = " << password << "\ndomain = " << dc().domain << "\n";
  }
  {
    std::string error;
    auto asUser = samba::sambaBackendFactory()({{"authentication-file", authFile}}, &error);
    std::filesystem::remove(authFile);
    ASSERT_TRUE(asUser) << error;
    ScopedBackend scoped(asUser);
    FindHandle find;
    WIN32_FIND_DATA data;
    SECURITY_DESCRIPTOR sd;
    DWORD needed = 0;
    // The share itself stays open to the account.
    EXPECT_EQ(FindFirstFile(unc("netlogon") + "*.*", find.out(), &data), 0u);
    EXPECT_EQ(FindFirstFile(unc("netlogon", closed + "\\*.*"), find.out(), &data), ERROR_ACCESS_DENIED);
    EXPECT_EQ(GetFileSecurity(unc("netlogon", closed), OWNER_SECURITY_INFORMATION, &sd, 65536, &needed),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(CreateDirectory(unc("netlogon", closed + "\\more")), ERROR_ACCESS_DENIED);
    // The owner walk counts what it could not list instead of failing.
    auto owners = files(0, unc("netlogon"));
    bool deniedShown = false;
    for (std::size_t i = 0; i < owners->files.used(); ++i)
      deniedShown = deniedShown || owners->files.get(i).name == "<dirlist denied>";
    EXPECT_TRUE(deniedShown);
  }

  m_backend.reset();  // acts as the Administrator again
  m_backend = std::make_unique<ScopedBackend>(sambaBackend());
  runProgram({"smbclient", "//" + dc().address + "/netlogon", "-A", dc().prefix + "/admin.auth",
              "-c", "rmdir " + closed + "/inside; rmdir " + closed});
  EXPECT_EQ(NetUserDel(dc().server, user), NERR_Success);
}

}  // namespace
