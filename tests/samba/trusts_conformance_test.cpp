// The Trusts display of the DC, browsed as a display session over the
// DC's directory, compared with what the DC's own logon service lists
// (samba-tool domain trust list): as provisioned, and with trusted domain
// objects put into the DC's database for the test's length (a trust made
// with samba-tool needs a second domain to answer; the listing reads the
// same objects either way).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/dsgetdc.h"
#include "samba_dc.h"
#include "session/display_session.h"
#include "ui/scripted_messages.h"

namespace {

using namespace samba_test;

// A trust as samba-tool words it: "Type[Forest] Transitive[Yes]
// Direction[BOTH] Name[fabrikam.example]", by name.
struct Listed {
  std::string direction;
  std::string transitive;
  friend bool operator==(const Listed&, const Listed&) = default;
};
using Trusts = std::map<std::string, Listed>;

std::string bracketed(const std::string& line, const std::string& key) {
  const auto open = line.find(key + "[");
  if (open == std::string::npos) return {};
  const auto from = open + key.size() + 1;
  const auto close = line.find(']', from);
  return close == std::string::npos ? std::string() : line.substr(from, close - from);
}

// The DC's own answer, over its local RPC channel as the system (the
// suite runs as root on the DC's machine).
Trusts listedByTheDc() {
  int status = 0;
  const auto lines = outputLines(runProgram(
      {"samba-tool", "domain", "trust", "list", "--configfile=" + dc().prefix + "/etc/smb.conf"},
      &status));
  EXPECT_EQ(status, 0) << "samba-tool domain trust list";
  Trusts listed;
  for (const std::string& line : lines) {
    const std::string name = bracketed(line, "Name");
    if (name.empty()) continue;
    listed[name] = {bracketed(line, "Direction"), bracketed(line, "Transitive")};
  }
  return listed;
}

// The program's Trusts display of the DC, in samba-tool's words: an NT
// domain by its NetBIOS name, the others by their DNS name.
Trusts shownByTheProgram(std::vector<std::vector<std::string>>* rows = nullptr) {
  session::DisplaySession trusts(display::DisplayType::Trusts);
  ui::ScriptedMessages messages;
  session::BrowseRequest request;
  request.type = display::DisplayType::Trusts;
  request.server = dc().server;
  EXPECT_TRUE(trusts.browse(std::move(request), messages).filled);
  for (const ui::Message& m : messages.shown()) ADD_FAILURE() << m.text;
  const std::map<std::string, std::string> directions = {
      {"Two-way", "BOTH"}, {"Trusting", "INCOMING"}, {"Trusted", "OUTGOING"}};
  Trusts shown;
  const session::DisplayContent& content = trusts.content();
  for (std::size_t r = 0; r < content.rowCount(); ++r) {
    std::vector<std::string> cells;
    for (int c = 0; c < 5; ++c) cells.push_back(content.cellText(r, c));
    const std::string& name = cells[3] == "Windows NT" ? cells[0] : cells[1];
    const auto direction = directions.find(cells[2]);
    shown[name] = {direction == directions.end() ? cells[2] : direction->second, cells[4]};
    if (rows) rows->push_back(cells);
  }
  return shown;
}

// The domain's naming context, "DC=samdom,DC=test".
std::string domainDn() {
  const auto domain = ldbSearch("(&(objectClass=domainDNS)(objectSid=*))", {"objectSid"});
  EXPECT_EQ(domain.size(), 1u);
  return domain.empty() ? std::string() : first(domain.front(), "dn");
}

// Trusted domain objects added to the DC's database, and deleted again.
class AddedTrusts {
 public:
  explicit AddedTrusts(const std::vector<std::map<std::string, std::string>>& trusts) {
    const std::string ldif =
        (std::filesystem::temp_directory_path() /
         ("veltrane-trusts-" + std::to_string(::getpid()) + ".ldif"))
            .string();
    {
      std::ofstream out(ldif);
      for (const auto& trust : trusts) {
        const std::string dn = "CN=" + trust.at("trustPartner") + ",CN=System," + domainDn();
        m_dns.push_back(dn);
        out << "dn: " << dn << "\nobjectClass: trustedDomain\n";
        for (const auto& [attribute, value] : trust) out << attribute << ": " << value << "\n";
        out << "\n";
      }
    }
    int status = 0;
    runProgram({"ldbadd", "-H", dc().prefix + "/private/sam.ldb",
                "--configfile=" + dc().prefix + "/etc/smb.conf", ldif},
               &status);
    std::filesystem::remove(ldif);
    EXPECT_EQ(status, 0) << "ldbadd of the trusted domain objects";
  }
  ~AddedTrusts() {
    for (const std::string& dn : m_dns)
      runProgram({"ldbdel", "-H", dc().prefix + "/private/sam.ldb",
                  "--configfile=" + dc().prefix + "/etc/smb.conf", dn});
  }
  AddedTrusts(const AddedTrusts&) = delete;
  AddedTrusts& operator=(const AddedTrusts&) = delete;

