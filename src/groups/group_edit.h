#pragma once
// What the Group Properties dialog reads and writes: a group's kind,
// description and members on a server, and the accounts that could join it.
// The OK step compares the edited member list with the server's and writes
// only the difference. Plain C++: boxes go through ui::Messages.

#include <string>
#include <string_view>
#include <vector>

namespace ui {
class Messages;
}

namespace groups {

struct GroupFields {
  std::string name;
  bool local = false;
  bool isNew = false;
  std::string description;
  // Entries as the dialog lists them: account names for a global group,
  // "DOMAIN\name" for a local one.
  std::vector<std::string> members;
  std::vector<std::string> candidates;
  // The second global group whose members the candidate list shows and
  // whose membership OK writes too; empty while the dialog edits one group.
  std::string secondGroup;
};

// Names compare as the server does: without regard to case.
bool sameName(std::string_view a, std::string_view b);

// A second global group's members as the dialog lists them: prefixed with
// the server's domain when the edited group is local.
std::vector<std::string> secondGroupEntries(std::string_view server, const std::string& group,
                                            bool local);

// The server's own domain name, "" when it cannot be read.
std::string serverDomain(std::string_view server);

// Reads a group for the dialog. An existing group found among the server's
// local groups is edited as local whatever the opener thought. A new group
// has no members and every normal account as candidate.
GroupFields loadGroup(std::string_view server, std::string name, bool isNew, bool local);

enum class WriteResult { Close, StayOpen };

// The OK step. A new group is created first; once created, `fields.isNew`
// turns false, so an OK after a stay-open message edits it instead of
// creating it again. Every entry to be added to a local group is looked up
// before anything is written. With `logging`, a creation is reported to
// the event log.
WriteResult writeGroup(std::string_view server, GroupFields& fields, bool logging,
                       ui::Messages& messages);

}  // namespace groups
