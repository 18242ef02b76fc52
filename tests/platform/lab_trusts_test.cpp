// The trust relationships of a lab's domains: each domain sees the domains
// it trusts and those that trust it once, with the trusts it keeps with
// domains outside the lab; those survive a write-back, and labs written
// before them load as they did.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "../support/lab_fixture.h"
#include "platform/dsgetdc.h"
#include "platform/lab/lab_json.h"

using namespace platform;

namespace {

constexpr DWORD kDirect = DS_DOMAIN_DIRECT_OUTBOUND | DS_DOMAIN_DIRECT_INBOUND;

// One entry as the test compares it: name, DNS name, flags, type,
// attributes, SID.
using Row = std::tuple<std::string, std::string, DWORD, DWORD, DWORD, std::string>;

std::vector<Row> trustsOf(std::string_view server, DWORD flags, DWORD* status) {
  std::vector<DS_DOMAIN_TRUSTS> domains;
  *status = DsEnumerateDomainTrusts(server, flags, &domains);
  std::vector<Row> rows;
  for (const DS_DOMAIN_TRUSTS& d : domains)
    rows.emplace_back(d.NetbiosDomainName, d.DnsDomainName, d.Flags, d.TrustType,
                      d.TrustAttributes, d.DomainSid.value);
  return rows;
}

const std::vector<Row> kCorpTrusts = {
    {"BRANCH", "", kDirect, TRUST_TYPE_DOWNLEVEL, TRUST_ATTRIBUTE_NON_TRANSITIVE,
     "S-1-5-21-71-81-91"},
    {"ACME", "", DS_DOMAIN_DIRECT_INBOUND, TRUST_TYPE_DOWNLEVEL, TRUST_ATTRIBUTE_NON_TRANSITIVE,
     "S-1-5-21-73-83-93"},
    {"OLDNT", "", DS_DOMAIN_DIRECT_OUTBOUND, TRUST_TYPE_DOWNLEVEL,
     TRUST_ATTRIBUTE_NON_TRANSITIVE, "S-1-5-21-74-84-94"},
    {"FABRIKAM", "fabrikam.example", kDirect, TRUST_TYPE_UPLEVEL,
     TRUST_ATTRIBUTE_FOREST_TRANSITIVE, "S-1-5-21-400-500-600"},
    {"EXAMPLE.ORG", "EXAMPLE.ORG", DS_DOMAIN_DIRECT_INBOUND, TRUST_TYPE_MIT, 0, ""},
};

TEST(LabTrusts, EachDomainSeesItsRelationshipsOnceFromAnyOfItsMachines) {
  lab::test::LabFixture lab("trusts");
  ASSERT_TRUE(lab) << lab.error();
  DWORD status = 0;
  // A member answers for its domain as its controller does; an unreachable
  // controller of a trusted domain does not hide the trust.
  for (const char* server : {"\\\\CORPDC", "WKS", ""}) {
    EXPECT_EQ(trustsOf(server, kDirect, &status), kCorpTrusts) << server;
    EXPECT_EQ(status, ERROR_SUCCESS) << server;
  }
  // The flags select: inbound only, and the domain itself only when asked.
  std::vector<Row> inbound;
  for (const Row& r : kCorpTrusts)
    if (std::get<2>(r) & DS_DOMAIN_DIRECT_INBOUND) inbound.push_back(r);
  EXPECT_EQ(trustsOf("CORPDC", DS_DOMAIN_DIRECT_INBOUND, &status), inbound);
  EXPECT_EQ(trustsOf("CORPDC", DS_DOMAIN_PRIMARY, &status),
            (std::vector<Row>{{"CORP", "", DS_DOMAIN_PRIMARY, TRUST_TYPE_DOWNLEVEL, 0,
                               "S-1-5-21-70-80-90"}}));
  // The other side of CORP's trusts.
  EXPECT_EQ(trustsOf("BRDC", kDirect, &status),
            (std::vector<Row>{{"CORP", "", kDirect, TRUST_TYPE_DOWNLEVEL,
                               TRUST_ATTRIBUTE_NON_TRANSITIVE, "S-1-5-21-70-80-90"}}));
  EXPECT_EQ(trustsOf("ACMEDC", kDirect, &status),
            (std::vector<Row>{{"CORP", "", DS_DOMAIN_DIRECT_OUTBOUND, TRUST_TYPE_DOWNLEVEL,
                               TRUST_ATTRIBUTE_NON_TRANSITIVE, "S-1-5-21-70-80-90"}}));

  // Refusals: a workgroup keeps no trusts, a machine that does not answer
  // says so, and flags that select nothing are wrong.
  EXPECT_TRUE(trustsOf("PC1", kDirect, &status).empty());
  EXPECT_EQ(status, ERROR_NO_SUCH_DOMAIN);
  trustsOf("OLDDC", kDirect, &status);
  EXPECT_EQ(status, ERROR_BAD_NETPATH);
  trustsOf("CORPDC", 0x40, &status);
  EXPECT_EQ(status, ERROR_INVALID_FLAGS);
}

TEST(LabTrusts, OtherTrustsSurviveAWriteBackAndOlderLabsLoadAsBefore) {
  auto written = [](const lab::Lab& from) {
    std::string text;
    from.read([&](const lab::Network& net) { text = lab::writeLab(net); });
    return text;
  };
  auto trusts = lab::test::loadTestLab("trusts");
  ASSERT_TRUE(trusts);
  const std::string text = written(*trusts);
  EXPECT_NE(text.find("\"TRUST_ATTRIBUTE_FOREST_TRANSITIVE\""), std::string::npos) << text;
  auto again = lab::test::labFromText(text, "written back");
  ASSERT_TRUE(again);
  EXPECT_EQ(written(*again), text);
  {
    lab::test::ServedBackend served;
    served.serveLab(again);
    DWORD status = 0;
    EXPECT_EQ(trustsOf("CORPDC", kDirect, &status), kCorpTrusts);
  }

  // A lab of the format before other trusts (BRANCH names no trusts at
  // all): it loads, is written back without them, and its one trust shows
  // from both sides.
  lab::test::LabFixture older("network");
  ASSERT_TRUE(older) << older.error();
  EXPECT_EQ(written(older.lab()).find("otherTrusts"), std::string::npos);
  DWORD status = 0;
  EXPECT_EQ(trustsOf("BRDC", kDirect, &status),
            (std::vector<Row>{{"CORP", "", DS_DOMAIN_DIRECT_INBOUND, TRUST_TYPE_DOWNLEVEL,
                               TRUST_ATTRIBUTE_NON_TRANSITIVE, "S-1-5-21-70-80-90"}}));

  // Other trusts are checked like the rest of the file.
  const std::string kBad[][2] = {
      {R"({"name": "BRANCH", "direction": 2})", "is in /domains"},
      {R"({"name": "X", "direction": "TRUST_DIRECTION_SIDEWAYS"})", "unknown value"},
      {R"({"name": "X"})", "/otherTrusts/0/direction"},
      {R"({"name": "X", "direction": 3, "sid": "S-1-5-x"})", "expected a SID"},
  };
  for (const auto& [entry, problem] : kBad) {
    std::string lab = text;
    const std::string marker = "\"otherTrusts\": [";
    const auto at = lab.find(marker);
    ASSERT_NE(at, std::string::npos);
    const auto end = lab.find(']', lab.find("\"EXAMPLE.ORG\"", at));
    lab.replace(at + marker.size(), end - at - marker.size(), entry);
    std::string error;
    EXPECT_EQ(lab::labFromJson(lab, "bad", &error), nullptr) << entry;
    EXPECT_NE(error.find(problem), std::string::npos) << entry << ": " << error;
  }
}

}  // namespace
