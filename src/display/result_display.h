#pragma once
// The result display: sets up each list's columns from the settings and
// fills the lists and trees from a finished browse. The window owns one
// ResultDisplay and its views; the models are made here, parented to their
// views, and stay on them for the whole run (a fill only replaces their
// records), so column widths, hidden columns and the user's own resizing
// survive every fill.

#include <QPointer>

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "display/column_sets.h"
#include "display/column_sort.h"
#include "display/display_type.h"
#include "display/fill_host.h"
#include "display/icon_set.h"
#include "dlgthreads/worker_frame.h"

namespace display {

class GroupTableModel;
class QuotaTableModel;
class ServerTableModel;
class TextTableModel;
class UserTableModel;

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

  // Fills the display of the block's work kind from its finished records
  // (which move into the display's model), then ends the busy state,
  // re-enables the first Edit item and updates the per-display texts and the
  // status bar. An unknown work kind shows "An unknown thread has
  // terminated." and fills nothing.
  void fill(dlgthreads::WorkerBlock& block);

  // The models, made on first use (nullptr when the window has no view for
  // the display type).
  UserTableModel* usersModel();
  GroupTableModel* groupsModel();
  ServerTableModel* serversModel();
  QuotaTableModel* quotasModel();
  // Files (list forms), Quotas, Licenses and Trusts.
  TextTableModel* textModel(DisplayType type);

  // A click on a column header of the Users, Groups, Servers or Quotas list:
  // the first click on a column sorts it one way, the next click on the
  // same column the other way. Other lists and columns without an order
  // keep their rows as they are.
  void sortByColumn(DisplayType type, int column);

 private:

  void applyColumns(DisplayType type);
  void fillUsers(dlgthreads::WorkerBlock& block);
  void fillGroups(dlgthreads::WorkerBlock& block);
  void fillServers(dlgthreads::WorkerBlock& block);
  void fillQuotas(dlgthreads::WorkerBlock& block);
  void fillFiles(dlgthreads::WorkerBlock& block);  // in files_fill.cpp
  void fillAccessTree(dlgthreads::WorkerBlock& block);
  void fillNetwork(dlgthreads::WorkerBlock& block);
  void fillPerformance(dlgthreads::WorkerBlock& block);
  // The common end of every fill. `filled` is the display the texts belong
  // to; nullopt for a fill that filled nothing.
  void finishFill(std::optional<DisplayType> filled, DisplayTexts texts,
                  const dlgthreads::WorkerBlock& block);
  void showMessage(std::string_view text);
  // Sends the header clicks of a sortable list to sortByColumn, once.
  void watchHeaderClicks(DisplayType type);

  FillHost& m_host;
  IconSet m_icons;
  QPointer<UserTableModel> m_users;
  QPointer<GroupTableModel> m_groups;
  QPointer<ServerTableModel> m_servers;
  QPointer<QuotaTableModel> m_quotas;
  std::map<DisplayType, QPointer<TextTableModel>> m_textModels;
  // The Files list form the Files columns were last set up for.
  std::optional<FilesForm> m_filesForm;
  // The displays whose columns are set up (see setUpColumns).
  std::set<DisplayType> m_setUp;
  bool m_resetRequested = false;
  std::map<DisplayType, sorting::ClickState> m_sortClicks;
  std::vector<QMetaObject::Connection> m_headerConnections;
};

}  // namespace display
