#pragma once
// What the record importers share during one import: the options, the
// message port, the header's column places and the summary they add to.

#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"
#include "transfer/import/account_lookup.h"
#include "transfer/import/import_engine.h"
#include "ui/messages.h"

namespace transfer {

class ImportRun {
 public:
  ImportRun(const ImportOptions& options, const ImportHeader& header, ui::Messages& messages,
            ImportSummary& summary)
      : m_options(options),
        m_header(header),
        m_messages(messages),
        m_summary(summary),
        m_lookup(options.server) {}

  const ImportOptions& options() const { return m_options; }
  const std::string& server() const { return m_options.server; }
  ImportSummary& summary() { return m_summary; }
  ui::Messages& messages() { return m_messages; }
  // The server, asked afresh for each record's account or group.
  AccountLookup& lookup() { return m_lookup; }

  // The record's cell of `column`, or "*None*" when the header lacks it.
  template <class Column>
  const std::string& cell(const ImportRow& row, Column column) const {
    const auto index = m_header.at(column);
    return index ? row.cells[*index] : none();
  }
  bool hasColumn(UserColumn column) const { return m_header.at(column).has_value(); }
  static const std::string& none();

  // Shows `text` in a box with `caption` and notes it as the record's failure.
  void fail(const ImportRow& row, std::string_view name, std::string text, std::string_view caption);
  // Notes a failure the import shows no box of its own for.
  void note(const ImportRow& row, std::string_view name, std::string_view text);

  // After a record failed: whether the server stopped answering (53) or
  // refuses the account the program acts as (1326), asked of the server
  // once per failure. Then every later record would fail alike, so the
  // import ends with one message instead of the record's own.
  bool serverLost();
  platform::DWORD lostStatus() const { return m_lost; }
  // The one message that says so.
  std::string lostText() const;

  // The server's account-domain name (NetUserModalsGet level 2), asked once.
  const std::optional<std::string>& domainName();

 private:
  const ImportOptions& m_options;
  const ImportHeader& m_header;
  ui::Messages& m_messages;
  ImportSummary& m_summary;
  ServerLookup m_lookup;
  platform::DWORD m_lost = 0;
  bool m_domainAsked = false;
  std::optional<std::string> m_domainName;
};

// Applies one record of a user file; false when it failed (its messages shown).
bool importUserRecord(ImportRun& run, const ImportRow& row);
// Creates the record's home directory when asked for and named.
void createHome(ImportRun& run, const ImportRow& row);
// Applies one record of a group file; false when it failed.
bool importGroupRecord(ImportRun& run, const ImportRow& row);

}  // namespace transfer
