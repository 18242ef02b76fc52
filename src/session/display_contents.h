#pragma once
// The contents of the displays, one class per kind: the lists over records
// (Users, Groups, Servers, Quotas), the lists of ready-made cells (the Files
// list forms, Trusts, Licenses), and the trees (Network, Performance, the Files
// access tree, which Files holds beside its lists).

#include <array>

#include "session/display_content.h"
#include "session/record_list.h"

namespace session {

// A list over records: its rows, their cells, and the record-level find,
// filter and sort every such list shares.
template <class Record>
class RecordContent : public DisplayContent {
 public:
  using List = RecordList<Record>;

  void clear() override { m_list.clear(); }
  std::size_t rowCount() const override { return m_list.rowCount(); }
  std::int64_t rowValue(std::size_t row) const override { return m_list.recordIndex(row); }
  std::uint32_t rowTag(std::size_t row) const override {
    const Record* record = m_list.recordAt(row);
    return record ? record->tag : 0;
  }
  bool searchable() const override { return true; }
  bool rowMatches(std::size_t row, const dlgthreads::RecordMatcher& matcher) const override {
    const Record* record = m_list.recordAt(row);
    return record != nullptr && matcher.matches(*record);
  }
  std::optional<std::size_t> filter(const dlgthreads::RecordMatcher& matcher) override {
    return m_list.refilter([&matcher](const Record& r) { return matcher.matches(r); },
                           [this](const Record& r) { return rowShown(r); });
  }

  List& list() { return m_list; }
  const List& list() const { return m_list; }
  const Record* recordAt(std::size_t row) const { return m_list.recordAt(row); }

 protected:
  // Whether a kept record has a row of its own (member lines may be hidden).
  virtual bool rowShown(const Record&) const { return true; }
  // Adopts a browse's records, or empties the list when the browse has no
  // array or reported that the server could not be browsed.
  FillOutcome adoptRecords(dlgthreads::RecordHolder<Record>& records);
  // Sorts by a three-way comparison of records on a column.
  template <class Compare>
  bool sortWith(Compare compare, bool ordered, int column, display::sorting::Routine routine) {
    if (!ordered) return false;
    m_list.sortRows([&](const Record& a, const Record& b) {
      const int order = *compare(a, b, column);
      return routine == display::sorting::Routine::First ? order : -order;
    });
    return true;
  }

  List m_list;
};

class UsersContent final : public RecordContent<dlgthreads::UserRecord> {
 public:
  // The record word a column shows: columns 0-21 show words 1-18 and 20-23
  // (word 19, the logged-on flag, has no column).
  static constexpr int recordWord(int column) { return column < 18 ? column + 1 : column + 2; }
  // The state image of an account: disabled wins over locked out.
  static display::ListImage imageOf(const dlgthreads::UserRecord& record);

  FillOutcome adopt(dlgthreads::WorkerBlock& block, const settings::SettingsValues& shown) override;
  std::span<const display::ColumnSpec> columns() const override;
  std::string cellText(std::size_t row, int column) const override;
  std::optional<display::ListImage> image(std::size_t row) const override;
  bool sortBy(int column, display::sorting::Routine routine) override;
  void select(std::size_t row, window::Selection& selection) const override;
};

class GroupsContent final : public RecordContent<dlgthreads::GroupRecord> {
 public:
  enum class LineKind { GlobalGroup, LocalGroup, Member };
  static LineKind kindOf(const dlgthreads::GroupRecord& record);
  static display::ListImage imageOf(LineKind kind);

  FillOutcome adopt(dlgthreads::WorkerBlock& block, const settings::SettingsValues& shown) override;
  // Group lines always get a row, member lines only when members are shown;
  // a worker's "ERROR" line always gets one, so the failure it reports
  // cannot be filtered out of sight.
  void adoptRecords(dlgthreads::RecordHolder<dlgthreads::GroupRecord> records, bool showMembers);
  std::span<const display::ColumnSpec> columns() const override;
  std::string cellText(std::size_t row, int column) const override;
  std::optional<display::ListImage> image(std::size_t row) const override;
  bool sortBy(int column, display::sorting::Routine routine) override;
  void select(std::size_t row, window::Selection& selection) const override;

 private:
  bool rowShown(const dlgthreads::GroupRecord& record) const override;
  bool m_showMembers = false;
};

class ServersContent final : public RecordContent<dlgthreads::ServerRecord> {
 public:
  static constexpr int kFirstFlag = 2;  // columns 2-23: type flags in record order
  static constexpr int kVersion = 24;
  static constexpr int kBuild = 25;
  // The record word a column shows (the list shows the version before the
  // build; the record keeps them the other way round).
  static int recordWord(int column);

  FillOutcome adopt(dlgthreads::WorkerBlock& block, const settings::SettingsValues& shown) override;
  std::span<const display::ColumnSpec> columns() const override;
  std::string cellText(std::size_t row, int column) const override;
  std::optional<std::uint64_t> cellNumber(std::size_t row, int column) const override;
  std::optional<display::ListImage> image(std::size_t) const override {
    return display::ListImage::Server;
  }
  bool sortBy(int column, display::sorting::Routine routine) override;
  void select(std::size_t row, window::Selection& selection) const override;
};

class QuotasContent final : public RecordContent<dlgthreads::QuotaRecord> {
 public:
  // Unknown codes show the ok picture: the service may add codes we do not know.
  static display::ListImage imageOf(const dlgthreads::QuotaRecord& record);

