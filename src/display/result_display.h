#pragma once
// The result display: shows each display's content (session/) in the
// window's lists and trees. It sets up each list's columns from the
// settings and, when a browse has finished, lets the display's content take
// the block and shows what it then holds. The window owns one ResultDisplay
// and its views; the models are made here, parented to their views, and
// stay on them for the whole run (a fill only resets them), so column
// widths, hidden columns and the user's own resizing survive every fill.

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "display/fill_host.h"
#include "display/icon_set.h"
#include "dlgthreads/worker_frame.h"
#include "session/column_sets.h"
#include "session/column_sort.h"
#include "session/display_content.h"
#include "window/display_type.h"

namespace display {

class ContentTableModel;

class ResultDisplay {
 public:
  explicit ResultDisplay(FillHost& host, IconSet icons = IconSet::fromResources());
  ~ResultDisplay();
  ResultDisplay(const ResultDisplay&) = delete;
  ResultDisplay& operator=(const ResultDisplay&) = delete;

  // Step 5 of the display set-up: the first time a list is set up (or after
  // the Show columns command) every column gets its header and its width
  // from the settings, hidden columns as hidden sections; otherwise the
  // columns are left alone, so the user's own resizing survives. Consumes a
  // pending reset request whether or not it was used. Network, Performance,
  // Licenses and Trusts have nothing to set up.
  void setUpColumns(DisplayType type);

  // The Show columns command, before the display set-up runs: Groups,
  // Servers and Users get their widths set again from the settings at the
  // next set-up; Files only records the request.
  void requestColumnReset(DisplayType type);

  // After the settings sheet changed what a list shows: its columns are set
  // up anew from the settings at its next set-up (the Files rows go: they
  // were gathered under the form the sheet may have changed).
  void forgetColumns(DisplayType type);

  // The columns-set-up flag of a display type (false for types without one).
  bool columnsSetUp(DisplayType type) const;

  // Fills the display of the block's work kind: its content takes the
  // block's records, then the busy state ends, the first Edit item is
  // enabled again and the per-display texts and the status bar are
  // updated; a browse the server refused says so in status part 0, in the
  // words of the worker's message on one line. An unknown work kind shows
  // "An unknown thread has terminated." and fills nothing.
  void fill(dlgthreads::WorkerBlock& block);

  // What a display holds (made on first use).
  session::DisplayContent& content(DisplayType type);
  // The model of a display's list, made on first use (nullptr when the
  // window has no list for the display type).
  ContentTableModel* model(DisplayType type);

  // A click on a column header of a list: the first click on a column sorts
  // it one way, the next click on the same column the other way. Columns
  // without an order keep their rows as they are.
  void sortByColumn(DisplayType type, int column);

 private:
  void applyColumns(DisplayType type);
  // Shows the content's tree in the display's tree view.
  void showTree(DisplayType type);
  // The common end of every fill. `filled` is the display the texts belong
  // to; nullopt for a fill that filled nothing.
  void finishFill(std::optional<DisplayType> filled, DisplayTexts texts);
  void showMessage(std::string_view text);
  // Sends the header clicks of a list to sortByColumn, once.
  void watchHeaderClicks(DisplayType type);

  FillHost& m_host;
  IconSet m_icons;
  std::map<DisplayType, std::shared_ptr<session::DisplayContent>> m_contents;
  // The column set each list was last set up for.
  std::map<DisplayType, const ColumnSpec*> m_columnsSetUp;
  // The displays whose columns are set up (see setUpColumns).
  std::set<DisplayType> m_setUp;
  bool m_resetRequested = false;
  std::map<DisplayType, sorting::ClickState> m_sortClicks;
  std::vector<QMetaObject::Connection> m_headerConnections;
};

}  // namespace display
