// One record of a group file: a global or local group's header line, or a
// member line, applied in file order.

#include <string>

#include "eventlog/event_report.h"
#include "platform/netapi.h"
#include "resources/strings.h"
#include "transfer/import/import_run.h"
#include "transfer/import/import_texts.h"

namespace transfer {

namespace {

using platform::DWORD;

constexpr DWORD kMemberInAlias = 1378;
constexpr DWORD kUserInGroup = 2236;

enum class Outcome { Failed, Added, Updated, Unchanged };

// A group is created without the placeholder as its comment.
std::string commentToStore(const std::string& comment) {
  return comment == ImportRun::none() ? std::string() : comment;
}

Outcome globalGroup(ImportRun& run, const ImportRow& row, const std::string& name,
                    const std::string& comment, bool existed) {
  if (!existed) {
    platform::GROUP_INFO_1 group{name, commentToStore(comment)};
    DWORD parmErr = 0;
    if (platform::NetGroupAdd(run.server(), 1, group, &parmErr) != 0) {
      run.fail(row, name, std::string(importTexts::kCouldNotAddGroup), importTexts::kErrorCaption);
      return Outcome::Failed;
    }
    if (run.options().logging)
      eventlog::reportEvent(eventlog::groupAddedText(name, false), eventlog::kEventGroupAdded);
    return Outcome::Added;
  }
  if (run.options().style != ImportStyle::UpdateAll || comment == ImportRun::none())
    return Outcome::Unchanged;
  platform::NetBuffer buffer;
  const auto* read = platform::NetGroupGetInfo(run.server(), name, 2, buffer) == 0
                         ? buffer.one<platform::GROUP_INFO_2>()
                         : nullptr;
  DWORD parmErr = 0;
  if (read) {
    platform::GROUP_INFO_2 info = *read;
    info.grpi2_comment = comment;
    if (platform::NetGroupSetInfo(run.server(), name, 2, info, &parmErr) == 0) return Outcome::Updated;
  }
  run.fail(row, name, std::string(importTexts::kCouldNotUpdateGroup), importTexts::kErrorCaption);
  return Outcome::Failed;
}

Outcome localGroup(ImportRun& run, const ImportRow& row, const std::string& name,
                   const std::string& comment) {
  platform::NetBuffer buffer;
  const bool existed = platform::NetLocalGroupGetInfo(run.server(), name, 1, buffer) == 0;
  DWORD parmErr = 0;
  if (!existed) {
    platform::LOCALGROUP_INFO_1 group{name, commentToStore(comment)};
    if (platform::NetLocalGroupAdd(run.server(), 1, group, &parmErr) != 0) {
      run.fail(row, name, std::string(importTexts::kCouldNotAddLocalGroup),
               importTexts::kErrorCaption);
      return Outcome::Failed;
    }
    if (run.options().logging)
      eventlog::reportEvent(eventlog::groupAddedText(name, true), eventlog::kEventGroupAdded);
    return Outcome::Added;
  }
  if (run.options().style != ImportStyle::UpdateAll || comment == ImportRun::none())
    return Outcome::Unchanged;
  const auto* read = buffer.one<platform::LOCALGROUP_INFO_1>();
  if (read) {
    platform::LOCALGROUP_INFO_1 info = *read;
    info.lgrpi1_comment = comment;
    if (platform::NetLocalGroupSetInfo(run.server(), name, 1, info, &parmErr) == 0)
      return Outcome::Updated;
  }
  run.fail(row, name, std::string(importTexts::kCouldNotUpdateLocalGroup),
           importTexts::kErrorCaption);
  return Outcome::Failed;
}

bool addMember(ImportRun& run, const ImportRow& row, const std::string& group,
               const std::string& member, bool toGlobalGroup) {
  DWORD status = 0;
  if (toGlobalGroup) {
    status = platform::NetGroupAddUser(run.server(), group, member);
  } else {
    std::string qualified = member;
    if (member.find('\\') == std::string::npos) {
      if (const auto& domain = run.domainName()) qualified = *domain + "\\" + member;
    }
    const std::string names[] = {std::move(qualified)};
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
  const std::string& comment = run.cell(row, GroupColumn::Comment);
  const std::string& member = run.cell(row, GroupColumn::UserName);
  const bool globalHeader = member == res::loadString(res::kStrGroupContainer);
  const bool localHeader = member == res::loadString(res::kStrLocalGroupContainer);

  platform::NetBuffer buffer;
  const bool globalExisted = platform::NetGroupGetInfo(run.server(), name, 2, buffer) == 0;
  if (globalExisted && localHeader) {
    run.fail(row, name, std::string(importTexts::kLocalClash), importTexts::kErrorImportingCaption);
    return false;
  }
  if (!globalExisted && globalHeader &&
      platform::NetLocalGroupGetInfo(run.server(), name, 1, buffer) == 0) {
    run.fail(row, name, std::string(importTexts::kGlobalClash), importTexts::kErrorImportingCaption);
    return false;
  }
  const Outcome outcome = (globalHeader || globalExisted)
                              ? globalGroup(run, row, name, comment, globalExisted)
                              : localGroup(run, row, name, comment);
  if (outcome == Outcome::Failed) return false;
  const bool memberLine = !globalHeader && !localHeader;
  if (memberLine && !addMember(run, row, name, member, globalExisted)) return false;
  // A member line speaks of its member; it counts for the group only when
  // it made the group.
  auto& counts = run.summary().groups;
  if (outcome == Outcome::Added) ++counts.added;
  else if (outcome == Outcome::Updated) ++counts.updated;
  else if (!memberLine) ++counts.unchanged;
  return true;
}

}  // namespace transfer