  FillOutcome adopt(dlgthreads::WorkerBlock& block, const settings::SettingsValues& shown) override;
  std::span<const display::ColumnSpec> columns() const override;
  std::string cellText(std::size_t row, int column) const override;
  std::optional<std::uint64_t> cellNumber(std::size_t row, int column) const override;
  std::optional<display::ListImage> image(std::size_t row) const override;
  bool sortBy(int column, display::sorting::Routine routine) override;
};

// A row of ready-made cells.
struct TextRow {
  std::vector<std::string> cells;  // missing cells read as ""
  std::optional<display::ListImage> image;
  std::int64_t value = -1;  // the row data value (an index into the display's area)
};

// A list of ready-made cells under a fixed column set. Like the record
// lists, it shows its rows through an order of indexes, so a filter only
// rebuilds that order: every entry stays, and the next filter tests them all.
class TextContent : public DisplayContent {
 public:
  explicit TextContent(std::span<const display::ColumnSpec> columns = {}) : m_columns(columns) {}

  FillOutcome adopt(dlgthreads::WorkerBlock& block, const settings::SettingsValues& shown) override;
  void clear() override { setRows(m_columns, {}); }
  std::span<const display::ColumnSpec> columns() const override { return m_columns; }
  std::size_t rowCount() const override { return m_shown.size(); }
  std::string cellText(std::size_t row, int column) const override;
  std::optional<display::ListImage> image(std::size_t row) const override;
  std::int64_t rowValue(std::size_t row) const override;
  bool searchable() const override { return true; }
  bool rowMatches(std::size_t row, const dlgthreads::RecordMatcher& matcher) const override;
  std::optional<std::size_t> filter(const dlgthreads::RecordMatcher& matcher) override;

  // New rows, every one shown.
  void setRows(std::span<const display::ColumnSpec> columns, std::vector<TextRow> rows);
  const std::vector<TextRow>& rows() const { return m_rows; }

 private:
  const TextRow* shownRow(std::size_t row) const {
    return row < m_shown.size() ? &m_rows[m_shown[row]] : nullptr;
  }
  bool entryMatches(const TextRow& entry, const dlgthreads::RecordMatcher& matcher) const;

  std::span<const display::ColumnSpec> m_columns;
  std::vector<TextRow> m_rows;
  std::vector<std::uint32_t> m_shown;  // the rows shown, as indexes into m_rows
};

// Files: the size-per-user and rights-dump lists, and the access tree.
class FilesContent final : public TextContent {
 public:
  FilesContent();
  FillOutcome adopt(dlgthreads::WorkerBlock& block, const settings::SettingsValues& shown) override;
  void clear() override;
  void prepare(const settings::SettingsValues& settings) override;
  void settingsChanged() override { clear(); }
  const DisplayTree* tree() const override { return m_showsTree ? &m_tree : nullptr; }

 private:
  DisplayTree m_tree;
  bool m_showsTree = false;
};

// Trusts: a row per domain the browse server's domain has a trust
// relationship with, in the order the server gave them.
class TrustsContent final : public TextContent {
 public:
  TrustsContent();
  // The row of one domain: its name, DNS name, "Trusted" (this domain
  // trusts it), "Trusting" or "Two-way", its kind and whether the trust is
  // transitive.
  static std::vector<std::string> cellsOf(const platform::DS_DOMAIN_TRUSTS& trust);
  FillOutcome adopt(dlgthreads::WorkerBlock& block, const settings::SettingsValues& shown) override;
};

// Network and Performance: a tree of the network.
class NetworkContent final : public DisplayContent {
 public:
  explicit NetworkContent(bool performance) : m_performance(performance) {}
  FillOutcome adopt(dlgthreads::WorkerBlock& block, const settings::SettingsValues& shown) override;
  void clear() override { m_tree = {}; }
  const DisplayTree* tree() const override { return &m_tree; }

 private:
  bool m_performance;
  DisplayTree m_tree;
};

// A display whose browse gathers nothing yet: it keeps what it shows.
class NothingContent final : public DisplayContent {
 public:
  FillOutcome adopt(dlgthreads::WorkerBlock&, const settings::SettingsValues&) override {
    return {.filled = false};
  }
};

}  // namespace session

namespace session {

// The makers the display traits name.
std::unique_ptr<DisplayContent> makeUsersContent();
std::unique_ptr<DisplayContent> makeGroupsContent();
std::unique_ptr<DisplayContent> makeServersContent();
std::unique_ptr<DisplayContent> makeQuotasContent();
std::unique_ptr<DisplayContent> makeFilesContent();
std::unique_ptr<DisplayContent> makeNetworkContent();
std::unique_ptr<DisplayContent> makePerformanceContent();
std::unique_ptr<DisplayContent> makeTrustsContent();
std::unique_ptr<DisplayContent> makeEmptyListContent();

}  // namespace session
