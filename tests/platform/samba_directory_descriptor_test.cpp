// The samba backend's own reading and writing of directory security
// descriptors, and "user cannot change password" on top of it, on
// descriptors a domain controller gave and on damaged ones.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "platform/samba/directory.h"
#include "platform/samba/directory_descriptor.h"
#include "platform/samba/password_change_right.h"

namespace {

using namespace platform::samba;

// A user's DACL as a controller gives it with the SD flags control set to
// the DACL alone (Administrator of a freshly provisioned domain): 24
// explicit entries, among them the allow entries for the change-password
// right for SELF (4) and Everyone (18), then 20 inherited ones.
constexpr std::string_view kAdministratorDacl = R"(
01000484000000000000000000000000140000000400d4072c00000000002400ff010f00010500000000000515000000
f2d975a3f6e80f4882b2ae950002000000001400ff010f0001010000000000051200000000001800ff010f0001020000
000000052000000024020000000014009400020001010000000000050a000000050028000001000001000000531a72ab
2f1ed011981900aa0040529b01010000000000050a000000050028000001000001000000541a72ab2f1ed011981900aa
0040529b01010000000000050a000000050028000001000001000000561a72ab2f1ed011981900aa0040529b01010000
000000050a00000005002800300000000100000086b8b5774a94d111aebd0000f80367c101010000000000050a000000
050028003000000001000000b29557e45594d111aebd0000f80367c101010000000000050a0000000500280030000000
01000000b39557e45594d111aebd0000f80367c101010000000000050a000000050038001000000001000000f8887003
e10ad211b42200a0c968f939010500000000000515000000f2d975a3f6e80f4882b2ae95290200000500380010000000
010000000042164cc020d011a76800aa006e0529010500000000000515000000f2d975a3f6e80f4882b2ae9529020000
05003800100000000100000040c20abca979d011902000c04fc2d4cf010500000000000515000000f2d975a3f6e80f48
82b2ae9529020000000014000000020001010000000000050b000000050028001000000001000000422fba59a279d011
902000c04fc2d3cf01010000000000050b00000005002800100000000100000086b8b5774a94d111aebd0000f80367c1
01010000000000050b000000050028001000000001000000b39557e45594d111aebd0000f80367c10101000000000005
0b00000005002800100000000100000054018de4f8bcd111870200c04fb9605001010000000000050b00000005002800
0001000001000000531a72ab2f1ed011981900aa0040529b010100000000000100000000050038001000000001000000
1020205fa579d011902000c04fc2d4cf010500000000000515000000f2d975a3f6e80f4882b2ae952902000005003800
30000000010000007f7a96bfe60dd011a28500aa003049e2010500000000000515000000f2d975a3f6e80f4882b2ae95
0502000005002c0010000000010000001db1a946ae605a40b7e8ff8a58d456d201020000000000052000000030020000
05002c0030000000010000001c9ab66d2294d111aebd0000f80367c10102000000000005200000003102000005002c00
300000000100000062bc0558c9bd2844a5e2856a0f4c185e01020000000000052000000031020000051a3c0010000000
030000000042164cc020d011a76800aa006e052914cc28483714bc459b07ad6f015e5f28010200000000000520000000
2a02000005123c0010000000030000000042164cc020d011a76800aa006e0529ba7a96bfe60dd011a28500aa003049e2
0102000000000005200000002a020000051a3c0010000000030000001020205fa579d011902000c04fc2d4cf14cc2848
3714bc459b07ad6f015e5f280102000000000005200000002a02000005123c0010000000030000001020205fa579d011
902000c04fc2d4cfba7a96bfe60dd011a28500aa003049e20102000000000005200000002a020000051a3c0010000000
0300000040c20abca979d011902000c04fc2d4cf14cc28483714bc459b07ad6f015e5f28010200000000000520000000
2a02000005123c00100000000300000040c20abca979d011902000c04fc2d4cfba7a96bfe60dd011a28500aa003049e2
0102000000000005200000002a020000051a3c001000000003000000422fba59a279d011902000c04fc2d3cf14cc2848
3714bc459b07ad6f015e5f280102000000000005200000002a02000005123c001000000003000000422fba59a279d011
902000c04fc2d3cfba7a96bfe60dd011a28500aa003049e20102000000000005200000002a020000051a3c0010000000
03000000f8887003e10ad211b42200a0c968f93914cc28483714bc459b07ad6f015e5f28010200000000000520000000
2a02000005123c001000000003000000f8887003e10ad211b42200a0c968f939ba7a96bfe60dd011a28500aa003049e2
0102000000000005200000002a020000051a380010000000030000006d9ec6b7c72cd211854e00a0c983f608867a96bf
e60dd011a28500aa003049e2010100000000000509000000051a380010000000030000006d9ec6b7c72cd211854e00a0
c983f6089c7a96bfe60dd011a28500aa003049e20101000000000005090000000512380010000000030000006d9ec6b7
c72cd211854e00a0c983f608ba7a96bfe60dd011a28500aa003049e2010100000000000509000000051a2c0094000200
0200000014cc28483714bc459b07ad6f015e5f280102000000000005200000002a020000051a2c009400020002000000
9c7a96bfe60dd011a28500aa003049e20102000000000005200000002a02000005122c009400020002000000ba7a96bf
e60dd011a28500aa003049e20102000000000005200000002a020000051228003001000001000000de47e6916fd9704b
9557d63ff4f3ccd801010000000000050a00000000122400ff010f00010500000000000515000000f2d975a3f6e80f48
82b2ae950702000000121800040000000102000000000005200000002a02000000121800bd010f000102000000000005
2000000020020000
)";

