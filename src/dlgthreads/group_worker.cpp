#include "dlgthreads/group_worker.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "dlgthreads/printf_text.h"
#include "platform/netapi.h"
#include "resources/strings.h"

namespace dlgthreads {
namespace {

using namespace platform;

constexpr DWORD kDisplayGroupLevel = 3;
constexpr DWORD kDisplayGroupEntries = 5000;
constexpr DWORD kDisplayGroupLength = 40000;
constexpr DWORD kEstimateLength = 600;
constexpr DWORD kReadLength = 6655350;
constexpr std::int64_t kUnknownGlobalGroups = 1000000;
constexpr std::size_t kMembersCapacity = 1000000;
constexpr std::size_t kEstimateSlack = 10;
constexpr std::size_t kFallbackCapacity = 100000;

constexpr const char* kFatal = "Fatal Error";

class GroupGathering {
 public:
  explicit GroupGathering(WorkerBlock& block)
      : m_block(block),
        m_server(block.state.selectedServer),
        m_showMembers(block.state.settings.g_show_members != 0),
        m_domainNames(block.state.settings.g_show_domain_name != 0) {}

  // False when the browse was stopped on the way.
  bool run() {
    const std::int64_t estimate = estimateGroups();
    if (m_block.cancelled()) return false;
    if (!allocate(estimate)) return true;
    if (!readLocalGroups()) return false;
    if (!readGlobalGroups()) return false;
    m_block.groups.finish();
    return true;
  }

 private:
  std::int64_t estimateGroups() {
    NetBuffer buf;
    DWORD returned = 0;
    // Any status but success (even "more data") means the display query
    // could not give the whole number at once.
    std::int64_t estimate =
        NetQueryDisplayInformation(m_server, kDisplayGroupLevel, 0, kDisplayGroupEntries,
                                   kDisplayGroupLength, &returned, buf) == NERR_Success
            ? returned
            : kUnknownGlobalGroups;
    NetApiBufferFree(buf);
    if (m_block.cancelled()) return estimate;
    DWORD read = 0;
    DWORD total = 0;
    const NET_API_STATUS status =
        NetLocalGroupEnum(m_server, 1, buf, kEstimateLength, &read, &total, nullptr);
    if (status != NERR_Success && status != ERROR_MORE_DATA) {
      estimate *= 2;
    } else {
      estimate += total;
    }
    return estimate;
  }

  // The "less memory" fallback. False when no array could be made; the
  // holder then has none and the display shows no records.
  bool allocate(std::int64_t estimate) {
    auto& holder = m_block.groups;
    const std::size_t capacity =
        m_showMembers ? kMembersCapacity : static_cast<std::size_t>(estimate) + kEstimateSlack;
    if (holder.allocate(capacity)) return true;
    showWorkerMessage(m_block,
                      "Allocation of memory error.\nWill attempt to continue using less memory.",
                      "Veltrane Error");
    if (holder.allocate(kFallbackCapacity)) return true;
    showWorkerMessage(m_block, "Insufficient memory", kFatal);
    holder.release();
    return false;
  }

  // A line of the display; lines beyond the array's capacity are dropped
  // rather than written past its end.
  void addLine(std::string_view name, std::string_view comment, std::string_view third) {
    GroupRecord* record = m_block.groups.append();
    if (!record) return;
    record->name = name;
    record->comment = comment;
    record->third = third;
  }

