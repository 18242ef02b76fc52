#include "dlgthreads/user_worker.h"

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dlgthreads/date_text.h"
#include "dlgthreads/printf_text.h"
#include "platform/dialin.h"
#include "platform/netapi.h"
#include "platform/server_name.h"
#include "resources/strings.h"

namespace dlgthreads {
namespace {

using namespace platform;

constexpr DWORD kDisplayUserLevel = 1;
constexpr DWORD kCountPage = 10000;
constexpr DWORD kDisplayLength = 1000000;
constexpr DWORD kServerListLength = 6655350;
constexpr std::int64_t kDeniedCountEstimate = 100000;
constexpr std::size_t kPositionSlack = 10;
constexpr std::size_t kMaxServers = 10000;
constexpr std::size_t kCallbackBlanks = 27;
// Accounts asked for at a time in a full read, as the preferred length of
// one answer.
constexpr DWORD kEnumPage = 4u << 20;
// One progress text per this many accounts (and one for the last).
constexpr std::size_t kProgressEvery = 1024;

constexpr const char* kFatal = "Fatal Error";

// The fixed texts, looked up once per browse rather than once per cell.
struct Texts {
  std::string yes = res::str(res::kStrYes);
  std::string no = res::str(res::kStrNo);
  std::string never = res::str(res::kStrNever);
  std::string none = res::str(res::kStrNone);
  std::string noCallback = res::str(res::kStrNoCallback);
  std::string adminPreset = res::str(res::kStrAdminPreset);
  std::string userDefined = res::str(res::kStrUserDefined);

  const std::string& yesNo(bool value) const { return value ? yes : no; }
  const std::string& orNone(const std::string& path) const { return path.empty() ? none : path; }
};

// Logon figures of one account, merged over the servers searched.
struct LogonMerge {
  std::uint32_t lastLogon = 0;
  std::uint32_t lastLogoff = 0;
  std::int64_t logons = 0;

  void add(const USER_INFO_3& user) {
    lastLogon = std::max(lastLogon, user.usri3_last_logon);
    lastLogoff = std::max(lastLogoff, user.usri3_last_logoff);
    logons += user.usri3_num_logons;
  }
};

class UserGathering {
 public:
  explicit UserGathering(WorkerBlock& block)
      : m_block(block),
        m_server(block.state.selectedServer),
        m_settings(block.state.settings),
        m_asInteger(block.state.settings.x_date_as_integer != 0) {}

  // False when the browse was stopped on the way.
  bool run() {
    m_block.state.recordCount = 0;
    SetStatusText(m_block, "Retrieving # servers & users");
    std::int64_t count = 0;
    if (!countUsers(&count)) return !m_block.cancelled();
    if (m_block.cancelled()) return false;
    // count + 10 positions, plus the end record.
    if (!m_block.users.allocate(static_cast<std::size_t>(count) + kPositionSlack + 1)) {
      showWorkerMessage(m_block, "Error allocating memory for users.", kFatal, ui::Icon::Error);
      m_block.users.release();
      return true;
    }
    const bool complete = m_settings.u_quick_viewing ? readQuick(count) : readFull(count);
    if (!complete) return false;
    m_block.state.recordCount = static_cast<std::int32_t>(m_block.users.size());
    m_block.users.finish();
    return true;
  }

 private:
  // The fast count in pages of display information. False when no count
  // could be had: the browse then ends without an array (and says why),
  // since every later step needs one sized from the count.
  bool countUsers(std::int64_t* count) {
    DWORD index = 0;
    for (;;) {
      if (m_block.cancelled()) return false;
      NetBuffer page;
      DWORD returned = 0;
      const NET_API_STATUS status = NetQueryDisplayInformation(
          m_server, kDisplayUserLevel, index, kCountPage, kDisplayLength, &returned, page);
      if (status == ERROR_MORE_DATA) {
        *count += returned;
        const auto entries = page.get<NET_DISPLAY_USER>();
        // A "more data" page without entries would never advance.
        if (entries.empty()) return true;
        index = entries.back().usri1_next_index;
        continue;
      }
      if (status == NERR_Success) {
        *count += returned;
        return true;
      }
      if (status == ERROR_ACCESS_DENIED) {
        showRefusal(m_block,
                    "You do not have sufficient rights\non the requested server.\n Not all "
                    "information can be returned.",
                    "Insufficient Security Rights");
        *count = kDeniedCountEstimate;
        return true;
      }
      showRefusal(m_block,
                  printfText("The users of the requested server could not be "
                             "counted.\nError number : %i",
                             static_cast<int>(status)),
                  kFatal, ui::Icon::Error);
      return false;
    }
  }

