#pragma once
// Writing the membership changes of the user dialog's OK step, and the one
// report of everything that failed on the way (a box per failure would
// hold up an OK for a thousand accounts). Plain C++.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "users/user_fields.h"

namespace ui {
class Messages;
}

namespace users {

class MembershipReport {
 public:
  // `namingAccounts`: several accounts are written, so each failure says
  // whose it was.
  explicit MembershipReport(bool namingAccounts) : m_namingAccounts(namingAccounts) {}

  void additionFailed(const std::string& account, const std::string& group);
  void removalFailed(const std::string& account, const std::string& entry);
  // Any other failure, as its own paragraph.
  void failed(std::string text);

  bool empty() const { return m_added.empty() && m_paragraphs.empty(); }
  // The whole report; empty when nothing failed.
  std::string text() const;
  // Shows the report in one box, when there is anything to report.
  void show(ui::Messages& messages) const;

 private:
  bool m_namingAccounts;
  // Group → the accounts it refused, in the order of the failures.
  std::vector<std::pair<std::string, std::vector<std::string>>> m_added;
  std::vector<std::string> m_paragraphs;
};

// Single and new modes: makes `account` a member of every "Member of"
// entry it is not yet in ("(I)" entries are left alone), then applies the
// pending removals.
void writeMemberships(std::string_view server, const std::string& account,
                      const UserFields& fields, MembershipReport& report);

// Multiple mode: the pending removals and additions for one account; local
// groups are changed as local groups, by the account's SID.
void writePendingChanges(std::string_view server, const std::string& account,
                         const UserFields& fields, MembershipReport& report);

}  // namespace users
