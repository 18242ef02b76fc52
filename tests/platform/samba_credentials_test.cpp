// The authentication file of the samba backend, in the format Samba's own
// tools read: what a user writes by hand must be read as they meant it, and
// a file that cannot serve must say why without showing the password.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/samba/credentials.h"

namespace {

using platform::samba::Credentials;
using platform::samba::readAuthenticationFile;

class AuthenticationFile : public ::testing::Test {
 protected:
  void SetUp() override {
    m_path = std::filesystem::temp_directory_path() /
             ("veltrane-auth-" + std::to_string(::getpid()) + ".txt");
  }
  void TearDown() override { std::filesystem::remove(m_path); }
  // The file as its owner keeps it: mode 600 unless the test says otherwise.
  std::string write(const std::string& text, mode_t mode = 0600) {
    std::ofstream(m_path) << text;
    ::chmod(m_path.c_str(), mode);
    return m_path.string();
  }
  std::filesystem::path m_path;
};

TEST_F(AuthenticationFile, ReadsSambasFormatAsWrittenByHand) {
  Credentials c;
  std::string error;
  ASSERT_TRUE(readAuthenticationFile(write("# the domain admin\n"
                                           "Username = Administrator\r\n"
                                           "  password =  Pass = word!  \n"
                                           "; a comment\n"
                                           "domain=SAMDOM\n"),
                                     &c, &error))
      << error;
  EXPECT_EQ(c.user, "Administrator");
  EXPECT_EQ(c.password, "Pass = word!");  // only the first '=' separates
  EXPECT_EQ(c.domain, "SAMDOM");
  EXPECT_FALSE(c.kerberosCache);

  // DOMAIN\user names the domain when no domain line does.
  ASSERT_TRUE(readAuthenticationFile(write("username = LAB\\jdoe\npassword = x\n"), &c, &error));
  EXPECT_EQ(c.user, "jdoe");
  EXPECT_EQ(c.domain, "LAB");
}

TEST_F(AuthenticationFile, AFileThatCannotServeSaysWhyWithoutThePassword) {
  Credentials c;
  std::string error;
  EXPECT_FALSE(readAuthenticationFile(write("password = Secret!123\ndomain = SAMDOM\n"), &c, &error));
  EXPECT_NE(error.find("names no user"), std::string::npos) << error;
  EXPECT_EQ(error.find("Secret!123"), std::string::npos);

  EXPECT_FALSE(readAuthenticationFile((m_path.string() + ".missing"), &c, &error));
  EXPECT_NE(error.find("cannot read"), std::string::npos) << error;
}

// A password others may read is refused, as ssh refuses such a key, with
// the command that fixes it; the owner's own stricter modes are fine.
TEST_F(AuthenticationFile, AFileOthersCanReadOrWriteIsRefusedWithTheCommandThatFixesIt) {
  const std::string text = "username = Administrator\npassword = Secret!123\n";
  for (const mode_t mode : {0640, 0604, 0620, 0602, 0644, 0666}) {
    Credentials c;
    std::string error;
    EXPECT_FALSE(readAuthenticationFile(write(text, mode), &c, &error)) << std::oct << mode;
    EXPECT_NE(error.find("chmod 600 " + m_path.string()), std::string::npos) << error;
    EXPECT_EQ(error.find("Secret!123"), std::string::npos);
    EXPECT_TRUE(c.user.empty());
  }
  for (const mode_t mode : {0600, 0400}) {
    Credentials c;
    std::string error;
    EXPECT_TRUE(readAuthenticationFile(write(text, mode), &c, &error)) << std::oct << mode << error;
    EXPECT_EQ(c.password, "Secret!123");
  }
}

}  // namespace
