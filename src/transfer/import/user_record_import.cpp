// One record of a user file: the account created or read, its fields
// written, and its home directory.

#include <string>

#include "eventlog/event_report.h"
#include "platform/files.h"
#include "platform/message_text.h"
#include "platform/netapi.h"
#include "platform/status_text.h"
#include "resources/strings.h"
#include "transfer/import/home_path.h"
#include "transfer/import/import_run.h"
#include "transfer/import/import_texts.h"

namespace transfer {

namespace {

using platform::DWORD;

constexpr DWORD kNoSuchMember = 1387;
constexpr DWORD kPasswordTooShort = 2245;

void setFlag(DWORD& flags, DWORD flag, bool on) {
  if (on) flags |= flag;
  else flags &= ~flag;
}

bool isYes(const std::string& text) { return text == res::loadString(res::kStrYes); }

void reportAddFailure(ImportRun& run, const ImportRow& row, const std::string& name, DWORD status) {
  std::string text;
  if (status == kNoSuchMember) {
    text = "No such member : " + platform::messageText(name);
  } else if (status == kPasswordTooShort) {
    text = res::str(importTexts::kStrPasswordTooShort);
  } else {
    text = "Error code #" + std::to_string(static_cast<int>(status)) +
           ".\nServer Name: " + platform::messageText(run.server()) +
           "\nUserName: " + platform::messageText(name);
  }
  run.fail(row, name, std::move(text), importTexts::kImportErrorCaption);
}

// The record's fields over the account as read; "*None*" cells are left.
void applyCells(ImportRun& run, const ImportRow& row, platform::USER_INFO_3& info,
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

}  // namespace

bool importUserRecord(ImportRun& run, const ImportRow& row) {
  const std::string& name = run.cell(row, UserColumn::UserName);
  platform::NetBuffer buffer;
  if (platform::NetUserGetInfo(run.server(), name, 3, buffer) != 0) {
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
    DWORD parmErr = 0;
    if (const DWORD status = platform::NetUserAdd(run.server(), 3, account, &parmErr)) {
      reportAddFailure(run, row, name, status);
      return false;
    }
    if (run.options().logging)
      eventlog::reportEvent(eventlog::userAddedText(name), eventlog::kEventUserAdded);
    ++run.summary().users.added;
    return true;
  }
  if (run.options().style == ImportStyle::OnlyAddNew) {
    ++run.summary().users.unchanged;
    return true;
  }
  const auto* read = buffer.one<platform::USER_INFO_3>();
  if (!read) {
    run.note(row, name, "the account could not be read");
    return false;
  }
  platform::USER_INFO_3 info = *read;
  applyCells(run, row, info, false);
  // A record that sets what the account holds already changes nothing.
  if (info == *read) {
    ++run.summary().users.unchanged;
    return true;
  }
  DWORD parmErr = 0;
  if (const DWORD status = platform::NetUserSetInfo(run.server(), name, 3, info, &parmErr)) {
    // Said as an add failure is, with the system's reason: a record that
    // fails without a word leaves nothing to go on.
    std::string reason = platform::statusText(status);
    run.fail(row, name,
             "Error code #" + std::to_string(static_cast<int>(status)) +
                 (reason.empty() ? "" : ": " + reason) +
                 "\nThe account's fields could not be written.\nServer Name: " +
                 platform::messageText(run.server()) + "\nUserName: " + platform::messageText(name),
             importTexts::kImportErrorCaption);
    return false;
  }
  ++run.summary().users.updated;
  return true;
}

void createHome(ImportRun& run, const ImportRow& row) {
  const std::string& home = run.cell(row, UserColumn::Home);
  // Nothing names a directory: creating "" or "*None*" would be a fault.
  if (home.empty() || home == ImportRun::none()) return;
  const std::string& name = run.cell(row, UserColumn::UserName);
  // Untrusted text: only a directory on a share is created, and only
  // through the platform, never a path of this machine.
  const DWORD status = isShareDirectoryPath(home) ? platform::CreateDirectory(home)
                                                  : platform::ERROR_INVALID_NAME;
  if (status == 0) {
    ++run.summary().homesCreated;
    return;
  }
  if (status == platform::ERROR_ALREADY_EXISTS) return;  // an earlier import made it
  ++run.summary().homesFailed;
  run.note(row, name, "home directory " + platform::quotedText(home) + " not created (error " +
                          std::to_string(status) + ")");
  run.messages().ok(std::to_string(static_cast<int>(status)), std::string(importTexts::kHomeCaption));
}

}  // namespace transfer
