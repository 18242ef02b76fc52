#include "transfer/import/record_plan.h"

#include "resources/strings.h"
#include "transfer/import/import_texts.h"

namespace transfer {

namespace {

using platform::DWORD;

void setFlag(DWORD& flags, DWORD flag, bool on) {
  if (on) flags |= flag;
  else flags &= ~flag;
}

bool isYes(const std::string& text) { return text == res::loadString(res::kStrYes); }

// The record's fields over the account as read; "*None*" cells are left.
void applyCells(const ImportRun& run, const ImportRow& row, platform::USER_INFO_3& info,
                bool newAccount) {
  const std::string& none = ImportRun::none();
  auto take = [&](UserColumn column, std::string& field) {
    const std::string& value = run.cell(row, column);
    if (value != none) field = value;
  };
  take(UserColumn::Home, info.usri3_home_dir);
  take(UserColumn::Drive, info.usri3_home_dir_drive);
  take(UserColumn::Description, info.usri3_comment);
  take(UserColumn::FullName, info.usri3_full_name);
  // A new account's password is set by the caller (the file's, or one
  // nobody knows when the file has none).
  if (!newAccount) take(UserColumn::Password, info.usri3_password);
  take(UserColumn::Script, info.usri3_script_path);
  take(UserColumn::Profile, info.usri3_profile);
  if (const auto& v = run.cell(row, UserColumn::Disabled); v != none)
    setFlag(info.usri3_flags, platform::UF_ACCOUNTDISABLE, isYes(v));
  if (const auto& v = run.cell(row, UserColumn::PwExpires); v != none)
    setFlag(info.usri3_flags, platform::UF_DONT_EXPIRE_PASSWD, !isYes(v));
  if (const auto& v = run.cell(row, UserColumn::CPwdNext); v != none) {
    if (isYes(v)) {
      info.usri3_flags &= ~platform::UF_DONT_EXPIRE_PASSWD;
      info.usri3_password_expired = 1;
    } else {
      info.usri3_password_expired = 0;
    }
  }
  if (const auto& v = run.cell(row, UserColumn::NoCPwd); v != none)
    setFlag(info.usri3_flags, platform::UF_PASSWD_CANT_CHANGE, isYes(v));
}

platform::USER_INFO_3 newAccount(const ImportRun& run, const ImportRow& row,
                                 const std::string& name) {
  // A new account is added with all its fields in one call, so that a
  // failure leaves no account behind with half its record.
  platform::USER_INFO_3 account;
  account.usri3_name = name;
  account.usri3_priv = platform::USER_PRIV_USER;
  account.usri3_flags = platform::UF_SCRIPT;
  if (run.hasColumn(UserColumn::Password)) {
    account.usri3_password = run.cell(row, UserColumn::Password);
    // Only a blank password needs "password not required" on a real
    // domain; with a password the flag would let a blank one in later.
    if (account.usri3_password.empty()) account.usri3_flags |= platform::UF_PASSWD_NOTREQD;
  } else {
    // Nobody knows the password of an account the file gives none: the
    // account (created disabled) cannot be used until an administrator
    // sets one. A shared placeholder would be a password everyone knows.
    account.usri3_password = std::string(platform::kUnknownPassword);
    account.usri3_flags |= platform::UF_ACCOUNTDISABLE;
  }
  applyCells(run, row, account, true);
  return account;
}

// A group is created without the placeholder as its comment.
std::string commentToStore(const std::string& comment) {
  return comment == ImportRun::none() ? std::string() : comment;
}

// The step of a group that exists: its comment written with "Update all"
// when the record gives one that differs.
template <class Info>
void planComment(const ImportRun& run, GroupPlan& plan, const std::optional<Info>& read,
                 std::string Info::*comment, const std::string& cell, Info& target,
                 std::string_view cannotUpdate) {
  if (run.options().style != ImportStyle::UpdateAll || cell == ImportRun::none()) {
    plan.action = RecordAction::Unchanged;
  } else if (!read) {
    plan.action = RecordAction::Fail;
    plan.failure = std::string(cannotUpdate);
    plan.caption = importTexts::kErrorCaption;
  } else if ((*read).*comment == cell) {
    // A comment the group holds already changes nothing.
    plan.action = RecordAction::Unchanged;
  } else {
    plan.action = RecordAction::Update;
    target = *read;
    target.*comment = cell;
  }
}

}  // namespace

UserPlan planUserRecord(const ImportRun& run, AccountLookup& lookup, const ImportRow& row) {
  const std::string& name = run.cell(row, UserColumn::UserName);
  UserPlan plan;
  const Lookup<platform::USER_INFO_3> found = lookup.user(name);
  if (!found.answered()) {
    plan.action = RecordAction::Add;
    plan.account = newAccount(run, row, name);
    return plan;
  }
  plan.read = found.info;
  if (run.options().style == ImportStyle::OnlyAddNew) {
    plan.action = RecordAction::Unchanged;
    if (found.info) plan.account = *found.info;
    return plan;
  }
  if (!found.info) {
    plan.action = RecordAction::Fail;
    plan.failure = "the account could not be read";
    return plan;
  }
  plan.account = *found.info;
  applyCells(run, row, plan.account, false);
  // A record that sets what the account holds already changes nothing.
  if (plan.account == *found.info) {
    plan.action = RecordAction::Unchanged;
    return plan;
  }
  plan.action = RecordAction::Update;
  plan.changes = changedUserFields(*found.info, plan.account);
  return plan;
}

std::vector<std::string_view> changedUserFields(const platform::USER_INFO_3& before,
                                                const platform::USER_INFO_3& after) {
  std::vector<std::string_view> changes;
  auto text = [&](std::string platform::USER_INFO_3::*field, std::string_view words) {
    if (before.*field != after.*field) changes.push_back(words);
  };
  auto flag = [&](DWORD bit, std::string_view words) {
    if ((before.usri3_flags & bit) != (after.usri3_flags & bit)) changes.push_back(words);
  };
  text(&platform::USER_INFO_3::usri3_full_name, "full name");
  text(&platform::USER_INFO_3::usri3_comment, "description");
  // A read never gives the password: one the record gives is always set.
  text(&platform::USER_INFO_3::usri3_password, "password");
  text(&platform::USER_INFO_3::usri3_profile, "profile");
  text(&platform::USER_INFO_3::usri3_script_path, "logon script");
  text(&platform::USER_INFO_3::usri3_home_dir, "home directory");
  text(&platform::USER_INFO_3::usri3_home_dir_drive, "home drive");
  flag(platform::UF_ACCOUNTDISABLE, "disabled");
  flag(platform::UF_DONT_EXPIRE_PASSWD, "password never expires");
  if ((before.usri3_password_expired != 0) != (after.usri3_password_expired != 0))
    changes.push_back("must change password at next logon");
  flag(platform::UF_PASSWD_CANT_CHANGE, "cannot change password");
  return changes;
}

GroupPlan planGroupRecord(const ImportRun& run, AccountLookup& lookup, const ImportRow& row) {
  const std::string& name = run.cell(row, GroupColumn::GroupName);
  const std::string& comment = run.cell(row, GroupColumn::Comment);
  const std::string& member = run.cell(row, GroupColumn::UserName);
  const bool globalHeader = member == res::loadString(res::kStrGroupContainer);
  const bool localHeader = member == res::loadString(res::kStrLocalGroupContainer);

  GroupPlan plan;
  plan.memberLine = !globalHeader && !localHeader;
  plan.member = member;
  const auto fail = [&](std::string_view text, std::string_view caption) {
    plan.action = RecordAction::Fail;
    plan.failure = std::string(text);
    plan.caption = caption;
    return plan;
  };

  const Lookup<platform::GROUP_INFO_2> global = lookup.globalGroup(name);
  const bool globalExisted = global.answered();
  if (globalExisted && localHeader)
    return fail(importTexts::kLocalClash, importTexts::kErrorImportingCaption);
  std::optional<Lookup<platform::LOCALGROUP_INFO_1>> local;
  if (!globalExisted && globalHeader) {
    local = lookup.localGroup(name);
    if (local->answered()) return fail(importTexts::kGlobalClash, importTexts::kErrorImportingCaption);
  }
  plan.memberToGlobal = globalExisted;
  if (globalHeader || globalExisted) {
    plan.global = true;
    plan.globalInfo.grpi2_name = name;
    if (!globalExisted) {
      plan.action = RecordAction::Add;
      plan.globalInfo.grpi2_comment = commentToStore(comment);
    } else {
      planComment(run, plan, global.info, &platform::GROUP_INFO_2::grpi2_comment, comment,
                  plan.globalInfo, importTexts::kCouldNotUpdateGroup);
    }
    return plan;
  }
  // A member line for a group that doesn't exist yet makes a local group.
  if (!local) local = lookup.localGroup(name);
  plan.localInfo.lgrpi1_name = name;
  if (!local->answered()) {
    plan.action = RecordAction::Add;
    plan.localInfo.lgrpi1_comment = commentToStore(comment);
  } else {
    planComment(run, plan, local->info, &platform::LOCALGROUP_INFO_1::lgrpi1_comment, comment,
                plan.localInfo, importTexts::kCouldNotUpdateLocalGroup);
  }
  return plan;
}

std::string localMemberName(ImportRun& run, const std::string& member) {
  if (member.find('\\') == std::string::npos) {
    if (const auto& domain = run.domainName()) return *domain + "\\" + member;
  }
  return member;
}

}  // namespace transfer
