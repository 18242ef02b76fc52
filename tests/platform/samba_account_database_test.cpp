// What a controller without a directory keeps of an account, as the samba
// backend turns it into the platform's USER_INFO_3: the values a PDC uses
// for "never" and "no limit", a password set in the future, and the flags.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "platform/netapi.h"
#include "platform/samba/account_fields.h"

namespace {

using namespace platform;
using namespace platform::samba;

constexpr std::int64_t kNow = 1796700000;  // 2026-12-08
std::uint64_t nt(std::int64_t unixSeconds) {
  return static_cast<std::uint64_t>(ntTimeFromUnix(static_cast<DWORD>(unixSeconds)));
}

TEST(SambaAccountDatabase, NeverNoLimitAndAFuturePasswordAreReadAsTheUserMeansThem) {
  std::vector<std::uint8_t> hours(21, 0xFF);
  const std::uint16_t parameters[] = {u'p', u'\u00e4', u'r'};
  vt_samr_account a{};
  a.rid = 500;
  a.acct_flags = 0x0010 | 0x0001 | 0x0400;  // normal, disabled, locked out
  a.name = a.full_name = a.home_directory = a.home_drive = a.logon_script = "";
  a.profile_path = a.description = a.workstations = a.comment = "";
  a.parameters = reinterpret_cast<const std::uint8_t*>(parameters);
  a.parameters_size = sizeof parameters;
  a.units_per_week = 168;
  a.logon_hours = hours.data();
  a.cannot_change_password = 1;

  for (const std::uint64_t never :
       {std::uint64_t{0}, static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()),
        nt(kPdcNeverExpires)}) {
    a.acct_expiry = never;
    EXPECT_EQ(userFromAccount(a, kNow).usri3_acct_expires, TIMEQ_FOREVER) << never;
  }
  a.acct_expiry = nt(1893456000);
  a.last_password_change = nt(kNow + 3600);  // a clock ahead of this one
  USER_INFO_3 u = userFromAccount(a, kNow);
  EXPECT_EQ(u.usri3_acct_expires, 1893456000u);
  EXPECT_EQ(u.usri3_password_age, 0u);
  // Every hour allowed is no limit at all.
  EXPECT_TRUE(u.usri3_logon_hours.empty());
  EXPECT_EQ(u.usri3_parms, "pär");
  EXPECT_EQ(u.usri3_priv, USER_PRIV_ADMIN);
  EXPECT_EQ(u.usri3_flags & (UF_ACCOUNTDISABLE | UF_LOCKOUT | UF_PASSWD_CANT_CHANGE),
            UF_ACCOUNTDISABLE | UF_LOCKOUT | UF_PASSWD_CANT_CHANGE);

  hours[0] = 0;
  a.last_password_change = nt(kNow - 100);
  a.cannot_change_password = 0;
  u = userFromAccount(a, kNow);
  EXPECT_EQ(u.usri3_logon_hours, hours);
  EXPECT_EQ(u.usri3_password_age, 100u);
  EXPECT_FALSE(u.usri3_flags & UF_PASSWD_CANT_CHANGE);
}

}  // namespace
