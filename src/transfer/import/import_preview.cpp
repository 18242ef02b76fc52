#include "transfer/import/import_preview.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/message_text.h"
#include "platform/netapi.h"
#include "platform/security.h"
#include "platform/status_text.h"
#include "transfer/import/home_path.h"
#include "transfer/import/import_run.h"
#include "transfer/import/preview_lookup.h"
#include "transfer/import/record_plan.h"
#include "transfer/import/server_refusals.h"
#include "ui/messages.h"

namespace transfer {

namespace {

using platform::DWORD;

// A dry run shows no box: what it finds goes into its records.
class NoMessages final : public ui::Messages {
 public:
  ui::Answer show(const ui::Message& message) override { return message.defaultAnswer; }
};

std::string errorText(DWORD status) {
  std::string text = "error " + std::to_string(status);
  if (std::string reason = platform::statusText(status); !reason.empty()) text += ": " + reason;
  return text;
}

std::string joined(const std::vector<std::string_view>& words) {
  std::string text;
  for (std::string_view w : words) text += (text.empty() ? "" : ", ") + std::string(w);
  return text;
}

std::string quoted(std::string_view name) { return platform::messageText(name); }

// Names as the server compares them: A to Z without regard to case.
bool sameName(std::string_view a, std::string_view b) {
  auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return up(x) == up(y); });
}

class Previewer {
 public:
  Previewer(const ImportOptions& options, const ImportHeader& header, ImportPreview& preview)
      : m_run(options, header, m_messages, m_scratch),
        m_lookup(options.server),
        m_preview(preview) {}

  // False when the server does not answer: nothing can be looked up.
  bool start() {
    if (m_run.serverLost()) {
      m_preview.problems.push_back(m_run.lostText());
      return false;
    }
    platform::NetBuffer buffer;
    if (platform::NetUserModalsGet(m_run.server(), 0, buffer) == 0) {
      if (const auto* policy = buffer.one<platform::USER_MODALS_INFO_0>())
        m_minPassword = policy->usrmod0_min_passwd_len;
    }
    return true;
  }

  PreviewRecord user(const ImportRow& row);
  PreviewRecord group(const ImportRow& row);

 private:
  bool lookupFailed(PreviewRecord& r, std::string_view what) {
    const auto status = m_lookup.takeLookupFailure();
    if (!status) return false;
    r.outcome = PreviewOutcome::WouldFail;
    r.detail = std::string(what) + " could not be looked up (" + errorText(*status) + ")";
    return true;
  }
  static void failWith(PreviewRecord& r, std::string why) {
    r.outcome = PreviewOutcome::WouldFail;
    r.detail = std::move(why);
  }
  void home(const ImportRow& row, PreviewRecord& r);
  // The member step of a member line; false when it would fail.
  bool member(const GroupPlan& plan, const std::string& group, PreviewRecord& r, bool* already);

  NoMessages m_messages;
  ImportSummary m_scratch;
  ImportRun m_run;
  PreviewLookup m_lookup;
  ImportPreview& m_preview;
  std::size_t m_minPassword = 0;
};

PreviewRecord Previewer::user(const ImportRow& row) {
  const std::string& name = m_run.cell(row, UserColumn::UserName);
  PreviewRecord r{row.line, name, PreviewOutcome::Unchanged, {}, {}};
  const UserPlan plan = planUserRecord(m_run, m_lookup, row);
  if (lookupFailed(r, "the account")) return r;
  switch (plan.action) {
    case RecordAction::Fail:
      failWith(r, plan.failure);
      return r;
    case RecordAction::Unchanged:
      break;
    case RecordAction::Add:
      if (auto refused = refusedUser(nullptr, plan.account, m_minPassword)) {
        failWith(r, std::move(*refused));
        return r;
      }
      if (m_lookup.globalGroup(name).answered() || m_lookup.localGroup(name).answered()) {
        failWith(r, "a group has that name");
        return r;
      }
      if (lookupFailed(r, "the name")) return r;
      r.outcome = PreviewOutcome::Added;
      m_lookup.rememberUser(plan.account);
      break;
    case RecordAction::Update:
      if (auto refused = refusedUser(&*plan.read, plan.account, m_minPassword)) {
        failWith(r, std::move(*refused));
        return r;
      }
      r.outcome = PreviewOutcome::Updated;
      r.detail = joined(plan.changes);
      m_lookup.rememberUser(plan.account);
      break;
  }
  if (m_run.options().createHomes) home(row, r);
  return r;
}