  bool readQuick(std::int64_t count) {
    SetStatusText(m_block, printfText("Server(s) %i Users %i.", 1, static_cast<int>(count)));
    const bool description = m_settings.u_description != 0;
    const bool passExpires = m_settings.u_pass_expires != 0;
    DWORD index = 0;
    bool anyPage = false;
    NET_API_STATUS status = NERR_Success;
    for (;;) {
      if (m_block.cancelled()) return false;
      NetBuffer page;
      DWORD returned = 0;
      status = NetQueryDisplayInformation(m_server, kDisplayUserLevel, index,
                                          static_cast<DWORD>(count), kDisplayLength, &returned,
                                          page);
      if (status != NERR_Success && status != ERROR_MORE_DATA) break;
      anyPage = true;
      const auto entries = page.get<NET_DISPLAY_USER>();
      for (const NET_DISPLAY_USER& user : entries) {
        UserRecord* record = m_block.users.append();
        if (!record) break;
        record->name = user.usri1_name;
        record->fullName = user.usri1_full_name;
        record->disabled = m_texts.yesNo(user.usri1_flags & UF_ACCOUNTDISABLE);
        if (description) record->comment = user.usri1_comment;
        if (passExpires) {
          record->pwExpires =
              (user.usri1_flags & UF_DONT_EXPIRE_PASSWD) ? m_texts.never : m_texts.yes;
        }
        record->cannotChangePw = m_texts.yesNo(user.usri1_flags & UF_PASSWD_CANT_CHANGE);
      }
      if (status == NERR_Success || entries.empty()) break;
      index = entries.back().usri1_next_index;
    }
    if (!anyPage) {
      showRefusal(m_block, "An error has occurred while retrieving data", "Message",
                  ui::Icon::Error);
      if (status == ERROR_ACCESS_DENIED) {
        showRefusal(m_block, "Insufficient permission to access user data", "Message",
                    ui::Icon::Error);
      } else if (status == ERROR_INVALID_LEVEL) {
        showRefusal(m_block, "Invalid LEVEL <internal>.", "Message", ui::Icon::Error);
      }
    }
    return true;
  }

  // The domain controllers to read, each "\\NAME"; never empty.
  std::vector<std::string> serversToSearch() {
    std::vector<std::string> servers;
    if (m_settings.traverse_search) {
      NetBuffer buf;
      DWORD read = 0;
      DWORD total = 0;
      const DWORD types = SV_TYPE_DOMAIN_CTRL | SV_TYPE_DOMAIN_BAKCTRL;
      NET_API_STATUS status =
          NetServerEnum(m_server, 100, buf, kServerListLength, &read, &total, types, {}, nullptr);
      if (status == ERROR_ACCESS_DENIED) {
        showWorkerMessage(
            m_block,
            "You do not have sufficient rights.\nAttempting to continue using local machine.\n",
            "Error");
      }
      if (status == ERROR_ACCESS_DENIED || status == ERROR_REQ_NOT_ACCEP) {
        NetApiBufferFree(buf);
        NetServerEnum({}, 100, buf, kServerListLength, &read, &total, types, {}, nullptr);
      }
      for (const SERVER_INFO_100& server : buf.get<SERVER_INFO_100>()) {
        if (servers.size() >= kMaxServers) break;
        servers.push_back(server.sv100_name.empty() ? std::string() : uncName(server.sv100_name));
      }
    }
    // Without a list (traverse off, or no controller found) the selected
    // server alone is read.
    if (servers.empty()) servers.emplace_back();
    if (servers.front().empty()) servers.front() = m_server;
    return servers;
  }

