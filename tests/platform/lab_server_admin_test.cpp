// A server's settings, sessions, open files and shares in the lab: read to
// the end in pages, changed with their parameter errors, refused to plain
// users, and every change kept across a restart by the journal.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "../support/lab_fixture.h"
#include "platform/netapi.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

SERVER_INFO_102 info102(std::string_view server) {
  NetBuffer buf;
  EXPECT_EQ(NetServerGetInfo(server, 102, buf), NERR_Success);
  return buf.one<SERVER_INFO_102>() ? *buf.one<SERVER_INFO_102>() : SERVER_INFO_102{};
}

// Reads an enumeration page by page, as the dialogs do.
template <class T, class Call>
std::vector<T> readAll(Call call, DWORD pageBytes, int* pages) {
  std::vector<T> all;
  DWORD resume = 0;
  *pages = 0;
  for (;;) {
    NetBuffer buf;
    DWORD read = 0, total = 0;
    const DWORD st = call(buf, pageBytes, &read, &total, &resume);
    EXPECT_TRUE(st == NERR_Success || st == ERROR_MORE_DATA) << st;
    ++*pages;
    auto got = buf.get<T>();
    EXPECT_EQ(got.size(), read);
    all.insert(all.end(), got.begin(), got.end());
    if (st != ERROR_MORE_DATA) break;
  }
  return all;
}

std::vector<SESSION_INFO_2> sessions(std::string_view server, DWORD pageBytes = MAX_PREFERRED_LENGTH) {
  int pages = 0;
  return readAll<SESSION_INFO_2>(
      [&](NetBuffer& b, DWORD len, DWORD* r, DWORD* t, DWORD* h) {
        return NetSessionEnum(server, "", "", 2, b, len, r, t, h);
      },
      pageBytes, &pages);
}

std::vector<FILE_INFO_3> files(std::string_view server) {
  int pages = 0;
  return readAll<FILE_INFO_3>(
      [&](NetBuffer& b, DWORD len, DWORD* r, DWORD* t, DWORD* h) {
        return NetFileEnum(server, "", "", 3, b, len, r, t, h);
      },
      MAX_PREFERRED_LENGTH, &pages);
}