 private:
  std::vector<std::string> m_dns;
};

class TrustsConformance : public ::testing::Test {
 protected:
  void SetUp() override { m_scope = std::make_unique<platform::ScopedBackend>(sambaBackend()); }
  std::unique_ptr<platform::ScopedBackend> m_scope;
};

TEST_F(TrustsConformance, AProvisionedDomainListsWhatTheDcLists) {
  EXPECT_EQ(shownByTheProgram(), listedByTheDc());
}

TEST_F(TrustsConformance, TrustedDomainsShowAsTheDcListsThem) {
  AddedTrusts added({
      {{"trustPartner", "fabrikam.example"}, {"flatName", "FABRIKAM"}, {"trustDirection", "3"},
       {"trustType", "2"}, {"trustAttributes", "8"},
       {"securityIdentifier", "S-1-5-21-400-500-600"}},
      {{"trustPartner", "contoso.example"}, {"flatName", "CONTOSO"}, {"trustDirection", "1"},
       {"trustType", "2"}, {"trustAttributes", "4"},
       {"securityIdentifier", "S-1-5-21-410-510-610"}},
      {{"trustPartner", "OLDNT"}, {"flatName", "OLDNT"}, {"trustDirection", "2"},
       {"trustType", "1"}, {"trustAttributes", "0"},
       {"securityIdentifier", "S-1-5-21-74-84-94"}},
  });
  const Trusts listed = listedByTheDc();
  EXPECT_EQ(listed.size(), 3u);
  std::vector<std::vector<std::string>> rows;
  EXPECT_EQ(shownByTheProgram(&rows), listed);
  const std::map<std::string, std::vector<std::string>> expected = {
      {"FABRIKAM", {"FABRIKAM", "fabrikam.example", "Two-way", "Active Directory", "Yes"}},
      {"CONTOSO", {"CONTOSO", "contoso.example", "Trusting", "Active Directory", "No"}},
      {"OLDNT", {"OLDNT", "", "Trusted", "Windows NT", "No"}},
  };
  std::map<std::string, std::vector<std::string>> byName;
  for (const auto& row : rows) byName[row[0]] = row;
  EXPECT_EQ(byName, expected);

  // The platform call itself: the flags select, and the SID comes along.
  std::vector<platform::DS_DOMAIN_TRUSTS> inbound;
  ASSERT_EQ(platform::DsEnumerateDomainTrusts(dc().server, platform::DS_DOMAIN_DIRECT_INBOUND,
                                              &inbound),
            platform::ERROR_SUCCESS);
  std::map<std::string, std::string> sids;
  for (const auto& t : inbound) sids[t.NetbiosDomainName] = t.DomainSid.value;
  EXPECT_EQ(sids, (std::map<std::string, std::string>{{"CONTOSO", "S-1-5-21-410-510-610"},
                                                      {"FABRIKAM", "S-1-5-21-400-500-600"}}));
  std::vector<platform::DS_DOMAIN_TRUSTS> primary;
  ASSERT_EQ(platform::DsEnumerateDomainTrusts(dc().server, platform::DS_DOMAIN_PRIMARY, &primary),
            platform::ERROR_SUCCESS);
  ASSERT_EQ(primary.size(), 1u);
  EXPECT_EQ(primary[0].NetbiosDomainName, dc().domain);
  EXPECT_EQ(primary[0].DnsDomainName, "samdom.test");
  EXPECT_EQ(primary[0].DomainSid.value.rfind("S-1-5-21-", 0), 0u) << primary[0].DomainSid.value;
}

}  // namespace