// A group policy container's whole descriptor: owner, group, a SACL of two
// object audit entries with both GUIDs, a DACL of plain and object entries.
constexpr std::string_view kPolicyDescriptor = R"(
0100179814000000300000004c000000c4000000010500000000000515000000f2d975a3f6e80f4882b2ae9500020000
010500000000000515000000f2d975a3f6e80f4882b2ae95000200000400780002000000075a38002000000003000000
be3b0ef3f09fd111b6030000f80367c1a57a96bfe60dd011a28500aa003049e2010100000000000100000000075a3800
2000000003000000bf3b0ef3f09fd111b6030000f80367c1a57a96bfe60dd011a28500aa003049e20101000000000001
000000000400ec000800000000022400ff000f00010500000000000515000000f2d975a3f6e80f4882b2ae9500020000
00022400ff000f00010500000000000515000000f2d975a3f6e80f4882b2ae9507020000000a1400ff000f0001010000
000000030000000000002400ff000f00010500000000000515000000f2d975a3f6e80f4882b2ae950002000000021400
ff000f00010100000000000512000000000214009400020001010000000000050b000000050228000001000001000000
8ffdacedb3ffd111b41d00a0c968f93901010000000000050b0000000002140094000200010100000000000509000000
)";

constexpr std::string_view kDomainSid = "S-1-5-21-2742409714-1209002230-2511254146";
constexpr std::string_view kChangePassword = "ab721a53-1e2f-11d0-9819-00aa0040529b";

std::string bytes(std::string_view hex) {
  std::string out;
  std::string digits;
  for (char c : hex) {
    if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
  }
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    out += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
  return out;
}

// A GUID's text form in the byte order of the wire.
Guid guid(std::string_view text) {
  std::string digits;
  for (char c : text) {
    if (c != '-') digits += c;
  }
  const std::string wire = bytes(digits);
  Guid g{};
  constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  for (int i = 0; i < 16; ++i)
    g[static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(wire[static_cast<std::size_t>(kOrder[i])]);
  return g;
}

// An entry written as "type flags mask object-type inherited-type trustee".
std::string shown(const DescriptorAce& ace) {
  char head[40];
  std::snprintf(head, sizeof head, "%u %#x %#x", ace.type, ace.flags, ace.mask);
  std::string out = head;
  for (const auto& g : {ace.objectType, ace.inheritedObjectType}) {
    out += ' ';
    if (!g) {
      out += '-';
      continue;
    }
    for (std::uint8_t b : *g) {
      char two[3];
      std::snprintf(two, sizeof two, "%02x", b);
      out += two;
    }
  }
  return out + ' ' + sidText(ace.sid);
}

std::vector<std::string> shown(const std::vector<DescriptorAce>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) out.push_back(shown(e));
  return out;
}

const std::string kSelf = bytes("01010000000000050a000000");      // S-1-5-10
const std::string kEveryone = bytes("010100000000000100000000");  // S-1-1-0

std::string rightEntry(std::uint8_t type, const std::string& trustee) {
  DescriptorAce ace;
  ace.type = type;
  ace.mask = kControlAccess;
  ace.objectFlags = kObjectTypePresent;
  ace.objectType = guid(kChangePassword);
  ace.sid = trustee;
  return shown(ace);
}

