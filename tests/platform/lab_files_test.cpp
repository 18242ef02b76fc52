// Files of the lab through the platform API: listings and their status
// codes, descriptors and the access lists that guard them, volumes, and
// directories created (journaled, laid over a generated tree).

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <tuple>
#include <unordered_map>
#include <unistd.h>

#include "../support/lab_fixture.h"
#include "platform/files.h"
#include "platform/lab/file_paths.h"
#include "platform/lab/model.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

// Every entry of a listing, or the status of its first call.
std::vector<WIN32_FIND_DATA> list(std::string_view pattern, DWORD* status) {
  std::vector<WIN32_FIND_DATA> entries;
  FindHandle h;
  WIN32_FIND_DATA d;
  *status = FindFirstFile(pattern, h.out(), &d);
  if (*status != ERROR_SUCCESS) return entries;
  do entries.push_back(d);
  while (FindNextFile(h.get(), &d) == ERROR_SUCCESS);
  EXPECT_EQ(FindNextFile(h.get(), &d), ERROR_NO_MORE_FILES);
  return entries;
}

std::vector<std::string> names(const std::vector<WIN32_FIND_DATA>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) out.push_back(e.cFileName);
  return out;
}

TEST(LabFiles, ListingsAnswerWithTheStatusCodesOfTheirFailures) {
  lab::test::LabFixture lab("files-lab");
  ASSERT_TRUE(lab) << lab.error();
  DWORD st = 0;
  // The root lists no dots; a directory does, and sizes come in two halves.
  EXPECT_EQ(names(list("C:\\*.*", &st)), (std::vector<std::string>{"Data", "Locked", "Mixed", "Rights"}));
  const auto data = list("C:\\Data\\*.*", &st);
  ASSERT_EQ(st, ERROR_SUCCESS);
  EXPECT_EQ(names(data), (std::vector<std::string>{".", "..", "big.iso", "local.txt", "stray.txt", "Gen"}));
  EXPECT_EQ(data[2].nFileSizeHigh, 1u);
  EXPECT_EQ(data[2].nFileSizeLow, 2147483648u);
  EXPECT_TRUE(data[5].dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  // Explicit nodes stand first, then the generated ones they do not replace.
  EXPECT_EQ(names(list("c:\\data\\gen\\*", &st)),
            (std::vector<std::string>{".", "..", "dir001", "file00002.dat", "dir000", "dir002",
                                      "file00000.dat", "file00001.dat", "file00003.dat",
                                      "file00004.dat", "file00005.dat", "file00006.dat"}));
  EXPECT_EQ(names(list("C:\\Data\\Gen\\dir001\\*.doc", &st)), (std::vector<std::string>{"extra.doc"}));

  list("C:\\Nowhere\\*.*", &st);
  EXPECT_EQ(st, ERROR_PATH_NOT_FOUND);
  list("C:\\Data\\*.zip", &st);
  EXPECT_EQ(st, ERROR_FILE_NOT_FOUND);
  list("C:\\Locked\\*.*", &st);
  EXPECT_EQ(st, ERROR_ACCESS_DENIED);
  list("\\\\NOSUCH\\C$\\*.*", &st);
  EXPECT_EQ(st, ERROR_BAD_NETPATH);
  list("\\\\MEMBER\\Q$\\*.*", &st);
  EXPECT_EQ(st, ERROR_BAD_NET_NAME);
  list("C:/Data/*.*", &st);
  EXPECT_EQ(st, ERROR_INVALID_NAME);
}

TEST(LabFiles, DescriptorsHoldWhatWasAskedForAndAccessFollowsTheList) {
  lab::test::LabFixture lab("files-lab");
  ASSERT_TRUE(lab) << lab.error();
  SECURITY_DESCRIPTOR sd;
  DWORD needed = 0;
  EXPECT_EQ(GetFileSecurity("C:\\Rights\\plan.txt", DACL_SECURITY_INFORMATION, &sd, 20, &needed),
            ERROR_INSUFFICIENT_BUFFER);
  EXPECT_GT(needed, 20u);
  ASSERT_EQ(GetFileSecurity("C:\\Rights\\plan.txt", DACL_SECURITY_INFORMATION, &sd, needed, &needed),
            ERROR_SUCCESS);
  const SID* owner = nullptr;
  BOOL present = 0, defaulted = 0;
  const ACL* acl = nullptr;
  EXPECT_EQ(GetSecurityDescriptorOwner(sd, &owner, &defaulted), ERROR_SUCCESS);
  EXPECT_EQ(owner, nullptr);  // not asked for
  ASSERT_EQ(GetSecurityDescriptorDacl(sd, &present, &acl, &defaulted), ERROR_SUCCESS);
  ASSERT_TRUE(present && acl);
  ACL_SIZE_INFORMATION info;
  ASSERT_EQ(GetAclInformation(*acl, &info), ERROR_SUCCESS);
  // The inherit-only entry for files reaches the file as a plain one.
  EXPECT_EQ(info.AceCount, 6u);
  const ACE* ace = nullptr;
  EXPECT_EQ(GetAce(*acl, info.AceCount, &ace), ERROR_INVALID_PARAMETER);

  ASSERT_EQ(GetFileSecurity("C:\\Rights\\Open", DACL_SECURITY_INFORMATION, &sd, 65556, &needed), 0u);
  ASSERT_EQ(GetSecurityDescriptorDacl(sd, &present, &acl, &defaulted), ERROR_SUCCESS);
  EXPECT_TRUE(present);
  EXPECT_EQ(acl, nullptr);  // NULL DACL
  EXPECT_EQ(GetFileSecurity("C:\\Mixed\\bad.txt", OWNER_SECURITY_INFORMATION, &sd, 65556, &needed), 0u);
  EXPECT_FALSE(IsValidSecurityDescriptor(sd));
  EXPECT_EQ(GetSecurityDescriptorOwner(sd, &owner, &defaulted), ERROR_INVALID_SECURITY_DESCR);

  // bob is in Sales (allowed to write) but denied writing by name: deny wins.
  lab->logOn("LAB\\bob");
  EXPECT_EQ(CreateDirectory("C:\\Rights\\ByBob"), ERROR_ACCESS_DENIED);
  lab->logOn("LAB\\alice");
  EXPECT_EQ(CreateDirectory("C:\\Rights\\ByAlice"), ERROR_SUCCESS);
  // carol has no entry: neither the listing nor the descriptor is hers.
  lab->logOn("LAB\\carol");
  DWORD st = 0;
  list("C:\\Rights\\*.*", &st);
  EXPECT_EQ(st, ERROR_ACCESS_DENIED);
  EXPECT_EQ(GetFileSecurity("C:\\Rights", DACL_SECURITY_INFORMATION, &sd, 65556, &needed),
            ERROR_ACCESS_DENIED);
  // Everyone may list the NULL-DACL directory inside it.
  EXPECT_EQ(names(list("C:\\Rights\\Open\\*.*", &st)), (std::vector<std::string>{".", "..", "any.txt"}));
}

TEST(LabFiles, VolumesNameTheirFileSystems) {
  lab::test::LabFixture lab("files-lab");
  ASSERT_TRUE(lab) << lab.error();
  std::string fs, label;
  EXPECT_EQ(GetVolumeInformation("\\\\MEMBER\\E$\\", &label, nullptr, nullptr, nullptr, &fs), 0u);
  EXPECT_EQ(fs, "CDFS");
  EXPECT_EQ(GetVolumeInformation("C:\\", nullptr, nullptr, nullptr, nullptr, &fs), 0u);
  EXPECT_EQ(fs, "NTFS");
  EXPECT_EQ(CreateDirectory("\\\\MEMBER\\E$\\New"), ERROR_ACCESS_DENIED);
  // A share can only be made on a drive the machine has.
  DWORD parm = 0;
  const auto share = [](const char* name, const char* path) {
    return SHARE_INFO_2{name, STYPE_DISKTREE, "", 0, SHI_USES_UNLIMITED, 0, path, ""};
  };
  EXPECT_EQ(NetShareAdd("\\\\MEMBER", 2, share("NODRIVE", "Q:\\NoDrive"), &parm),
            NERR_UnknownDevDir);
  EXPECT_EQ(NetShareAdd("\\\\MEMBER", 2, share("ONDRIVE", "D:\\Some"), &parm), NERR_Success);
}

TEST(LabFiles, CreatedDirectoriesSurviveARestartOverAGeneratedTree) {
  const fs::path dir = fs::temp_directory_path() / ("veltrane-files-test-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path file = dir / "lab.json";
  fs::copy_file(lab::test::testLabPath("files-lab"), file, fs::copy_options::overwrite_existing);
  {
    std::string error;
    auto lab = lab::loadLabFile(file.string(), &error);
    ASSERT_TRUE(lab) << error;
    ScopedBackend backend(lab::makeLabBackend(lab));
    EXPECT_EQ(CreateDirectory("C:\\Data\\Gen\\dir002\\dir000\\Fresh"), ERROR_SUCCESS);
    EXPECT_EQ(CreateDirectory("C:\\Data\\Gen\\dir002\\dir000\\Fresh"), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(CreateDirectory("C:\\Data\\Gen\\dir002\\file00001.dat"), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(CreateDirectory("C:\\Data\\None\\Fresh"), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(CreateDirectory("C:\\Data\\bad|name"), ERROR_INVALID_NAME);
    EXPECT_TRUE(fs::exists(file.string() + ".journal"));
  }
  for (int round = 0; round < 2; ++round) {  // from the journal, then from the folded file
    std::string error;
    auto lab = lab::loadLabFile(file.string(), &error);
    ASSERT_TRUE(lab) << error;
    ScopedBackend backend(lab::makeLabBackend(lab));
    DWORD st = 0;
    const auto entries = list("C:\\Data\\Gen\\dir002\\dir000\\*.*", &st);
    ASSERT_EQ(st, ERROR_SUCCESS);
    EXPECT_EQ(entries[2].cFileName, "Fresh");
    // The generated files (this is the deepest level) are all still there beside it.
    EXPECT_EQ(entries.size(), 3u + 7u);
    SECURITY_DESCRIPTOR sd;
    DWORD needed = 0;
    ASSERT_EQ(GetFileSecurity("C:\\Data\\Gen\\dir002\\dir000\\Fresh", OWNER_SECURITY_INFORMATION, &sd,
                              65556, &needed), 0u);
    std::string name, domain;
    SID_NAME_USE use{};
    ASSERT_EQ(LookupAccountSid("", *sd.owner, &name, &domain, &use), 0u);
    EXPECT_EQ(domain + "\\" + name, "LAB\\Administrator");
  }
  fs::remove_all(dir);
}

TEST(LabFiles, TreesWrittenBackReadTheSame) {
  lab::test::LabFixture lab("files-lab");
  ASSERT_TRUE(lab) << lab.error();
  std::string error;
  auto again = lab::labFromJson(lab->toJson(), "written", &error);
  ASSERT_TRUE(again) << error;
  const auto totals = [](const lab::Lab& l, const char* path) {
    std::unordered_map<std::string, lab::OwnerTotal> t;
    l.read([&](const lab::Network& net) {
      DWORD status = 0;
      EXPECT_TRUE(lab::ownerTotalsAt(net, path, &t, &status)) << path;
    });
    std::map<std::string, std::pair<std::uint64_t, std::uint64_t>> out;
    for (const auto& [sid, v] : t) out[sid] = {v.bytes, v.files};
    return out;
  };
  EXPECT_EQ(totals(*again, "C:\\"), totals(lab.lab(), "C:\\"));
  // Access lists come back entry for entry, deny entries included.
  const auto rights = [](const std::shared_ptr<lab::Lab>& l) {
    ScopedBackend backend(lab::makeLabBackend(l));
    std::vector<std::tuple<int, int, unsigned, std::string>> out;
    for (const char* path : {"C:\\Rights\\plan.txt", "C:\\Rights\\Open", "\\\\MEMBER\\Projects\\Docs"}) {
      SECURITY_DESCRIPTOR sd;
      DWORD needed = 0;
      EXPECT_EQ(GetFileSecurity(path, DACL_SECURITY_INFORMATION, &sd, 65556, &needed), 0u) << path;
      out.emplace_back(sd.daclPresent, sd.dacl ? 1 : 0, 0u, path);
      if (sd.dacl)
        for (const ACE& a : sd.dacl->aces) out.emplace_back(a.AceType, a.AceFlags, a.Mask, a.Sid.value);
    }
    return out;
  };
  EXPECT_EQ(rights(again), rights(lab.shared()));
}

// A file tree that does not hold together is refused with its place named,
// whichever of the two readers the lab is read by.
TEST(LabFiles, FaultyTreesAreRefusedWithTheirPlace) {
  const std::string base = R"({"format": 1, "localMachine": "WKS", "loggedOn": "LAB\\ann",
    "domains": [{"name": "LAB", "sid": "S-1-5-21-1-2-3", "pdc": "PDC", "users": [{"name": "ann"}]}],
    "machines": [{"name": "PDC", "domain": "LAB", "type": ["SV_TYPE_SERVER", "SV_TYPE_DOMAIN_CTRL", "SV_TYPE_NT"]},
                 {"name": "WKS", "domain": "LAB", "volumes": [VOLUME]}]})";
  const auto load = [&](const std::string& volume, std::string* error) {
    std::string text = base;
    text.replace(text.find("VOLUME"), 6, volume);
    return lab::labFromJson(text, "t.json", error);
  };
  std::string error;
  EXPECT_TRUE(load(R"({"drive": "C", "root": {"owner": "LAB\\ann"}})", &error)) << error;
  const std::pair<const char*, const char*> cases[] = {
      {R"({"drive": "CC"})", "/machines/1/volumes/0/drive: expected a drive letter"},
      {R"({"drive": "C", "root": {"owner": "LAB\\nobody"}})",
       "/machines/1/volumes/0/root/owner: no account \"LAB\\nobody\""},
      {R"({"drive": "C", "root": {"children": [{"name": "a"}, {"name": "A"}]}})",
       "/machines/1/volumes/0/root/children/1/name: duplicate name \"A\""},
      {R"({"drive": "C", "root": {"children": [{"name": "a|b"}]}})",
       "/machines/1/volumes/0/root/children/0/name: invalid file name \"a|b\""},
      {R"({"drive": "C", "root": {"dacl": [{"allow": "Everyone", "rights": ["fly"]}]}})",
       "/machines/1/volumes/0/root/dacl/0/rights/0: unknown right \"fly\""},
      {R"({"drive": "C", "root": {"dacl": [{"allow": "Everyone", "deny": "Everyone", "rights": 1}]}})",
       "/machines/1/volumes/0/root/dacl/0: expected exactly one of \"allow\", \"deny\" and \"audit\""},
      {R"({"drive": "C", "root": {"generate": {"sizeMin": 5, "sizeMax": 4}}})",
       "/machines/1/volumes/0/root/generate/sizeMax: below sizeMin"},
  };
  for (const auto& [volume, message] : cases) {
    error.clear();
    EXPECT_FALSE(load(volume, &error)) << volume;
    EXPECT_EQ(error, std::string("t.json: ") + message) << volume;
  }
}

// A generated tree of about 10^15 possible files loads at once and answers
// for any place in it the same way every time.
TEST(LabFiles, AHugeGeneratedTreeCostsNothingUntilLookedAt) {
  const std::string text = R"({"format": 1, "localMachine": "WKS", "loggedOn": "LAB\\ann",
    "domains": [{"name": "LAB", "sid": "S-1-5-21-1-2-3", "pdc": "PDC", "users": [{"name": "ann"}, {"name": "bo"}]}],
    "machines": [{"name": "PDC", "domain": "LAB", "type": ["SV_TYPE_SERVER", "SV_TYPE_DOMAIN_CTRL", "SV_TYPE_NT"]},
                 {"name": "WKS", "domain": "LAB", "volumes": [{"drive": "C", "root": {"generate":
                   {"seed": 77, "fanOut": 1000, "depth": 4, "filesPerFolder": 99999,
                    "owners": ["LAB\\ann", "LAB\\bo"], "sizeMin": 0, "sizeMax": 18000000000000000000}}}]}]})";
  std::string first;
  for (int round = 0; round < 2; ++round) {
    std::string error;
    auto made = lab::labFromJson(text, "huge", &error);
    ASSERT_TRUE(made) << error;
    lab::test::LabFixture lab(made);
    DWORD st = 0;
    const auto entries = list("C:\\dir999\\dir000\\dir517\\dir042\\file9999?.dat", &st);
    ASSERT_EQ(st, ERROR_SUCCESS);
    ASSERT_EQ(entries.size(), 9u);  // file99990.dat to file99998.dat
    std::string seen;
    for (const auto& e : entries)
      seen += e.cFileName + "=" + std::to_string(e.nFileSizeHigh) + ":" + std::to_string(e.nFileSizeLow) + ";";
    if (round == 0) first = seen;
    else EXPECT_EQ(seen, first);
    list("C:\\dir999\\dir000\\dir517\\dir042\\dir000\\*.*", &st);
    EXPECT_EQ(st, ERROR_PATH_NOT_FOUND);  // below the deepest level
  }
}

}  // namespace
