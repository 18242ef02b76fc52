// One record of a user file: the account created or rewritten as its plan
// says, and its home directory.

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
#include "transfer/import/record_plan.h"

namespace transfer {

namespace {

using platform::DWORD;

constexpr DWORD kNoSuchMember = 1387;
constexpr DWORD kPasswordTooShort = 2245;

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

}  // namespace

bool importUserRecord(ImportRun& run, const ImportRow& row) {
  const std::string& name = run.cell(row, UserColumn::UserName);
  const UserPlan plan = planUserRecord(run, run.lookup(), row);
  switch (plan.action) {
    case RecordAction::Fail:
      run.note(row, name, plan.failure);
      return false;
    case RecordAction::Unchanged:
      ++run.summary().users.unchanged;
      return true;
    case RecordAction::Add: {
      DWORD parmErr = 0;
      if (const DWORD status = platform::NetUserAdd(run.server(), 3, plan.account, &parmErr)) {
        reportAddFailure(run, row, name, status);
        return false;
      }
      if (run.options().logging)
        eventlog::reportEvent(eventlog::userAddedText(name), eventlog::kEventUserAdded);
      ++run.summary().users.added;
      return true;
    }
    case RecordAction::Update:
      break;
  }
  DWORD parmErr = 0;
  if (const DWORD status = platform::NetUserSetInfo(run.server(), name, 3, plan.account, &parmErr)) {
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
