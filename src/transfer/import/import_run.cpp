#include "transfer/import/import_run.h"

#include <algorithm>

#include "platform/message_text.h"
#include "platform/netapi.h"
#include "platform/status_text.h"
#include "resources/strings.h"

namespace transfer {

const std::string& ImportRun::none() {
  static const std::string text = res::str(res::kStrNone);
  return text;
}

void ImportRun::fail(const ImportRow& row, std::string_view name, std::string text,
                     std::string_view caption) {
  note(row, name, text);
  if (serverLost()) return;  // the import's own message says why
  m_messages.ok(std::move(text), std::string(caption));
}

bool ImportRun::serverLost() {
  constexpr platform::DWORD kLogonFailure = 1326;
  if (m_lost) return true;
  platform::NetBuffer buffer;
  const platform::DWORD status = platform::NetUserModalsGet(server(), 0, buffer);
  if (status == platform::ERROR_BAD_NETPATH || status == kLogonFailure) m_lost = status;
  return m_lost != 0;
}

std::string ImportRun::lostText() const {
  const std::string what = m_lost == platform::ERROR_BAD_NETPATH
                               ? " does not answer"
                               : " refuses the account the program acts as";
  return "The import stopped: the server " + platform::messageText(server()) + what +
         ".\nError number : " + std::to_string(m_lost) + ": " + platform::statusText(m_lost);
}

void ImportRun::note(const ImportRow& row, std::string_view name, std::string_view text) {
  // One line however the text runs: its line ends become blanks, anything
  // else the file put there is shown escaped.
  std::string flat(text.substr(0, platform::kWholeMessageChars * 4));
  std::replace_if(flat.begin(), flat.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
  m_summary.failures.push_back("Line " + std::to_string(row.line) + ": " + platform::messageText(name) +
                               ": " + platform::messageText(flat, platform::kWholeMessageChars));
}

const std::optional<std::string>& ImportRun::domainName() {
  if (!m_domainAsked) {
    m_domainAsked = true;
    platform::NetBuffer buffer;
    if (platform::NetUserModalsGet(server(), 2, buffer) == 0) {
      if (const auto* info = buffer.one<platform::USER_MODALS_INFO_2>())
        m_domainName = info->usrmod2_domain_name;
    }
  }
  return m_domainName;
}

}  // namespace transfer
