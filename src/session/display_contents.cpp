#include "session/display_contents.h"

#include <utility>

#include "platform/byte_totals.h"
#include "resources/strings.h"
#include "session/display_traits.h"
#include "session/files_texts.h"
#include "session/fill_messages.h"

namespace session {

using display::ColumnSpec;
using display::DisplayType;
using display::FilesForm;
using display::filesFormOf;
using display::ListImage;
using dlgthreads::GroupRecord;
using dlgthreads::QuotaRecord;
using dlgthreads::ServerRecord;
using dlgthreads::UserRecord;
using dlgthreads::WorkerBlock;
namespace sorting = display::sorting;

std::string DisplayContent::cellText(std::size_t, int) const { return {}; }

namespace {

std::string countText(std::size_t count) { return std::to_string(count); }

}  // namespace

template <class Record>
FillOutcome RecordContent<Record>::adoptRecords(dlgthreads::RecordHolder<Record>& records) {
  if (!records.hasArray()) {
    m_list.clear();
    return {.count = countText(0)};
  }
  const auto all = records.withEnd();
  if (!all.empty() && display::isErrorRecord(all.front().name)) {
    m_list.clear();
    return {.count = countText(0), .messages = {std::string(display::kCannotBrowseText)}};
  }
  m_list.adopt(std::exchange(records, {}), [this](const Record& r) { return rowShown(r); });
  return {.count = countText(m_list.recordCount())};
}

// ---- Users ----

ListImage UsersContent::imageOf(const UserRecord& record) {
  const std::string_view yes = res::loadString(res::kStrYes);
  if (record.disabled == yes) return ListImage::Disabled;
  if (record.lockedOut == yes) return ListImage::LockedOut;
  return ListImage::Account;
}

FillOutcome UsersContent::adopt(WorkerBlock& block, const settings::SettingsValues&) {
  return adoptRecords(block.users);
}

std::span<const ColumnSpec> UsersContent::columns() const {
  return display::columnSpecs(DisplayType::Users);
}

std::string UsersContent::cellText(std::size_t row, int column) const {
  const UserRecord* record = recordAt(row);
  return record ? std::string(record->text(recordWord(column))) : std::string();
}

std::optional<ListImage> UsersContent::image(std::size_t row) const {
  const UserRecord* record = recordAt(row);
  if (!record) return std::nullopt;
  return imageOf(*record);
}

bool UsersContent::sortBy(int column, sorting::Routine routine) {
  return sortWith(&sorting::compareUsers, sorting::usersColumnOrdered(column), column, routine);
}

void UsersContent::select(std::size_t row, window::Selection& selection) const {
  if (const UserRecord* record = recordAt(row)) selection.users.push_back(record);
}

// ---- Groups ----

GroupsContent::LineKind GroupsContent::kindOf(const GroupRecord& record) {
  // Neither marker contains the other; the global marker is looked for first,
  // so a text holding both reads as a global group line.
  if (record.third.find(res::loadString(res::kStrGroupContainer)) != std::string::npos)
    return LineKind::GlobalGroup;
  if (record.third.find(res::loadString(res::kStrLocalGroupContainer)) != std::string::npos)
    return LineKind::LocalGroup;
  return LineKind::Member;
}

ListImage GroupsContent::imageOf(LineKind kind) {
  switch (kind) {
    case LineKind::GlobalGroup: return ListImage::GlobalGroup;
    case LineKind::LocalGroup: return ListImage::LocalGroup;
    case LineKind::Member: break;
  }
  return ListImage::Account;
}

bool GroupsContent::rowShown(const GroupRecord& record) const {
  return m_showMembers || kindOf(record) != LineKind::Member || display::isErrorRecord(record.name);
}

FillOutcome GroupsContent::adopt(WorkerBlock& block, const settings::SettingsValues& shown) {
  m_showMembers = shown.g_show_members == 1;
  // Member records count even when their lines are not shown.
  return RecordContent::adoptRecords(block.groups);
}

void GroupsContent::adoptRecords(dlgthreads::RecordHolder<GroupRecord> records, bool showMembers) {
  m_showMembers = showMembers;
  m_list.adopt(std::move(records), [this](const GroupRecord& r) { return rowShown(r); });
}

std::span<const ColumnSpec> GroupsContent::columns() const {
  return display::columnSpecs(DisplayType::Groups);
}

std::string GroupsContent::cellText(std::size_t row, int column) const {
  const GroupRecord* record = recordAt(row);
  return record ? std::string(record->text(column + 1)) : std::string();
}

std::optional<ListImage> GroupsContent::image(std::size_t row) const {
  const GroupRecord* record = recordAt(row);
  if (!record) return std::nullopt;
  return imageOf(kindOf(*record));
}

bool GroupsContent::sortBy(int column, sorting::Routine routine) {
  return sortWith(&sorting::compareGroups, sorting::groupsColumnOrdered(column), column, routine);
}

void GroupsContent::select(std::size_t row, window::Selection& selection) const {
  if (const GroupRecord* record = recordAt(row)) selection.groups.push_back(record);
}

// ---- Servers ----

int ServersContent::recordWord(int column) {
  switch (column) {
    case kVersion: return 26;
    case kBuild: return 25;
    default: return column + 1;
  }
}

FillOutcome ServersContent::adopt(WorkerBlock& block, const settings::SettingsValues&) {
  FillOutcome outcome = adoptRecords(block.servers);
  if (outcome.messages.empty()) outcome.count = countText(m_list.rowCount());
  return outcome;
}

std::span<const ColumnSpec> ServersContent::columns() const {
  return display::columnSpecs(DisplayType::Servers);
}

std::string ServersContent::cellText(std::size_t row, int column) const {
  const ServerRecord* record = recordAt(row);
  if (!record) return {};
  const int word = recordWord(column);
  if (column >= kFirstFlag && column < kVersion) return record->flag(word) == 1 ? "X" : "-";
  return std::string(record->text(word));
}

std::optional<std::uint64_t> ServersContent::cellNumber(std::size_t row, int column) const {
  const ServerRecord* record = recordAt(row);
  if (!record || column < kFirstFlag || column >= kVersion) return std::nullopt;
  return record->flag(recordWord(column));
}

bool ServersContent::sortBy(int column, sorting::Routine routine) {
  return sortWith(&sorting::compareServers, sorting::serversColumnOrdered(column), column,
                  routine);
}

void ServersContent::select(std::size_t row, window::Selection& selection) const {
  if (const ServerRecord* record = recordAt(row)) selection.servers.push_back(record);
}

// ---- Quotas ----

ListImage QuotasContent::imageOf(const QuotaRecord& record) {
  if (record.status == "wr") return ListImage::QuotaWarning;
  if (record.status == "st") return ListImage::QuotaStop;
  if (record.status == "il") return ListImage::QuotaIllegal;
  return ListImage::QuotaOk;
}

FillOutcome QuotasContent::adopt(WorkerBlock& block, const settings::SettingsValues&) {
  // No array means no entries (an unreachable registry was reported by the
  // worker): the list is emptied either way.
  if (block.quotas.hasArray())
    m_list.adoptAll(std::exchange(block.quotas, {}));
  else
    m_list.clear();
  return {.count = countText(m_list.recordCount())};
}

std::span<const ColumnSpec> QuotasContent::columns() const {
  return display::columnSpecs(DisplayType::Quotas);
}

std::string QuotasContent::cellText(std::size_t row, int column) const {
  const QuotaRecord* record = recordAt(row);
  return record ? dlgthreads::quotaColumnText(*record, column) : std::string();
}

std::optional<std::uint64_t> QuotasContent::cellNumber(std::size_t row, int column) const {
  const QuotaRecord* record = recordAt(row);
  if (!record) return std::nullopt;
  switch (column) {
    case 1: return record->size;
    case 3: return record->usage;
    case 4: return record->usedKb();
    default: return std::nullopt;
  }
}

std::optional<ListImage> QuotasContent::image(std::size_t row) const {
  const QuotaRecord* record = recordAt(row);
  if (!record) return std::nullopt;
  return imageOf(*record);
}

bool QuotasContent::sortBy(int column, sorting::Routine routine) {
  return sortWith(&sorting::compareQuotas, sorting::quotasColumnOrdered(column), column, routine);
}

// ---- lists of ready-made cells ----

FillOutcome TextContent::adopt(WorkerBlock&, const settings::SettingsValues&) {
  clear();
  return {.count = countText(0)};
}

std::string TextContent::cellText(std::size_t row, int column) const {
  const TextRow* entry = shownRow(row);
  if (entry == nullptr || column < 0) return {};
  const auto c = static_cast<std::size_t>(column);
  return c < entry->cells.size() ? entry->cells[c] : std::string();
}

std::optional<ListImage> TextContent::image(std::size_t row) const {
  const TextRow* entry = shownRow(row);
  return entry ? entry->image : std::nullopt;
}

std::int64_t TextContent::rowValue(std::size_t row) const {
  const TextRow* entry = shownRow(row);
  return entry ? entry->value : -1;
}

bool TextContent::entryMatches(const TextRow& entry,
                               const dlgthreads::RecordMatcher& matcher) const {
  const auto cell = [&entry](std::size_t c) {
    return c < entry.cells.size() ? std::string_view(entry.cells[c]) : std::string_view();
  };
  const int column = matcher.options().column;
  if (column >= 0) return matcher.textMatches(cell(static_cast<std::size_t>(column)));
  for (std::size_t c = 0; c < m_columns.size(); ++c)
    if (matcher.textMatches(cell(c))) return true;
  return false;
}

bool TextContent::rowMatches(std::size_t row, const dlgthreads::RecordMatcher& matcher) const {
  const TextRow* entry = shownRow(row);
  return entry != nullptr && entryMatches(*entry, matcher);
}

std::optional<std::size_t> TextContent::filter(const dlgthreads::RecordMatcher& matcher) {
  m_shown.clear();
  for (std::size_t i = 0; i < m_rows.size(); ++i)
    if (entryMatches(m_rows[i], matcher)) m_shown.push_back(static_cast<std::uint32_t>(i));
  return m_shown.size();
}

void TextContent::setRows(std::span<const ColumnSpec> columns, std::vector<TextRow> rows) {
  m_columns = columns;
  m_rows = std::move(rows);
  m_shown.resize(m_rows.size());
  for (std::size_t i = 0; i < m_shown.size(); ++i) m_shown[i] = static_cast<std::uint32_t>(i);
}

// ---- Files ----

namespace {

std::vector<TextRow> sizePerUserRows(dlgthreads::FilesArea& area,
                                     const settings::SettingsValues& settings) {
  std::vector<TextRow> rows;
  for (std::size_t i = 0; i < area.size(); ++i) {
    dlgthreads::FilesEntry* e = area.at(i);
    if (e->name.empty()) break;
    if (e->name == "<access denied>" && settings.f_file_denial != 1) continue;
    if (e->name == "<dirlist denied>" && settings.f_directory_denial != 1) continue;
    e->displayMark = 1;
    TextRow row;
    row.cells = {e->name, display::kilobytesText(e->bytes), std::to_string(e->count),
                 platform::byteTotalText(e->bytes)};
    row.value = static_cast<std::int64_t>(i);
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<TextRow> rightsDumpRows(dlgthreads::FilesArea& area) {
  std::vector<TextRow> rows;
  for (std::size_t i = 0; i < area.size(); ++i) {
    dlgthreads::FilesEntry* e = area.at(i);
    if (e->name.empty()) break;
    e->displayMark = 1;
    TextRow row;
    row.cells = {e->path, e->name, e->rights};
    row.value = static_cast<std::int64_t>(i);
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

FilesContent::FilesContent() : TextContent(display::columnSpecs(DisplayType::Files)) {}

void FilesContent::clear() {
  // The rows belong to the form they were gathered under.
  TextContent::clear();
}

void FilesContent::prepare(const settings::SettingsValues& settings) {
  const FilesForm form = filesFormOf(settings);
  m_showsTree = form == FilesForm::AccessTree;
  if (m_showsTree) return;
  const auto columns = display::columnSpecs(DisplayType::Files, form);
  if (this->columns().data() != columns.data()) setRows(columns, {});
}

FillOutcome FilesContent::adopt(WorkerBlock& block, const settings::SettingsValues&) {
  const FilesForm form = filesFormOf(block.state.settings);
  FillOutcome outcome;
  if (form == FilesForm::AccessTree) {
    m_showsTree = true;
    if (!block.userNameKnown) outcome.messages.emplace_back(display::kUserUnknownText);
    // An unknown name, or a user whose groups could not be read, leaves the
    // display as it was.
    if (!block.userNameKnown || !block.accessTreeWalked) {
      outcome.filled = false;
      return outcome;
    }
    AccessTree walked = accessTree(block.accessTree.lines());
    m_tree = std::move(walked.tree);
    outcome.count = countText(walked.count);
    return outcome;
  }
  m_showsTree = false;
  auto rows = form == FilesForm::RightsDump ? rightsDumpRows(block.files)
                                            : sizePerUserRows(block.files, block.state.settings);
  outcome.count = countText(rows.size());
  setRows(display::columnSpecs(DisplayType::Files, form), std::move(rows));
  return outcome;
}

// ---- Trusts ----

TrustsContent::TrustsContent() : TextContent(display::columnSpecs(DisplayType::Trusts)) {}

std::vector<std::string> TrustsContent::cellsOf(const platform::DS_DOMAIN_TRUSTS& trust) {
  using namespace platform;
  const bool outbound = (trust.Flags & DS_DOMAIN_DIRECT_OUTBOUND) != 0;
  const bool inbound = (trust.Flags & DS_DOMAIN_DIRECT_INBOUND) != 0;
  std::string relationship = outbound && inbound ? "Two-way"
                             : outbound          ? "Trusted"
                             : inbound           ? "Trusting"
                                                 : "";
  std::string type;
  switch (trust.TrustType) {
    case TRUST_TYPE_DOWNLEVEL: type = "Windows NT"; break;
    case TRUST_TYPE_UPLEVEL: type = "Active Directory"; break;
    case TRUST_TYPE_MIT: type = "MIT Kerberos"; break;
    case TRUST_TYPE_DCE: type = "DCE"; break;
    default: type = std::to_string(trust.TrustType); break;
  }
  // Within a forest every trust is transitive; across forests only a
  // forest trust; a realm trust unless marked otherwise; NT trusts and
  // external trusts never.
  const DWORD attributes = trust.TrustAttributes;
  const bool transitive =
      (trust.Flags & DS_DOMAIN_IN_FOREST) != 0 ||
      ((attributes & TRUST_ATTRIBUTE_NON_TRANSITIVE) == 0 &&
       ((attributes & TRUST_ATTRIBUTE_FOREST_TRANSITIVE) != 0 || trust.TrustType == TRUST_TYPE_MIT));
  const std::string& name =
      trust.NetbiosDomainName.empty() ? trust.DnsDomainName : trust.NetbiosDomainName;
  return {name, trust.DnsDomainName, std::move(relationship), std::move(type),
          std::string(res::loadString(transitive ? res::kStrYes : res::kStrNo))};
}

FillOutcome TrustsContent::adopt(WorkerBlock& block, const settings::SettingsValues&) {
  std::vector<TextRow> rows;
  rows.reserve(block.trusts.size());
  for (std::size_t i = 0; i < block.trusts.size(); ++i) {
    TextRow row;
    row.cells = cellsOf(block.trusts[i]);
    row.value = static_cast<std::int64_t>(i);
    rows.push_back(std::move(row));
  }
  setRows(columns(), std::move(rows));
  return {.count = countText(block.trusts.size())};
}

// ---- Network and Performance ----

FillOutcome NetworkContent::adopt(WorkerBlock& block, const settings::SettingsValues& shown) {
  FillOutcome outcome;
  if (m_performance) {
    m_tree = performanceTree(block.performance.lines());
    outcome.count = countText(block.performance.used());
    return outcome;
  }
  m_tree = networkTree(block.network.lines(), shown);
  if (block.networkLinesDropped) {
    outcome.messages.push_back("The network holds more than " +
                               std::to_string(dlgthreads::kNetworkLines) +
                               " entries: the Network display shows the first " +
                               std::to_string(dlgthreads::kNetworkLines) + ".");
  }
  outcome.count = countText(block.network.used());
  return outcome;
}

// ---- the traits' makers ----

std::unique_ptr<DisplayContent> makeContent(DisplayType type) {
  const display::DisplayTraits& traits = display::traitsOf(type);
  if (traits.content == nullptr) return std::make_unique<NothingContent>();
  return traits.content();
}

std::unique_ptr<DisplayContent> makeUsersContent() { return std::make_unique<UsersContent>(); }
std::unique_ptr<DisplayContent> makeGroupsContent() { return std::make_unique<GroupsContent>(); }
std::unique_ptr<DisplayContent> makeServersContent() { return std::make_unique<ServersContent>(); }
std::unique_ptr<DisplayContent> makeQuotasContent() { return std::make_unique<QuotasContent>(); }
std::unique_ptr<DisplayContent> makeFilesContent() { return std::make_unique<FilesContent>(); }
std::unique_ptr<DisplayContent> makeNetworkContent() {
  return std::make_unique<NetworkContent>(false);
}
std::unique_ptr<DisplayContent> makePerformanceContent() {
  return std::make_unique<NetworkContent>(true);
}
std::unique_ptr<DisplayContent> makeTrustsContent() { return std::make_unique<TrustsContent>(); }
std::unique_ptr<DisplayContent> makeEmptyListContent() { return std::make_unique<TextContent>(); }

}  // namespace session