TEST(LabServerAdmin, Level102AndEverySettingWithItsParameterErrors) {
  lab::test::LabFixture lab("server-admin");
  ASSERT_TRUE(lab) << lab.error();
  SERVER_INFO_102 fs = info102("\\\\FILES");
  EXPECT_EQ(fs.sv102_comment, "File server");
  EXPECT_EQ(fs.sv102_users, 25u);
  EXPECT_EQ(fs.sv102_disc, SV_NODISC);
  EXPECT_EQ(fs.sv102_hidden, 0u);
  EXPECT_EQ(fs.sv102_announce, 120u);
  EXPECT_EQ(fs.sv102_anndelta, 2000u);
  EXPECT_EQ(fs.sv102_userpath, "D:\\Users");

  DWORD parm = 99;
  EXPECT_EQ(NetServerSetInfo("FILES", 1005, SERVER_INFO_1005{"Files and more"}, &parm), NERR_Success);
  EXPECT_EQ(NetServerSetInfo("FILES", 1010, SERVER_INFO_1010{30}, &parm), NERR_Success);
  EXPECT_EQ(NetServerSetInfo("FILES", 1016, SERVER_INFO_1016{1}, &parm), NERR_Success);
  EXPECT_EQ(NetServerSetInfo("FILES", 1017, SERVER_INFO_1017{600}, &parm), NERR_Success);
  EXPECT_EQ(NetServerSetInfo("FILES", 1018, SERVER_INFO_1018{0}, &parm), NERR_Success);
  EXPECT_EQ(NetServerSetInfo("FILES", 1516, SERVER_INFO_1516{1}, &parm), NERR_Success);
  fs = info102("FILES");
  EXPECT_EQ(fs.sv102_comment, "Files and more");
  EXPECT_EQ(fs.sv102_disc, 30);
  EXPECT_EQ(fs.sv102_hidden, 1u);
  EXPECT_EQ(fs.sv102_announce, 600u);
  EXPECT_EQ(fs.sv102_anndelta, 0u);
  EXPECT_TRUE(fs.sv102_type & SV_TYPE_TIME_SOURCE);
  // Hidden: left out of the browse list.
  NetBuffer list;
  DWORD read = 0, total = 0;
  ASSERT_EQ(NetServerEnum("CORPDC", 101, list, MAX_PREFERRED_LENGTH, &read, &total, SV_TYPE_ALL, "", nullptr), NERR_Success);
  for (const auto& s : list.get<SERVER_INFO_101>()) EXPECT_NE(s.sv101_name, "FILES");

  // Out-of-range values name their parameter and change nothing.
  struct Bad { DWORD level; NetInfo info; DWORD parm; };
  const Bad bad[] = {{1005, SERVER_INFO_1005{std::string(257, 'x')}, SV_COMMENT_PARMNUM},
                     {1010, SERVER_INFO_1010{-2}, SV_DISC_PARMNUM},
                     {1010, SERVER_INFO_1010{65536}, SV_DISC_PARMNUM},
                     {1016, SERVER_INFO_1016{2}, SV_HIDDEN_PARMNUM},
                     {1017, SERVER_INFO_1017{0}, SV_ANNOUNCE_PARMNUM},
                     {1018, SERVER_INFO_1018{70000}, SV_ANNDELTA_PARMNUM},
                     {1516, SERVER_INFO_1516{5}, SV_TIMESOURCE_PARMNUM}};
  const std::string before = lab->toJson();
  for (const auto& b : bad) {
    parm = 0;
    EXPECT_EQ(NetServerSetInfo("FILES", b.level, b.info, &parm), ERROR_INVALID_PARAMETER) << b.level;
    EXPECT_EQ(parm, b.parm) << b.level;
  }
  EXPECT_EQ(NetServerSetInfo("FILES", 1017, SERVER_INFO_1016{0}, &parm), ERROR_INVALID_LEVEL);
  EXPECT_EQ(NetServerSetInfo("GONE", 1016, SERVER_INFO_1016{0}, &parm), ERROR_BAD_NETPATH);
  EXPECT_EQ(lab->toJson(), before);

  // A plain user may not read or change the settings; a server operator may.
  lab->logOn("CORP\\alice");
  NetBuffer buf;
  EXPECT_EQ(NetServerGetInfo("FILES", 102, buf), ERROR_ACCESS_DENIED);
  EXPECT_EQ(NetServerGetInfo("FILES", 101, buf), NERR_Success);
  EXPECT_EQ(NetServerSetInfo("FILES", 1016, SERVER_INFO_1016{0}, &parm), ERROR_ACCESS_DENIED);
  EXPECT_EQ(NetSessionEnum("FILES", "", "", 2, buf, MAX_PREFERRED_LENGTH, &read, &total, nullptr), ERROR_ACCESS_DENIED);
  EXPECT_EQ(NetFileEnum("FILES", "", "", 3, buf, MAX_PREFERRED_LENGTH, &read, &total, nullptr), ERROR_ACCESS_DENIED);
  EXPECT_EQ(NetSessionDel("FILES", "", "bob"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(NetShareEnum("FILES", 2, buf, MAX_PREFERRED_LENGTH, &read, &total, nullptr), ERROR_ACCESS_DENIED);
  EXPECT_EQ(NetShareEnum("FILES", 1, buf, MAX_PREFERRED_LENGTH, &read, &total, nullptr), NERR_Success);
  lab->logOn("CORP\\oscar");
  EXPECT_EQ(NetServerSetInfo("CORPDC", 1005, SERVER_INFO_1005{"Controller"}, &parm), NERR_Success);
  EXPECT_EQ(info102("CORPDC").sv102_comment, "Controller");
}

TEST(LabServerAdmin, SessionsAndFilesReadInPagesAndADisconnectClosesTheSessionsFiles) {
  lab::test::LabFixture lab("server-admin");
  ASSERT_TRUE(lab) << lab.error();
  // One session per page still reads all three, in order, with their opens.
  int pages = 0;
  auto all = readAll<SESSION_INFO_2>(
      [](NetBuffer& b, DWORD len, DWORD* r, DWORD* t, DWORD* h) {
        return NetSessionEnum("FILES", "", "", 2, b, len, r, t, h);
      },
      1, &pages);
  EXPECT_EQ(pages, 3);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].sesi2_username, "alice");
  EXPECT_EQ(all[0].sesi2_num_opens, 2u);
  EXPECT_EQ(all[1].sesi2_user_flags, SESS_GUEST);
  EXPECT_EQ(all[1].sesi2_time, 65u);
  auto open = files("FILES");
  ASSERT_EQ(open.size(), 3u);
  EXPECT_EQ(open[0].fi3_pathname, "D:\\Data\\plan.doc");
  EXPECT_EQ(open[0].fi3_permissions, 3u);
  EXPECT_EQ(open[0].fi3_num_locks, 2u);
  EXPECT_EQ(open[2].fi3_username, "bob");
  EXPECT_NE(open[0].fi3_id, open[1].fi3_id);

  // Filters and their misses.
  NetBuffer buf;
  DWORD read = 0, total = 0;
  EXPECT_EQ(NetSessionEnum("FILES", "\\\\pc2", "", 2, buf, MAX_PREFERRED_LENGTH, &read, &total, nullptr), NERR_Success);
  EXPECT_EQ(read, 1u);
  EXPECT_EQ(NetSessionEnum("FILES", "\\\\NOPE", "", 2, buf, MAX_PREFERRED_LENGTH, &read, &total, nullptr), NERR_ClientNameNotFound);
  EXPECT_EQ(NetFileEnum("FILES", "d:\\data", "", 3, buf, MAX_PREFERRED_LENGTH, &read, &total, nullptr), NERR_Success);
  EXPECT_EQ(read, 2u);

  // One user's sessions (both of alice's) go, and their files with them.
  EXPECT_EQ(NetSessionDel("FILES", "", "ALICE"), NERR_Success);
  all = sessions("FILES");
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0].sesi2_username, "bob");
  open = files("FILES");
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].fi3_username, "bob");
  EXPECT_EQ(NetSessionDel("FILES", "", "alice"), NERR_UserNotFound);
  EXPECT_EQ(NetSessionDel("FILES", "\\\\WKS", ""), NERR_ClientNameNotFound);
  // Neither client nor user: every session.
  EXPECT_EQ(NetSessionDel("FILES", "", ""), NERR_Success);
  EXPECT_TRUE(sessions("FILES").empty());
  EXPECT_TRUE(files("FILES").empty());
}