void Previewer::home(const ImportRow& row, PreviewRecord& r) {
  const std::string& path = m_run.cell(row, UserColumn::Home);
  if (path.empty() || path == ImportRun::none()) return;
  auto failing = [&](std::string why) {
    r.home = "home directory would not be created (" + std::move(why) + ")";
    ++m_preview.homesFailing;
  };
  // As the import judges it: only a directory on a share.
  if (!isShareDirectoryPath(path)) return failing("not a directory on a share");
  if (m_lookup.madeHome(path)) {
    r.home = "home directory already there";
    return;
  }
  const auto find = [](std::string_view p) {
    platform::FindHandle handle;
    platform::WIN32_FIND_DATA found;
    return platform::FindFirstFile(p, handle.out(), &found);
  };
  DWORD status = find(path);
  // The import creates one directory whose parent exists: a missing
  // directory in a folder that is there is one it can make.
  if (status == platform::ERROR_PATH_NOT_FOUND &&
      find(std::string_view(path).substr(0, path.rfind('\\'))) == 0)
    status = platform::ERROR_FILE_NOT_FOUND;
  if (status == 0) {
    r.home = "home directory already there";
  } else if (status == platform::ERROR_FILE_NOT_FOUND) {
    r.home = "home directory to create";
    m_lookup.rememberHome(path);
    ++m_preview.homesToCreate;
  } else {
    failing(errorText(status));
  }
}

PreviewRecord Previewer::group(const ImportRow& row) {
  const std::string& name = m_run.cell(row, GroupColumn::GroupName);
  PreviewRecord r{row.line, name, PreviewOutcome::Unchanged, {}, {}};
  const GroupPlan plan = planGroupRecord(m_run, m_lookup, row);
  if (lookupFailed(r, "the group")) return r;
  const std::string kind = plan.global ? "global group" : "local group";
  switch (plan.action) {
    case RecordAction::Fail:
      failWith(r, platform::oneLine(plan.failure));
      return r;
    case RecordAction::Unchanged:
      break;
    case RecordAction::Add: {
      if (auto bad = badAccountName(name, kMaxGroupNameChars)) {
        failWith(r, std::move(*bad));
        return r;
      }
      const std::string& comment = plan.global ? plan.globalInfo.grpi2_comment
                                               : plan.localInfo.lgrpi1_comment;
      if (auto refused = refusedComment(comment)) {
        failWith(r, std::move(*refused));
        return r;
      }
      if (m_lookup.user(name).answered()) {
        failWith(r, "a user account has that name");
        return r;
      }
      if (lookupFailed(r, "the name")) return r;
      r.outcome = PreviewOutcome::Added;
      r.detail = kind;
      if (plan.global) m_lookup.rememberGroup(plan.globalInfo, true);
      else m_lookup.rememberGroup(plan.localInfo, true);
      break;
    }
    case RecordAction::Update: {
      const std::string& comment = plan.global ? plan.globalInfo.grpi2_comment
                                               : plan.localInfo.lgrpi1_comment;
      if (auto refused = refusedComment(comment)) {
        failWith(r, std::move(*refused));
        return r;
      }
      r.outcome = PreviewOutcome::Updated;
      r.detail = "comment";
      if (plan.global) m_lookup.rememberGroup(plan.globalInfo, false);
      else m_lookup.rememberGroup(plan.localInfo, false);
      break;
    }
  }
  if (!plan.memberLine) return r;
  bool already = false;
  if (!member(plan, name, r, &already)) return r;
  ++(already ? m_preview.alreadyMembers : m_preview.membersToAdd);
  return r;
}

