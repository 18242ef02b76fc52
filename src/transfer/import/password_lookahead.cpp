#include "transfer/import/password_lookahead.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/netapi.h"

namespace transfer {

PasswordLookahead::PasswordLookahead(const ImportTable& table, const ImportHeader& header)
    : m_table(table),
      m_column(header.kind == ImportKind::Users ? header.at(UserColumn::Password) : std::nullopt) {}

PasswordLookahead::~PasswordLookahead() {
  if (m_told > 0) platform::PrepareAccountPasswords({});
}

void PasswordLookahead::reached(const ImportRow& row) {
  if (!m_column || m_table.rows.empty()) return;
  const auto index = static_cast<std::size_t>(&row - m_table.rows.data());
  const std::size_t end = std::min(m_table.rows.size(), index + 1 + kAhead);
  if (m_told >= end) return;
  std::vector<std::string> passwords;
  passwords.reserve(end - m_told);
  for (std::size_t i = std::max(m_told, index); i < end; ++i) {
    passwords.push_back(m_table.rows[i].cells[*m_column]);
  }
  m_told = end;
  platform::PrepareAccountPasswords(passwords);
}

}  // namespace transfer