TEST(LabServerAdmin, SharesAreAddedChangedAndRemovedWithTheirErrors) {
  lab::test::LabFixture lab("server-admin");
  ASSERT_TRUE(lab) << lab.error();
  DWORD parm = 0;
  SHARE_INFO_2 tools{"TOOLS", STYPE_DISKTREE, "Tools", 0, 5, 0, "D:\\Tools", ""};
  ASSERT_EQ(NetShareAdd("FILES", 2, tools, &parm), NERR_Success);
  EXPECT_EQ(NetShareAdd("FILES", 2, SHARE_INFO_2{"tools", STYPE_DISKTREE, "", 0, SHI_USES_UNLIMITED, 0, "D:\\X", ""}, &parm),
            NERR_DuplicateShare);
  struct Bad { SHARE_INFO_2 share; DWORD parm; };
  const Bad bad[] = {
      {{"A/B", STYPE_DISKTREE, "", 0, SHI_USES_UNLIMITED, 0, "D:\\X", ""}, SHARE_NETNAME_PARMNUM},
      {{"", STYPE_DISKTREE, "", 0, SHI_USES_UNLIMITED, 0, "D:\\X", ""}, SHARE_NETNAME_PARMNUM},
      {{"PIPE", STYPE_IPC, "", 0, SHI_USES_UNLIMITED, 0, "", ""}, SHARE_TYPE_PARMNUM},
      {{"NOPATH", STYPE_DISKTREE, "", 0, SHI_USES_UNLIMITED, 0, "Tools", ""}, SHARE_PATH_PARMNUM},
      {{"LONG", STYPE_DISKTREE, std::string(300, 'r'), 0, SHI_USES_UNLIMITED, 0, "D:\\X", ""}, SHARE_REMARK_PARMNUM},
      {{"NOONE", STYPE_DISKTREE, "", 0, 0, 0, "D:\\X", ""}, SHARE_MAX_USES_PARMNUM}};
  for (const auto& b : bad) {
    parm = 0;
    EXPECT_EQ(NetShareAdd("FILES", 2, b.share, &parm), ERROR_INVALID_PARAMETER) << b.share.shi2_netname;
    EXPECT_EQ(parm, b.parm) << b.share.shi2_netname;
  }

  tools.shi2_path = "E:\\Tools";
  tools.shi2_remark = "Moved";
  tools.shi2_max_uses = SHI_USES_UNLIMITED;
  EXPECT_EQ(NetShareSetInfo("FILES", "tools", 2, tools, &parm), NERR_Success);
  EXPECT_EQ(NetShareSetInfo("FILES", "DATA", 1004, SHARE_INFO_1004{"Data of all"}, &parm), NERR_Success);
  EXPECT_EQ(NetShareSetInfo("FILES", "DATA", 1006, SHARE_INFO_1006{3}, &parm), NERR_Success);
  EXPECT_EQ(NetShareSetInfo("FILES", "NONE", 1004, SHARE_INFO_1004{"x"}, &parm), NERR_NetNameNotFound);
  NetBuffer buf;
  ASSERT_EQ(NetShareGetInfo("FILES", "TOOLS", 2, buf), NERR_Success);
  EXPECT_EQ(buf.one<SHARE_INFO_2>()->shi2_path, "E:\\Tools");
  EXPECT_EQ(buf.one<SHARE_INFO_2>()->shi2_remark, "Moved");
  ASSERT_EQ(NetShareGetInfo("FILES", "DATA", 2, buf), NERR_Success);
  EXPECT_EQ(buf.one<SHARE_INFO_2>()->shi2_max_uses, 3u);
  EXPECT_EQ(buf.one<SHARE_INFO_2>()->shi2_remark, "Data of all");
  EXPECT_EQ(buf.one<SHARE_INFO_2>()->shi2_current_uses, 1u);  // alice's files lie below D:\Data

  EXPECT_EQ(NetShareDel("FILES", "LASER", 0), NERR_Success);
  EXPECT_EQ(NetShareDel("FILES", "LASER", 0), NERR_NetNameNotFound);

  // Read one share per page: all of them, administrative ones marked special.
  int pages = 0;
  const auto shares = readAll<SHARE_INFO_2>(
      [](NetBuffer& b, DWORD len, DWORD* r, DWORD* t, DWORD* h) {
        return NetShareEnum("FILES", 2, b, len, r, t, h);
      },
      1, &pages);
  std::vector<std::string> names;
  for (const auto& s : shares) names.push_back(s.shi2_netname);
  EXPECT_EQ(names, (std::vector<std::string>{"IPC$", "ADMIN$", "C$", "DATA", "TOOLS"}));
  EXPECT_EQ(shares[0].shi2_type, STYPE_IPC | STYPE_SPECIAL);
  EXPECT_EQ(pages, 5);
}

