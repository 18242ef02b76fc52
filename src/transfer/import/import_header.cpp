#include "transfer/import/import_header.h"

#include <algorithm>
#include <span>
#include <string_view>

#include "transfer/import/import_texts.h"

namespace transfer {

namespace {

constexpr std::string_view kUserTitles[] = {
    "UserName", "Password", "Full Name", "Description", "Profile", "Script",
    "Home",     "Drive",    "Disabled",  "PW Expires",  "cPWDnxt", "nocPWD"};
constexpr std::string_view kGroupTitles[] = {"GroupName", "Comment", "UserName"};
static_assert(std::size(kUserTitles) == static_cast<std::size_t>(UserColumn::Count));
static_assert(std::size(kGroupTitles) == static_cast<std::size_t>(GroupColumn::Count));

// Checks `titles` as a file of the kind whose titles are `known` (the first
// of them leads). Messages only when the first title leads.
bool checkAs(const std::vector<std::string>& titles, std::span<const std::string_view> known,
             ImportHeader& header) {
  if (titles.empty() || titles.front() != known.front()) return false;
  header.columns.assign(known.size(), std::nullopt);
  bool valid = true;
  for (std::size_t i = 0; i < titles.size(); ++i) {
    const auto found = std::find(known.begin(), known.end(), titles[i]);
    if (found == known.end()) {
      header.messages.push_back(std::string(importTexts::kUnsupportedColumn) + titles[i]);
      valid = false;
      continue;
    }
    auto& slot = header.columns[static_cast<std::size_t>(found - known.begin())];
    if (slot) {
      // Taking either copy would drop the other one's cells unseen.
      header.messages.push_back(std::string(importTexts::kDuplicatedColumn) + titles[i]);
      valid = false;
      continue;
    }
    slot = i;
  }
  return valid;
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
