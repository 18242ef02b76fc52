// The import's dry run against the DC: what it says of each record is what
// the import of the same file then does there, and the DC is left as it was
// until the import runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/netapi.h"
#include "samba_dc.h"
#include "transfer/import/import_engine.h"
#include "transfer/import/import_preview.h"
#include "ui/scripted_messages.h"

namespace {

using namespace platform;
using namespace samba_test;

// A new account, one to update, one unchanged, a name the DC cannot take,
// a password shorter than the DC's policy, and a group's name.
constexpr std::string_view kUsers =
    "UserName\tPassword\tDescription\tDisabled\r\n"
    "vtdrynew\tDry-Run-Pass-9!\tMade by the suite\tNo\r\n"
    "vtdryold\t\tChanged by the suite\tNo\r\n"
    "vtdrysame\t\tKept\tNo\r\n"
    "bad/name\tDry-Run-Pass-9!\t\tNo\r\n"
    "vtdryshort\tab\t\tNo\r\n"
    "Domain Admins\tDry-Run-Pass-9!\t\tNo\r\n";

void remove(const std::string& name) {
  runProgram({"samba-tool", "user", "delete", name, "-H", dc().prefix + "/private/sam.ldb",
              "--configfile=" + dc().prefix + "/etc/smb.conf"});
}

bool exists(const std::string& name) {
  return !ldbSearch("(sAMAccountName=" + name + ")", {"sAMAccountName"}).empty();
}

TEST(DcImport, ADryRunSaysWhatTheImportThenDoesAndChangesNothing) {
  ScopedBackend backend(sambaBackend());
  for (const char* n : {"vtdrynew", "vtdryold", "vtdrysame", "vtdryshort"}) remove(n);
  sambaTool({"user", "create", "vtdryold", "Dry-Run-Pass-9!", "--description=Before"});
  sambaTool({"user", "create", "vtdrysame", "Dry-Run-Pass-9!", "--description=Kept"});

  const transfer::ImportFileResult file = transfer::parseImportText(kUsers);
  ASSERT_TRUE(file.table) << file.error;
  transfer::ImportOptions options;
  options.server = dc().server;
  options.style = transfer::ImportStyle::UpdateAll;
  options.askToContinue = false;
  const transfer::ImportPreview preview = transfer::previewImport(*file.table, options);
  std::vector<std::string> said;
  for (const auto& r : preview.records) said.push_back(r.text());
  ASSERT_EQ(said.size(), 6u);
  EXPECT_EQ(said[0], "line 2: vtdrynew: added");
  EXPECT_EQ(said[1], "line 3: vtdryold: updated (description)");
  EXPECT_EQ(said[2], "line 4: vtdrysame: unchanged");
  EXPECT_TRUE(said[3].starts_with("line 5: bad/name: would fail")) << said[3];
  EXPECT_TRUE(said[4].starts_with("line 6: vtdryshort: would fail")) << said[4];
  EXPECT_TRUE(said[5].starts_with("line 7: Domain Admins: would fail")) << said[5];
  EXPECT_FALSE(exists("vtdrynew")) << "a dry run adds nothing";
  NetBuffer buf;
  ASSERT_EQ(NetUserGetInfo(dc().server, "vtdryold", 3, buf), NERR_Success);
  EXPECT_EQ(buf.one<USER_INFO_3>()->usri3_comment, "Before");

  ui::ScriptedMessages messages;
  const transfer::ImportSummary summary = transfer::runImport(*file.table, options, messages);
  EXPECT_EQ(summary.users.added, preview.added);
  EXPECT_EQ(summary.users.updated, preview.updated);
  EXPECT_EQ(summary.users.unchanged, preview.unchanged);
  EXPECT_EQ(summary.failures.size(), 3u);
  for (const std::string& f : summary.failures)
    EXPECT_TRUE(f.starts_with("Line 5:") || f.starts_with("Line 6:") || f.starts_with("Line 7:"))
        << f;
  EXPECT_TRUE(exists("vtdrynew"));
  for (const char* n : {"vtdrynew", "vtdryold", "vtdrysame", "vtdryshort"}) remove(n);
}

}  // namespace
