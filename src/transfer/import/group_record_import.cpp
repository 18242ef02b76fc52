// One record of a group file: a global or local group's header line, or a
// member line, applied in file order as its plan says.

#include <string>

#include "eventlog/event_report.h"
#include "platform/netapi.h"
#include "transfer/import/import_run.h"
#include "transfer/import/import_texts.h"
#include "transfer/import/record_plan.h"

namespace transfer {

namespace {

using platform::DWORD;

constexpr DWORD kMemberInAlias = 1378;
constexpr DWORD kUserInGroup = 2236;

// Adds or rewrites the group; false when that failed (its message shown).
bool applyGroup(ImportRun& run, const ImportRow& row, const std::string& name,
                const GroupPlan& plan) {
  DWORD parmErr = 0;
  if (plan.action == RecordAction::Add) {
    const DWORD status =
        plan.global ? platform::NetGroupAdd(run.server(), 1,
                                            platform::GROUP_INFO_1{name, plan.globalInfo.grpi2_comment},
                                            &parmErr)
                    : platform::NetLocalGroupAdd(run.server(), 1, plan.localInfo, &parmErr);
    if (status != 0) {
      run.fail(row, name,
               std::string(plan.global ? importTexts::kCouldNotAddGroup
                                       : importTexts::kCouldNotAddLocalGroup),
               importTexts::kErrorCaption);
      return false;
    }
    if (run.options().logging)
      eventlog::reportEvent(eventlog::groupAddedText(name, !plan.global), eventlog::kEventGroupAdded);
    return true;
  }
  if (plan.action == RecordAction::Update) {
    const DWORD status =
        plan.global ? platform::NetGroupSetInfo(run.server(), name, 2, plan.globalInfo, &parmErr)
                    : platform::NetLocalGroupSetInfo(run.server(), name, 1, plan.localInfo, &parmErr);
    if (status != 0) {
      run.fail(row, name,
               std::string(plan.global ? importTexts::kCouldNotUpdateGroup
                                       : importTexts::kCouldNotUpdateLocalGroup),
               importTexts::kErrorCaption);
      return false;
    }
  }
  return true;
}

bool addMember(ImportRun& run, const ImportRow& row, const std::string& group,
               const GroupPlan& plan) {
  DWORD status = 0;
  if (plan.memberToGlobal) {
    status = platform::NetGroupAddUser(run.server(), group, plan.member);
  } else {
    const std::string names[] = {localMemberName(run, plan.member)};
    status = platform::NetLocalGroupAddMembers(run.server(), group, 3, {}, names);
  }
  if (status == 0 || status == kUserInGroup || status == kMemberInAlias) {
    ++run.summary().membersAdded;
    return true;
  }
  run.fail(row, group, std::to_string(status), importTexts::kErrornumCaption);
  return false;
}

}  // namespace

bool importGroupRecord(ImportRun& run, const ImportRow& row) {
  const std::string& name = run.cell(row, GroupColumn::GroupName);
  const GroupPlan plan = planGroupRecord(run, run.lookup(), row);
  if (plan.action == RecordAction::Fail) {
    run.fail(row, name, plan.failure, plan.caption);
    return false;
  }
  if (!applyGroup(run, row, name, plan)) return false;
  if (plan.memberLine && !addMember(run, row, name, plan)) return false;
  // A member line speaks of its member; it counts for the group only when
  // it made the group.
  auto& counts = run.summary().groups;
  if (plan.action == RecordAction::Add) ++counts.added;
  else if (plan.action == RecordAction::Update) ++counts.updated;
  else if (!plan.memberLine) ++counts.unchanged;
  return true;
}

}  // namespace transfer
