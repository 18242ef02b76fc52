// The samba backend's reading of what the SMB client library gives for
// files: descriptors in text form and UNC paths turned into its URLs.
#include <gtest/gtest.h>

#include "platform/find_listings.h"
#include "platform/samba/descriptor_text.h"
#include "platform/samba/share_path.h"

namespace {

using namespace platform;
using namespace platform::samba;

constexpr std::string_view kDomain = "S-1-5-21-333838323-1638730052-1960501851";

TEST(SambaShareText, DescriptorTextGivesOwnerAndAccessListAsAsked) {
  const std::string text = "REVISION:1,OWNER:" + std::string(kDomain) + "-500,GROUP:" +
                           std::string(kDomain) + "-513,ACL:S-1-5-32-544:0/3/0x001f01ff," +
                           "ACL:S-1-1-0:1/0x13/0x00000004,ACL:S-1-5-11:0/0/0x001200a9";
  const auto both = descriptorFromText(text, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION);
  ASSERT_TRUE(IsValidSecurityDescriptor(both));
  ASSERT_TRUE(both.owner);
  EXPECT_EQ(both.owner->value, std::string(kDomain) + "-500");
  ASSERT_TRUE(both.daclPresent && both.dacl);
  const std::vector<ACE> expected = {
      {ACCESS_ALLOWED_ACE_TYPE, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, FILE_ALL_ACCESS, {"S-1-5-32-544"}},
      {ACCESS_DENIED_ACE_TYPE, 0x13, FILE_ADD_SUBDIRECTORY, {"S-1-1-0"}},
      {ACCESS_ALLOWED_ACE_TYPE, 0, 0x1200a9, {"S-1-5-11"}}};
  EXPECT_EQ(both.dacl->aces, expected);

  // Only the parts asked for; a descriptor without owner or entries says so.
  const auto owner = descriptorFromText(text, OWNER_SECURITY_INFORMATION);
  EXPECT_TRUE(owner.owner);
  EXPECT_FALSE(owner.daclPresent);
  const auto dacl = descriptorFromText(text, DACL_SECURITY_INFORMATION);
  EXPECT_FALSE(dacl.owner);
  EXPECT_TRUE(dacl.daclPresent);
  const auto bare = descriptorFromText("REVISION:1,OWNER:,GROUP:",
                                       OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION);
  EXPECT_TRUE(IsValidSecurityDescriptor(bare));
  EXPECT_FALSE(bare.owner);
  ASSERT_TRUE(bare.dacl);
  EXPECT_TRUE(bare.dacl->aces.empty());
}

TEST(SambaShareText, TextThatIsNoDescriptorReadsAsInvalid) {
  for (const char* text : {"", "garbage", "OWNER:S-1-5-18",  // no revision
                           "REVISION:1,OWNER:BUILTIN\\Administrators",  // a name, not a SID
                           "REVISION:1,ACL:S-1-5-18:0/3", "REVISION:1,ACL:S-1-5-18:0/3/0xZZ",
                           "REVISION:1,ACL:S-1-5-18:999/3/0x1", "REVISION:1,ACL:S-1-:0/0/0x1"}) {
    EXPECT_FALSE(IsValidSecurityDescriptor(
        descriptorFromText(text, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION)))
        << text;
  }
}

TEST(SambaShareText, UncPathsBecomeEscapedUrlsAndOthersAreRefused) {
  SharePath p;
  ASSERT_TRUE(parseSharePath("\\\\DC1\\sysvol\\samdom.test\\Policies\\", &p));
  EXPECT_EQ(p.server, "DC1");
  EXPECT_EQ(p.share, "sysvol");
  EXPECT_EQ(p.rest, "samdom.test\\Policies");
  ASSERT_TRUE(parseSharePath("\\\\DC1\\netlogon", &p));
  EXPECT_EQ(p.rest, "");
  for (const char* bad : {"C:\\dir", "\\\\DC1", "\\\\DC1\\", "\\\\\\share", "\\\\DC1\\share\\a\\\\b",
                          "dir\\file", ""})
    EXPECT_FALSE(parseSharePath(bad, &p)) << bad;

  // Characters a URL would read as its own syntax reach the server as names.
  EXPECT_EQ(shareUrl("127.0.0.2", "my share$", "a#b\\50% off?\\\xC3\xA9"),
            "smb://127.0.0.2/my%20share$/a%23b/50%25%20off%3F/%C3%A9");

  EXPECT_TRUE(platform::matchesFilePattern("*.*", "noextension"));
  EXPECT_TRUE(platform::matchesFilePattern("VT-*", "vt-files-12"));
  EXPECT_TRUE(platform::matchesFilePattern("?pt.ini", "GPT.INI"));
  EXPECT_FALSE(platform::matchesFilePattern("*.ini", "GPT.INI.bak"));
  EXPECT_TRUE(validDirectoryName("new dir"));
  for (const char* bad : {"", ".", "..", "a?b", "a/b", "a:b", "trailing.", "trailing "})
    EXPECT_FALSE(validDirectoryName(bad)) << bad;
}

}  // namespace