bool Previewer::member(const GroupPlan& plan, const std::string& group, PreviewRecord& r,
                       bool* already) {
  std::string sent = plan.member;
  platform::SID sid;
  if (plan.memberToGlobal) {
    // A global group holds users of its own domain, named without one.
    const bool isUser = m_lookup.user(sent).answered();
    if (lookupFailed(r, "the member")) return false;
    if (!isUser) {
      failWith(r, "no user account named " + quoted(sent) + " to add as a member");
      return false;
    }
    *already = m_lookup.inGlobalGroup(group, sent);
  } else {
    sent = localMemberName(m_run, plan.member);
    platform::SID_NAME_USE use = platform::SidTypeUnknown;
    std::string domain;
    const DWORD status = platform::LookupAccountName(m_run.server(), sent, &sid, &domain, &use);
    const std::size_t slash = sent.find('\\');
    const std::string bare = slash == std::string::npos ? sent : sent.substr(slash + 1);
    // A global group an earlier record makes can join a local group.
    const bool madeEarlier =
        status != 0 && m_lookup.addedGlobalGroup(bare) &&
        (slash == std::string::npos || !m_run.domainName() ||
         sameName(std::string_view(sent).substr(0, slash), *m_run.domainName()));
    if (status == 0 && use == platform::SidTypeAlias) {
      failWith(r, quoted(sent) + " is a local group, which cannot be a member of a local group");
      return false;
    }
    const bool account = status == 0 && (use == platform::SidTypeUser || use == platform::SidTypeGroup);
    if (!account && !madeEarlier) {
      failWith(r, "no account named " + quoted(sent) + " to add as a member");
      return false;
    }
    *already = m_lookup.inLocalGroup(group, sent, sid);
  }
  m_lookup.rememberMember(group, sent);
  const std::string said =
      *already ? quoted(sent) + " is already a member" : "member " + quoted(sent) + " added";
  if (r.outcome == PreviewOutcome::Unchanged && !*already) r.outcome = PreviewOutcome::Updated;
  r.detail += (r.detail.empty() ? "" : ", ") + said;
  return true;
}

}  // namespace

std::string_view outcomeWords(PreviewOutcome outcome) {
  switch (outcome) {
    case PreviewOutcome::Added: return "added";
    case PreviewOutcome::Updated: return "updated";
    case PreviewOutcome::Unchanged: return "unchanged";
    case PreviewOutcome::WouldFail: return "would fail";
  }
  return {};
}

std::string PreviewRecord::text() const {
  std::string t = "line " + std::to_string(line) + ": " + platform::messageText(name) + ": " +
                  std::string(outcomeWords(outcome));
  if (!detail.empty()) t += " (" + detail + ")";
  if (!home.empty()) t += "; " + home;
  return t;
}

std::vector<std::string> ImportPreview::countLines() const {
  std::vector<std::string> lines{"Dry run: nothing was changed."};
  if (kind == ImportKind::None) return lines;
  lines.push_back("Records: " + std::to_string(added) + " to add, " + std::to_string(updated) +
                  " to update, " + std::to_string(unchanged) + " unchanged, " +
                  std::to_string(failing) + " would fail" +
                  (cancelled ? " (cancelled after " + std::to_string(records.size()) + " of " +
                                   std::to_string(recordsTotal) + ")"
                             : ""));
  if (kind == ImportKind::Groups)
    lines.push_back("Members: " + std::to_string(membersToAdd) + " to add, " +
                    std::to_string(alreadyMembers) + " already members");
  if (homesToCreate + homesFailing > 0)
    lines.push_back("Home directories: " + std::to_string(homesToCreate) + " to create, " +
                    std::to_string(homesFailing) + " would not be created");
  if (stopLine)
    lines.push_back("The import would stop at line " + std::to_string(*stopLine) +
                    ": a group file's import ends at its first failed record.");
  return lines;
}

ImportPreview previewImport(const ImportTable& table, const ImportOptions& options,
                            ImportProgress* progress) {
  ImportPreview preview;
  preview.recordsTotal = table.rows.size();
  const ImportHeader header = checkImportHeader(table.header);
  preview.problems = header.messages;
  if (header.kind == ImportKind::None) {
    preview.problems.push_back("The header names neither a user file nor a group file.");
    return preview;
  }
  preview.kind = header.kind;
  Previewer previewer(options, header, preview);
  if (!previewer.start()) return preview;
  preview.records.reserve(table.rows.size());
  for (const ImportRow& row : table.rows) {
    if (progress && !progress->recordsDone(preview.records.size(), preview.recordsTotal)) {
      preview.cancelled = true;
      break;
    }
    PreviewRecord r = header.kind == ImportKind::Users ? previewer.user(row) : previewer.group(row);
    switch (r.outcome) {
      case PreviewOutcome::Added: ++preview.added; break;
      case PreviewOutcome::Updated: ++preview.updated; break;
      case PreviewOutcome::Unchanged: ++preview.unchanged; break;
      case PreviewOutcome::WouldFail:
        ++preview.failing;
        if (header.kind == ImportKind::Groups && !preview.stopLine) preview.stopLine = r.line;
        break;
    }
    preview.records.push_back(std::move(r));
  }
  if (progress && !preview.cancelled)
    progress->recordsDone(preview.records.size(), preview.recordsTotal);
  return preview;
}

}  // namespace transfer
