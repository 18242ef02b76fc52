#pragma once
// Copy user without the dialog: the account made from the selected one
// under a new name, with what the prompt asked for. Plain C++: the prompt
// (CEnterName) only gathers the details, and boxes go through ui::Messages.

#include <string>
#include <vector>

#include "platform/netapi.h"
#include "users/copy_record.h"

namespace ui {
class Messages;
}

namespace users {

class UserCopy {
 public:
  enum class Step {
    Created,   // the account exists
    Stopped,   // the source could not be read: nothing more to do
    StayOpen,  // a message says what to put right; nothing was written
  };

  // Reads the source at once, for what the prompt shows first.
  UserCopy(std::string server, std::string source, bool logging, ui::Messages& messages);

  // Whether the source must change its password at next logon (the
  // prompt's box starts so); false when it could not be read.
  bool sourceMustChange() const { return m_sourceMustChange; }

  // The prompt's OK: reads the source again, checks the details as Add user
  // checks a new account's, and creates the copy; every failure is shown.
  Step create(const CopyDetails& details);
  bool attempted() const { return m_attempted; }
  bool created() const { return m_created; }
  const std::string& copyName() const { return m_copy; }

  // Adds the created copy to the source's global and direct local groups;
  // the groups that refused it.
  std::vector<std::string> copyMemberships() const;

 private:
  std::string m_server;
  std::string m_source;
  bool m_logging = false;
  ui::Messages& m_messages;
  bool m_sourceMustChange = false;
  bool m_attempted = false;
  bool m_created = false;
  std::string m_copy;
};

}  // namespace users