// An entry of a type not read here.
DescriptorAce opaqueEntry(const std::string& whole) {
  DescriptorAce ace;
  ace.type = static_cast<std::uint8_t>(whole[0]);
  ace.flags = static_cast<std::uint8_t>(whole[1]);
  ace.opaque = whole;
  return ace;
}

const std::string kDeniedSelf = rightEntry(kAccessDeniedObjectAce, kSelf);
const std::string kDeniedEveryone = rightEntry(kAccessDeniedObjectAce, kEveryone);
const std::string kAllowedSelf = rightEntry(kAccessAllowedObjectAce, kSelf);
const std::string kAllowedEveryone = rightEntry(kAccessAllowedObjectAce, kEveryone);

TEST(SambaDirectoryDescriptor, ControllersDescriptorsAreReadAndWrittenBackByteForByte) {
  const std::string user = bytes(kAdministratorDacl);
  const auto dacl = decodeDescriptor(user);
  ASSERT_TRUE(dacl);
  EXPECT_EQ(dacl->control, kSelfRelative | 0x400 | kDaclPresent);  // auto-inherited
  EXPECT_TRUE(dacl->owner.empty());
  EXPECT_TRUE(dacl->group.empty());
  EXPECT_FALSE(dacl->sacl);
  ASSERT_TRUE(dacl->dacl);
  EXPECT_EQ(dacl->dacl->revision, 4);
  const auto& entries = dacl->dacl->entries;
  ASSERT_EQ(entries.size(), 44u);
  // (A;;RPWPCRCCDCLCLORCWOWDSDDTSW;;;DA)
  EXPECT_EQ(shown(entries[0]), "0 0 0xf01ff - - " + std::string(kDomainSid) + "-512");
  // (OA;;CR;ab721a53-...;;PS) and (OA;;CR;ab721a53-...;;WD)
  EXPECT_EQ(shown(entries[4]), kAllowedSelf);
  EXPECT_EQ(shown(entries[18]), kAllowedEveryone);
  // (OA;CIIOID;RP;4c164200-...;4828cc14-...;RU): both GUIDs, inherited.
  EXPECT_EQ(entries[24].flags, 0x1a);
  EXPECT_EQ(entries[24].objectType, guid("4c164200-20c0-11d0-a768-00aa006e0529"));
  EXPECT_EQ(entries[24].inheritedObjectType, guid("4828cc14-1437-45bc-9b07-ad6f015e5f28"));
  EXPECT_EQ(sidText(entries[24].sid), "S-1-5-32-554");
  // (OA;CIIOID;RPLCLORC;;4828cc14-...;RU): the inherited object type alone.
  EXPECT_FALSE(entries[37].objectType);
  EXPECT_EQ(entries[37].inheritedObjectType, guid("4828cc14-1437-45bc-9b07-ad6f015e5f28"));
  // (A;CIID;RPWPCRCCLCLORCWOWDSDSW;;;BA), the last.
  EXPECT_EQ(shown(entries[43]), "0 0x12 0xf01bd - - S-1-5-32-544");
  EXPECT_EQ(encodeDescriptor(*dacl), user);

  const std::string policy = bytes(kPolicyDescriptor);
  const auto whole = decodeDescriptor(policy);
  ASSERT_TRUE(whole);
  EXPECT_EQ(sidText(whole->owner), std::string(kDomainSid) + "-512");
  EXPECT_EQ(sidText(whole->group), std::string(kDomainSid) + "-512");
  ASSERT_TRUE(whole->sacl && whole->dacl);
  ASSERT_EQ(whole->sacl->entries.size(), 2u);
  // (OU;CIIOIDSA;WP;f30e3bbe-...;bf967aa5-...;WD)
  const DescriptorAce& audit = whole->sacl->entries[0];
  EXPECT_EQ(audit.type, kSystemAuditObjectAce);
  EXPECT_EQ(audit.flags, 0x5a);
  EXPECT_EQ(audit.mask, 0x20u);
  EXPECT_EQ(audit.objectType, guid("f30e3bbe-9ff0-11d1-b603-0000f80367c1"));
  EXPECT_EQ(audit.inheritedObjectType, guid("bf967aa5-0de6-11d0-a285-00aa003049e2"));
  EXPECT_EQ(audit.sid, kEveryone);
  EXPECT_EQ(whole->dacl->entries.size(), 8u);
  using Part = DirectoryDescriptor::Part;
  EXPECT_EQ(whole->layout, (std::vector{Part::Owner, Part::Group, Part::Sacl, Part::Dacl}));
  EXPECT_EQ(encodeDescriptor(*whole), policy);

  // Another writer's order of the parts (lists first) is kept as well.
  DirectoryDescriptor listsFirst = *whole;
  listsFirst.layout = {Part::Sacl, Part::Dacl, Part::Owner, Part::Group};
  const auto reordered = encodeDescriptor(listsFirst);
  ASSERT_TRUE(reordered);
  EXPECT_NE(*reordered, policy);
  const auto again = decodeDescriptor(*reordered);
  ASSERT_TRUE(again);
  EXPECT_EQ(*again, listsFirst);
  EXPECT_EQ(encodeDescriptor(*again), reordered);
}