  void fillRecord(UserRecord& record, const USER_INFO_3& user, const std::string& server,
                  std::uint32_t now) {
    const DWORD flags = user.usri3_flags;
    record.name = user.usri3_name;
    record.fullName = user.usri3_full_name;
    record.acctExpires = accountExpiryText(user.usri3_acct_expires, m_asInteger);
    record.disabled = m_texts.yesNo(flags & UF_ACCOUNTDISABLE);
    record.hasPassword = m_texts.yesNo(user.usri3_password_age != 0);
    record.maxStorage = printfText("%10i", static_cast<int>(user.usri3_max_storage));
    record.profile = m_texts.orNone(user.usri3_profile);
    record.script = m_texts.orNone(user.usri3_script_path);
    record.pwExpires = (flags & UF_DONT_EXPIRE_PASSWD) ? m_texts.never : m_texts.yes;
    record.lockedOut = m_texts.yesNo(flags & UF_LOCKOUT);
    record.pwExpired = m_texts.yesNo(user.usri3_password_expired != 0);
    record.cannotChangePw = m_texts.yesNo(flags & UF_PASSWD_CANT_CHANGE);
    record.comment = user.usri3_comment;
    record.homeDrive = user.usri3_home_dir_drive;
    record.homeDir = user.usri3_home_dir;
    record.pwLastSet = dateOrSerial(now - user.usri3_password_age, m_asInteger);
    fillDialIn(record, server);
  }

  void fillDialIn(UserRecord& record, const std::string& server) {
    DWORD permission = 0;
    DWORD type = 0;
    std::string number(kCallbackBlanks, ' ');
    if (!GetRASQuick(server, record.name, &permission, &number, &type)) {
      record.rasAllowed = m_texts.no;
      return;
    }
    record.rasAllowed = m_texts.yesNo(permission != 0);
    record.callbackNumber = std::move(number);
    switch (type) {
      case RAS_CALLBACK_PRESET: record.callbackType = m_texts.adminPreset; break;
      case RAS_CALLBACK_USER_SET: record.callbackType = m_texts.userDefined; break;
      default:
        if (type > RAS_CALLBACK_USER_SET) {
          showWorkerMessage(m_block, "Something's going wrong\nwith the RAS selection type.",
                            "Veltrane Message");
        }
        record.callbackType = m_texts.noCallback;
        break;
    }
  }

