#pragma once
// What one display holds after a browse, and how it behaves: how the
// finished worker block becomes its rows or its tree, what each cell shows,
// how rows are found, filtered, sorted and selected. One class per kind of
// display (display_contents.h), chosen once by the display traits, so the
// window and the unattended run never ask which display they hold. Plain
// C++: the window's models and trees show a content, the export writes one.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dlgthreads/record_match.h"
#include "dlgthreads/worker_frame.h"
#include "session/column_sets.h"
#include "session/column_sort.h"
#include "session/display_tree.h"
#include "session/list_images.h"
#include "window/selection.h"

namespace session {

// What a fill did.
struct FillOutcome {
  // False: the display keeps what it showed and its texts stay as they were.
  bool filled = true;
  std::string count{};                // status bar part 3
  std::vector<std::string> messages{};  // shown to the user, in order
};

class DisplayContent {
 public:
  virtual ~DisplayContent() = default;

  // Takes what a finished browse gathered (the records move out of the
  // block), to be shown under `shown`, the settings the display has now.
  virtual FillOutcome adopt(dlgthreads::WorkerBlock& block,
                            const settings::SettingsValues& shown) = 0;
  // Forgets every row (the settings changed what the rows would hold).
  virtual void clear() {}
  // The display set up under `settings` before it shows anything: a list
  // whose columns depend on the settings (Files) takes them now, dropping
  // rows gathered under other columns.
  virtual void prepare(const settings::SettingsValues&) {}
  // The settings sheet changed what the display shows: rows gathered under
  // settings that decide their columns (the Files forms) go.
  virtual void settingsChanged() {}

  // ---- the list ----
  // Its columns, as gathered (Files: the form of the last browse).
  virtual std::span<const display::ColumnSpec> columns() const { return {}; }
  virtual std::size_t rowCount() const { return 0; }
  virtual std::string cellText(std::size_t row, int column) const;
  // A cell's value where it is a number or flag rather than text.
  virtual std::optional<std::uint64_t> cellNumber(std::size_t, int) const { return std::nullopt; }
  virtual std::optional<display::ListImage> image(std::size_t) const { return std::nullopt; }
  // The row's record index (the row data value); -1 for none.
  virtual std::int64_t rowValue(std::size_t) const { return -1; }
  // The record's tag: 1 kept, 0 dropped by the last filter.
  virtual std::uint32_t rowTag(std::size_t) const { return 1; }

  // ---- the tree, when the display shows one ----
  virtual const DisplayTree* tree() const { return nullptr; }

  // ---- find, filter, sort, selection ----
  // Whether Find and Filter can test its rows at all.
  virtual bool searchable() const { return false; }
  virtual bool rowMatches(std::size_t, const dlgthreads::RecordMatcher&) const { return false; }
  // Gives rows only to the records (or entries) the matcher keeps, each
  // tested afresh; the rows left. nullopt: the display cannot be filtered.
  virtual std::optional<std::size_t> filter(const dlgthreads::RecordMatcher&) {
    return std::nullopt;
  }
  // Reorders the rows by a header click on `column`; false when the column
  // has no order (the rows stay as they are).
  virtual bool sortBy(int, display::sorting::Routine) { return false; }
  // Adds the record behind a row to a command's selection.
  virtual void select(std::size_t, window::Selection&) const {}
};

// The content of a display type, as its traits name it; an empty content
// for a display that holds nothing.
std::unique_ptr<DisplayContent> makeContent(display::DisplayType type);

}  // namespace session