  bool readLocalGroups() {
    NetBuffer groups;
    DWORD read = 0;
    DWORD total = 0;
    const NET_API_STATUS status =
        NetLocalGroupEnum(m_server, 1, groups, kReadLength, &read, &total, nullptr);
    if (status == ERROR_ACCESS_DENIED) showRefusal(m_block, "Insufficient rights", kFatal);
    reportRefusal(status);
    const std::string marker = res::str(res::kStrLocalGroupContainer);
    const DWORD level = m_domainNames ? 2 : 1;
    int position = 0;
    for (const LOCALGROUP_INFO_1& group : groups.get<LOCALGROUP_INFO_1>()) {
      if (m_block.cancelled()) return false;
      SetStatusText(m_block, printfText("Group %i.", ++position));
      addLine(group.lgrpi1_name, group.lgrpi1_comment, marker);
      if (!m_showMembers) continue;
      NetBuffer members;
      DWORD mread = 0;
      DWORD mtotal = 0;
      const NET_API_STATUS mstatus = NetLocalGroupGetMembers(
          m_server, group.lgrpi1_name, level, members, kReadLength, &mread, &mtotal, nullptr);
      if (mstatus == ERROR_ACCESS_DENIED) {
        showRefusal(m_block, "Insufficient rights to read Local\ngroup members.", kFatal);
      }
      if (level == 2) {
        for (const auto& member : members.get<LOCALGROUP_MEMBERS_INFO_2>()) {
          addLine(group.lgrpi1_name, group.lgrpi1_comment, member.lgrmi2_domainandname);
        }
      } else {
        for (const auto& member : members.get<LOCALGROUP_MEMBERS_INFO_1>()) {
          addLine(group.lgrpi1_name, group.lgrpi1_comment, member.lgrmi1_name);
        }
      }
    }
    return !m_block.cancelled();
  }

  // Pages of kReadLength bytes, read on with the resume handle until the
  // server has no more: a full page must not end the list.
  bool readGlobalGroups() {
    const std::string marker = res::str(res::kStrGroupContainer);
    DWORD resume = 0;
    for (bool first = true;; first = false) {
      NetBuffer groups;
      DWORD read = 0;
      DWORD total = 0;
      const NET_API_STATUS status =
          NetGroupEnum(m_server, 2, groups, kReadLength, &read, &total, &resume);
      if (status == ERROR_ACCESS_DENIED) {
        showRefusal(m_block, "Insufficient rights to read Global\ngroup information.", kFatal);
      }
      reportRefusal(status);
      const std::span<const GROUP_INFO_2> page = groups.get<GROUP_INFO_2>();
      if (first && total == 0 && page.empty()) {
        addLine("ERROR : Could not enumerate domain.", "", "");
        return !m_block.cancelled();
      }
      for (const GROUP_INFO_2& group : page) {
        if (m_block.cancelled()) return false;
        addLine(group.grpi2_name, group.grpi2_comment, marker);
        SetStatusText(m_block, printfText("Group %i.", static_cast<int>(m_block.groups.size())));
        if (m_showMembers) readMembers(group);
      }
      if (status != ERROR_MORE_DATA || page.empty()) break;
    }
    return !m_block.cancelled();
  }

  void readMembers(const GROUP_INFO_2& group) {
    DWORD resume = 0;
    for (;;) {
      NetBuffer members;
      DWORD read = 0;
      DWORD total = 0;
      const NET_API_STATUS status = NetGroupGetUsers(m_server, group.grpi2_name, 0, members,
                                                     kReadLength, &read, &total, &resume);
      if (status == ERROR_ACCESS_DENIED) {
        showRefusal(m_block, "Insufficient rights to read Global\ngroup members.", kFatal);
      }
      const std::span<const GROUP_USERS_INFO_0> page = members.get<GROUP_USERS_INFO_0>();
      for (const auto& member : page) addLine(group.grpi2_name, group.grpi2_comment, member.grui0_name);
      if (status != ERROR_MORE_DATA || page.empty() || m_block.cancelled()) return;
    }
  }

  // Refusals other than access denied (which has its own texts) would
  // otherwise leave a list that looks complete. An unreachable server
  // refuses both enumerations; once is enough to say so.
  void reportRefusal(NET_API_STATUS status) {
    if (status == NERR_Success || status == ERROR_MORE_DATA || status == ERROR_ACCESS_DENIED ||
        m_refusalReported)
      return;
    m_refusalReported = true;
    showRefusal(m_block,
                printfText("The groups of the requested server could not be "
                           "read.\nError number : %i",
                           static_cast<int>(status)),
                {}, ui::Icon::Error);
  }

  WorkerBlock& m_block;
  const std::string m_server;
  const bool m_showMembers;
  const bool m_domainNames;
  bool m_refusalReported = false;
};

}  // namespace

void gatherGroups(std::shared_ptr<WorkerBlock> block) {
  BeginWork(*block);
  GroupGathering(*block).run();
  FinishWork(block);
}

}  // namespace dlgthreads