  bool readFull(std::int64_t count) {
    const std::vector<std::string> servers = serversToSearch();
    if (m_block.cancelled()) return false;
    SetStatusText(m_block, printfText("Server(s) %i Users %i.", static_cast<int>(servers.size()),
                                      static_cast<int>(count)));
    const auto now = static_cast<std::uint32_t>(std::time(nullptr));
    auto& holder = m_block.users;
    std::vector<LogonMerge> merged;
    // Account name -> record, from the answer the records were made from.
    // Controllers list accounts in their own order and need not all have
    // every account, so positions cannot be matched across answers.
    std::unordered_map<std::string_view, std::size_t> byName;
    bool haveRecords = false;
    NET_API_STATUS refusal = NERR_Success;
    // Controllers that did not answer: their own logon figures are missing.
    std::vector<std::pair<std::string, NET_API_STATUS>> unread;

    for (std::size_t s = 0; s < servers.size(); ++s) {
      if (m_block.cancelled()) return false;
      const int serverNumber = static_cast<int>(s) + 1;
      // The first server that answers makes the records (at most count +
      // 10). Answers come in pages, so that a big domain's whole answer is
      // never in memory beside the records made from it.
      const bool making = !haveRecords;
      std::size_t seen = 0;  // this server's accounts so far
      DWORD resume = 0;
      for (bool more = true; more;) {
        NetBuffer buf;
        DWORD read = 0;
        DWORD total = 0;
        const NET_API_STATUS status = NetUserEnum(servers[s], 3, FILTER_NORMAL_ACCOUNT, buf,
                                                  kEnumPage, &read, &total, &resume);
        if (status != NERR_Success && status != ERROR_MORE_DATA) {
          if (refusal == NERR_Success) refusal = status;
          if (servers.size() > 1) unread.emplace_back(servers[s], status);
        }
        const auto users = buf.get<USER_INFO_3>();
        more = status == ERROR_MORE_DATA && !users.empty();
        const auto progress = [&](std::size_t i) {
          // Every account would flood the window with texts no one can read.
          if (i % kProgressEvery == 0 || (!more && i + 1 == seen + users.size())) {
            SetStatusText(m_block, printfText("Server:%i user:%i", serverNumber, static_cast<int>(i)));
          }
        };
        if (making && !users.empty()) {
          haveRecords = true;
          const std::size_t first = holder.size();
          holder.resize(first + users.size());
          merged.resize(holder.size());
          for (std::size_t p = first; p < holder.size(); ++p) {
            if (m_block.cancelled()) return false;
            progress(p);
            fillRecord(holder[p], users[p - first], servers[s], now);
            merged[p].add(users[p - first]);
          }
        } else if (!making) {
          for (std::size_t p = 0; p < users.size(); ++p) {
            if (m_block.cancelled()) return false;
            progress(seen + p);
            const auto found = byName.find(users[p].usri3_name);
            if (found != byName.end()) merged[found->second].add(users[p]);
          }
        }
        seen += users.size();
      }
      if (making && haveRecords) {
        byName.reserve(holder.size());
        for (std::size_t p = 0; p < holder.size(); ++p) byName.emplace(holder[p].name, p);
      }
    }
    // An empty list must not pass for a domain without accounts: a plain
    // user is refused the detailed read, yet may list the accounts quickly.
    if (!haveRecords && refusal != NERR_Success) {
      // The way round is worth saying only when it is a refusal: a server
      // that went away lists nothing either way.
      std::string text = printfText("The user accounts could not be read.\nError number : %i",
                                    static_cast<int>(refusal));
      if (refusal == ERROR_ACCESS_DENIED)
        text += "\nQuick view (Tools > Settings, Users page) lists the accounts for any user.";
      showRefusal(m_block, text, {}, ui::Icon::Error);
    } else if (haveRecords && !unread.empty()) {
      // Each controller keeps its own logon figures: without one of them
      // the merged figures are short, and the administrator must know.
      std::string text = "These domain controllers could not be read:";
      for (const auto& [server, status] : unread)
        text += printfText("\n%s (error %i)", server.c_str(), static_cast<int>(status));
      text += "\nThe last logons and logon counts shown leave out what they keep.";
      showRefusal(m_block, text, "Message", ui::Icon::Warning);
    }

    for (std::size_t i = 0; i < holder.size(); ++i) {
      UserRecord& record = holder[i];
      const LogonMerge& m = merged[i];
      const bool loggedOn = m.lastLogoff < m.lastLogon;
      record.loggedOn = m_texts.yesNo(loggedOn);
      record.loggedOnFlag = loggedOn ? 1 : 0;
      if (m_asInteger) {
        record.lastLogon = serialDayText(m.lastLogon, true);
      } else {
        record.lastLogon = m.lastLogon != 0 ? dateText(m.lastLogon) : m_texts.never;
      }
      record.logons = printfText("%10i", static_cast<int>(m.logons));
    }
    return true;
  }

  WorkerBlock& m_block;
  const std::string m_server;
  const settings::SettingsValues& m_settings;
  const bool m_asInteger;
  const Texts m_texts;
};

}  // namespace

void gatherUsers(std::shared_ptr<WorkerBlock> block) {
  BeginWork(*block);
  UserGathering(*block).run();
  FinishWork(block);
}

}  // namespace dlgthreads