TEST(SambaDirectoryDescriptor, CannotChangePasswordIsSetAndClearedOnTheDacl) {
  const std::string before = bytes(kAdministratorDacl);
  const auto original = decodeDescriptor(before);
  ASSERT_TRUE(original);
  const std::vector<std::string> was = shown(original->dacl->entries);
  EXPECT_FALSE(deniesPasswordChange(before));

  const auto denied = withPasswordChangeDenied(before, true);
  ASSERT_TRUE(denied);
  EXPECT_TRUE(deniesPasswordChange(*denied));
  const auto set = decodeDescriptor(*denied);
  ASSERT_TRUE(set);
  // The denials first, the allow entries for the right gone, every other
  // entry in its place, the inherited ones untouched at the end.
  std::vector<std::string> expected = {kDeniedSelf, kDeniedEveryone};
  for (std::size_t i = 0; i < was.size(); ++i) {
    if (i != 4 && i != 18) expected.push_back(was[i]);
  }
  EXPECT_EQ(shown(set->dacl->entries), expected);
  EXPECT_EQ(set->dacl->revision, 4);
  EXPECT_EQ(set->control, original->control);
  // Set again: nothing changes.
  EXPECT_EQ(withPasswordChangeDenied(*denied, true), denied);

  // Cleared: the denials gone, the allow entries back after the other
  // explicit ones.
  const auto allowed = withPasswordChangeDenied(*denied, false);
  ASSERT_TRUE(allowed);
  EXPECT_FALSE(deniesPasswordChange(*allowed));
  const auto cleared = decodeDescriptor(*allowed);
  ASSERT_TRUE(cleared);
  expected.erase(expected.begin(), expected.begin() + 2);
  expected.insert(expected.begin() + 22, {kAllowedSelf, kAllowedEveryone});
  EXPECT_EQ(shown(cleared->dacl->entries), expected);
  // Clearing an account that may change its password adds no second
  // allow entry: the DACL is the one read.
  EXPECT_EQ(withPasswordChangeDenied(before, false), before);

  // A denial inherited from the parent counts, and stays when cleared.
  DirectoryDescriptor inherited = *original;
  DescriptorAce fromParent = set->dacl->entries.front();
  fromParent.flags = kInheritedAce;
  inherited.dacl->entries.push_back(fromParent);
  const auto withInherited = encodeDescriptor(inherited);
  ASSERT_TRUE(withInherited);
  EXPECT_TRUE(deniesPasswordChange(*withInherited));
  const auto stillDenied = withPasswordChangeDenied(*withInherited, false);
  ASSERT_TRUE(stillDenied);
  EXPECT_EQ(decodeDescriptor(*stillDenied)->dacl->entries.back(), fromParent);
}

TEST(SambaDirectoryDescriptor, EntriesNotReadHereSurviveARewrite) {
  const auto original = decodeDescriptor(bytes(kAdministratorDacl));
  ASSERT_TRUE(original);
  // A callback entry with application data, and one whose type nobody
  // knows yet, among the explicit entries; an ACL of revision 2 (no
  // object entries were there before).
  DirectoryDescriptor d = *original;
  d.dacl->revision = 2;
  const std::string callback = bytes(
      "09001c00ff010f00010100000000000512000000"
      "6172746600000000");
  const std::string unknown = bytes(
      "7f020800"
      "deadbeef");
  d.dacl->entries = {d.dacl->entries[0], opaqueEntry(callback), opaqueEntry(unknown)};
  const auto plain = encodeDescriptor(d);
  ASSERT_TRUE(plain);
  const auto read = decodeDescriptor(*plain);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->dacl->entries.size(), 3u);
  EXPECT_EQ(read->dacl->entries[1].opaque, callback);
  EXPECT_EQ(read->dacl->entries[2].opaque, unknown);

  const auto denied = withPasswordChangeDenied(*plain, true);
  ASSERT_TRUE(denied);
  const auto after = decodeDescriptor(*denied);
  ASSERT_TRUE(after);
  EXPECT_EQ(after->dacl->revision, 4);  // object entries need the directory's revision
  ASSERT_EQ(after->dacl->entries.size(), 5u);
  EXPECT_EQ(after->dacl->entries[3].opaque, callback);
  EXPECT_EQ(after->dacl->entries[4].opaque, unknown);
}