TEST(LabServerAdmin, ChangesSurviveARestartThroughTheJournal) {
  const fs::path dir = fs::temp_directory_path() / ("veltrane-server-admin-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path file = dir / "lab.json";
  fs::copy_file(lab::test::testLabPath("server-admin"), file, fs::copy_options::overwrite_existing);
  std::string error;
  std::string liveJson;
  {
    auto live = lab::loadLabFile(file.string(), &error);
    ASSERT_TRUE(live) << error;
    platform::ScopedBackend backend(lab::makeLabBackend(live));
    DWORD parm = 0;
    ASSERT_EQ(NetServerSetInfo("FILES", 1005, SERVER_INFO_1005{"Renamed"}, &parm), NERR_Success);
    ASSERT_EQ(NetServerSetInfo("FILES", 1010, SERVER_INFO_1010{45}, &parm), NERR_Success);
    ASSERT_EQ(NetServerSetInfo("FILES", 1016, SERVER_INFO_1016{1}, &parm), NERR_Success);
    ASSERT_EQ(NetSessionDel("FILES", "", "bob"), NERR_Success);
    ASSERT_EQ(NetShareAdd("FILES", 2, SHARE_INFO_2{"NEW", STYPE_DISKTREE, "n", 0, 4, 0, "D:\\New", ""}, &parm), NERR_Success);
    ASSERT_EQ(NetShareSetInfo("FILES", "DATA", 1004, SHARE_INFO_1004{"changed"}, &parm), NERR_Success);
    ASSERT_EQ(NetShareDel("FILES", "LASER", 0), NERR_Success);
    liveJson = live->toJson();
    // A copy of the file and its journal, as a crash would leave them.
    fs::create_directories(dir / "copy");
    fs::copy_file(file, dir / "copy" / "lab.json");
    fs::copy_file(file.string() + ".journal", (dir / "copy" / "lab.json").string() + ".journal");
  }
  auto replayed = lab::loadLabFile((dir / "copy" / "lab.json").string(), &error);
  ASSERT_TRUE(replayed) << error;
  EXPECT_EQ(replayed->toJson(), liveJson);
  // And the folded file holds the same.
  auto folded = lab::loadLabFile(file.string(), &error);
  ASSERT_TRUE(folded) << error;
  EXPECT_EQ(folded->toJson(), liveJson);
  EXPECT_NE(liveJson.find("\"Renamed\""), std::string::npos);
  EXPECT_EQ(liveJson.find("menu.txt"), std::string::npos);
  replayed.reset();
  folded.reset();
  fs::remove_all(dir);
}

}  // namespace

namespace {

TEST(LabServerAdmin, AGeneratedMemberServerIsAdministeredByTheDomainsAdmins) {
  lab::test::LabFixture lab(lab::generateLab(lab::GeneratorOptions{}));
  ASSERT_TRUE(lab);
  // Its Administrators hold the domain's Domain Admins, as a joined NT server's do.
  NetBuffer buf;
  EXPECT_EQ(NetServerGetInfo("\\\\GENSRV01", 102, buf), NERR_Success);
  DWORD read = 0, total = 0;
  EXPECT_EQ(NetLocalGroupGetMembers("\\\\GENSRV01", "Users", 3, buf, MAX_PREFERRED_LENGTH, &read, &total, nullptr),
            NERR_Success);
  ASSERT_EQ(read, 1u);
  EXPECT_EQ(buf.get<LOCALGROUP_MEMBERS_INFO_3>()[0].lgrmi3_domainandname, "GEN\\Domain Users");
}

}  // namespace
