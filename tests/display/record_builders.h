#pragma once
// Hand-made finished record arrays, as a worker leaves them.

#include <string>
#include <vector>

#include "dlgthreads/record_holder.h"
#include "dlgthreads/records.h"

namespace display_test {

struct UserRow {
  std::string name;
  std::string disabled = "No";
  std::string lockedOut = "No";
};

inline dlgthreads::RecordHolder<dlgthreads::UserRecord> userHolder(
    const std::vector<UserRow>& users) {
  dlgthreads::RecordHolder<dlgthreads::UserRecord> holder;
  holder.allocate(users.size() + 10);
  for (const UserRow& user : users) {
    dlgthreads::UserRecord& r = *holder.append();
    r.name = user.name;
    r.fullName = user.name + " Full";
    r.logons = "         3";
    r.lastLogon = "Never";
    r.acctExpires = "Never";
    r.disabled = user.disabled;
    r.lockedOut = user.lockedOut;
    r.loggedOn = "Yes";
    r.loggedOnFlag = 1;
    r.pwLastSet = "Mon Jan  5 10:00:00 1998 ";
    r.rasAllowed = "Yes";
    r.callbackNumber = "555";
    r.callbackType = "User defined";
  }
  holder.finish();
  return holder;
}

struct GroupLine {
  std::string name;
  std::string comment;
  std::string third;  // marker or member
};

inline dlgthreads::RecordHolder<dlgthreads::GroupRecord> groupHolder(
    const std::vector<GroupLine>& lines) {
  dlgthreads::RecordHolder<dlgthreads::GroupRecord> holder;
  holder.allocate(lines.size() + 10);
  for (const GroupLine& line : lines) {
    dlgthreads::GroupRecord& r = *holder.append();
    r.name = line.name;
    r.comment = line.comment;
    r.third = line.third;
  }
  holder.finish();
  return holder;
}

inline const std::vector<GroupLine> kSampleGroups = {
    {"Administrators", "Admins", "AAALOCAL_GROUP_CONTAINER"},
    {"Administrators", "Admins", "LAB\\alice"},
    {"Domain Users", "All users", "AAGROUP_CONTAINER"},
    {"Domain Users", "All users", "alice"},
    {"Domain Users", "All users", "bob"},
};

}  // namespace display_test
