#include "transfer/import/import_header.h"

#include <algorithm>
#include <span>
#include <string_view>

#include "platform/message_text.h"
#include "transfer/import/import_texts.h"

namespace transfer {

namespace {

constexpr std::string_view kUserTitles[] = {
    "UserName", "Password", "Full Name", "Description", "Profile", "Script",
    "Home",     "Drive",    "Disabled",  "PW Expires",  "cPWDnxt", "nocPWD"};
constexpr std::string_view kGroupTitles[] = {"GroupName", "Comment", "UserName"};
static_assert(std::size(kUserTitles) == static_cast<std::size_t>(UserColumn::Count));
static_assert(std::size(kGroupTitles) == static_cast<std::size_t>(GroupColumn::Count));

// The most titles one message names; it counts the rest.
constexpr std::size_t kTitlesNamed = 5;

// The part of the message about `titles`: the import's own text for one,
// for more their number and the first few, one a line. Titles are the
// file's text, shown escaped and cut.
std::string titlesPart(const std::vector<std::string_view>& titles, std::string_view one,
                       std::string_view several) {
  if (titles.size() == 1) return std::string(one) + platform::messageText(titles.front());
  std::string text = "The following " + std::to_string(titles.size()) + " input columns " +
                     std::string(several) + ":";
  for (std::size_t i = 0; i < titles.size() && i < kTitlesNamed; ++i) {
    text += '\n';
    text += platform::messageText(titles[i]);
  }
  if (titles.size() > kTitlesNamed)
    text += "\n\xE2\x80\xA6 and " + std::to_string(titles.size() - kTitlesNamed) + " more";
  return text;
}

// Checks `titles` as a file of the kind whose titles are `known` (the first
// of them leads). One message, only when the first title leads, however
// many titles are refused.
bool checkAs(const std::vector<std::string>& titles, std::span<const std::string_view> known,
             ImportHeader& header) {
  if (titles.empty() || titles.front() != known.front()) return false;
  header.columns.assign(known.size(), std::nullopt);
  std::vector<std::string_view> unsupported;
  std::vector<std::string_view> repeated;
  for (std::size_t i = 0; i < titles.size(); ++i) {
    const auto found = std::find(known.begin(), known.end(), titles[i]);
    if (found == known.end()) {
      unsupported.push_back(titles[i]);
      continue;
    }
    auto& slot = header.columns[static_cast<std::size_t>(found - known.begin())];
    // Taking either copy would drop the other one's cells unseen. Only
    // known titles repeat: the list stays short.
    if (!slot) slot = i;
    else if (std::find(repeated.begin(), repeated.end(), titles[i]) == repeated.end())
      repeated.push_back(titles[i]);
  }
  std::string message;
  if (!unsupported.empty())
    message = titlesPart(unsupported, importTexts::kUnsupportedColumn, "are not supported");
  if (!repeated.empty()) {
    if (!message.empty()) message += '\n';
    message += titlesPart(repeated, importTexts::kDuplicatedColumn, "are given twice");
  }
  if (message.empty()) return true;
  header.messages.push_back(std::move(message));
  return false;
}

}  // namespace

ImportHeader checkImportHeader(const std::vector<std::string>& titles) {
  ImportHeader header;
  if (checkAs(titles, kUserTitles, header)) {
    header.kind = ImportKind::Users;
  } else if (header.messages.empty() && checkAs(titles, kGroupTitles, header)) {
    header.kind = ImportKind::Groups;
  } else {
    header.columns.clear();
  }
  return header;
}

}  // namespace transfer
