#pragma once
// What importing one record does, decided before anything is written: the
// import carries the decision out (user_record_import.cpp,
// group_record_import.cpp), a dry run reports it (import_preview.cpp). Both
// take it from here, with the same look-ups, so a preview cannot say other
// than what the import then does.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/netapi.h"
#include "transfer/import/account_lookup.h"
#include "transfer/import/import_run.h"

namespace transfer {

enum class RecordAction { Add, Update, Unchanged, Fail };

struct UserPlan {
  RecordAction action = RecordAction::Fail;
  // Add: the account to create. Update: the account as it is to be written.
  // Unchanged: the account as it is.
  platform::USER_INFO_3 account;
  // The account as read, when it exists.
  std::optional<platform::USER_INFO_3> read;
  // Update: what the write changes, in words ("full name", "description").
  std::vector<std::string_view> changes;
  std::string failure;  // Fail: what the import notes
};

// Decides a user file's record from what `lookup` says of its account.
UserPlan planUserRecord(const ImportRun& run, AccountLookup& lookup, const ImportRow& row);

// The fields of `after` that differ from `before`, in words, as far as an
// import can change them.
std::vector<std::string_view> changedUserFields(const platform::USER_INFO_3& before,
                                                const platform::USER_INFO_3& after);

struct GroupPlan {
  bool global = false;  // a global group; else a local one
  // Add: create the group; Update: write its comment; Unchanged: leave it;
  // Fail: the record fails with `failure` in a box captioned `caption`.
  RecordAction action = RecordAction::Fail;
  platform::GROUP_INFO_2 globalInfo;     // global: the group to add or write
  platform::LOCALGROUP_INFO_1 localInfo;  // local: the group to add or write
  std::string failure;
  std::string_view caption;
  // A member line: the member to add after the group's step, to the global
  // group (one that existed before this record) or else to the local one.
  bool memberLine = false;
  std::string member;
  bool memberToGlobal = false;
};

// Decides a group file's record from what `lookup` says of its group.
GroupPlan planGroupRecord(const ImportRun& run, AccountLookup& lookup, const ImportRow& row);

// The name a member of a local group is sent as: with the server's account
// domain in front when it names none and the domain is known.
std::string localMemberName(ImportRun& run, const std::string& member);

}  // namespace transfer