// Damaged bytes, each with its own fault: never a descriptor, never a
// read past them.
TEST(SambaDirectoryDescriptor, DamagedBytesAreNoDescriptor) {
  const std::string user = bytes(kAdministratorDacl);
  const std::string policy = bytes(kPolicyDescriptor);
  const auto refused = [](const std::string& b) {
    return !decodeDescriptor(b) && !deniesPasswordChange(b) && !withPasswordChangeDenied(b, true);
  };
  const auto with32 = [](std::string b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      b[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
    return b;
  };
  const auto with16 = [](std::string b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
    return b;
  };
  const auto withByte = [](std::string b, std::size_t at, std::uint8_t v) {
    b[at] = static_cast<char>(v);
    return b;
  };
  // Every truncation: the list's size then runs past the end.
  for (const std::string* whole : {&user, &policy}) {
    for (std::size_t n = 0; n < whole->size(); ++n) {
      EXPECT_TRUE(refused(whole->substr(0, n))) << n;
    }
  }
  const auto userEnd = static_cast<std::uint32_t>(user.size());
  const auto policyEnd = static_cast<std::uint32_t>(policy.size());
  EXPECT_TRUE(refused(withByte(user, 0, 2)));              // revision
  EXPECT_TRUE(refused(with32(user, 16, userEnd + 4)));     // DACL past the end
  EXPECT_TRUE(refused(with32(user, 16, 0xFFFFFFF0)));      // ... far past
  EXPECT_TRUE(refused(with32(user, 16, 8)));               // DACL in the header
  EXPECT_TRUE(refused(with32(policy, 4, policyEnd - 4)));  // owner cut
  EXPECT_TRUE(refused(withByte(policy, 0x14 + 1, 16)));    // owner: 16 sub-authorities
  EXPECT_TRUE(refused(withByte(policy, 0x30, 2)));         // group: SID revision
  EXPECT_TRUE(refused(with16(user, 20 + 2, 0xFFFF)));      // ACL size past the end
  EXPECT_TRUE(refused(with16(user, 20 + 4, 45)));          // one entry more than there is
  EXPECT_TRUE(refused(withByte(user, 20, 1)));             // ACL revision
  // The first entry (36 bytes at 28; its SID of 5 sub-authorities at 36).
  EXPECT_TRUE(refused(with16(user, 28 + 2, 0)));       // size 0
  EXPECT_TRUE(refused(with16(user, 28 + 2, 3)));       // below a header
  EXPECT_TRUE(refused(with16(user, 28 + 2, 0x8000)));  // past the list
  EXPECT_TRUE(refused(withByte(user, 36 + 1, 0xFF)));  // sub-authorities
  EXPECT_TRUE(refused(withByte(user, 36 + 1, 6)));     // past the entry
  // An object entry (the fifth, at 0x80) claiming a second GUID it has no
  // room for.
  ASSERT_EQ(static_cast<std::uint8_t>(user[0x80]), kAccessAllowedObjectAce);
  EXPECT_TRUE(refused(withByte(user, 0x80 + 8, 3)));

  // Any byte changed: read or refused, never past the bytes (the
  // sanitizer build checks that); what is read is written back as read.
  for (std::size_t at = 0; at < policy.size(); ++at) {
    for (std::uint8_t v : {0x00, 0x01, 0x7f, 0xff}) {
      const std::string damaged = withByte(policy, at, v);
      const auto d = decodeDescriptor(damaged);
      if (d) {
        EXPECT_EQ(decodeDescriptor(encodeDescriptor(*d).value_or("")), d) << at;
      }
      (void)deniesPasswordChange(damaged);
      (void)withPasswordChangeDenied(damaged, true);
    }
  }
}

}  // namespace
