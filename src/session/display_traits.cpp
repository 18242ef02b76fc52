#include "session/display_traits.h"

#include <array>

#include "session/column_data.h"
#include "session/display_contents.h"
#include "dlgthreads/files_worker.h"
#include "dlgthreads/group_worker.h"
#include "dlgthreads/network_worker.h"
#include "dlgthreads/quota_worker.h"
#include "dlgthreads/server_worker.h"
#include "dlgthreads/trusts_gathering.h"
#include "dlgthreads/user_worker.h"
#include "window/command_ids.h"

namespace display {
namespace {

using dlgthreads::WorkKind;
using namespace window;

constexpr int kAccessTreeForm = 1;

constexpr std::array<DisplayTraits, 9> kTraits = {{
    {.type = DisplayType::Files, .name = "Files", .statusName = "files", .tab = 0,
     .windowCommand = kIdWindowFiles, .toolbarImage = 6, .listControl = kCtlFilesList,
     .treeControl = kCtlAccessTree, .treeForm = kAccessTreeForm, .content = session::makeFilesContent,
     .columns = columns::kFilesSizePerUser, .rightsDumpColumns = columns::kFilesRightsDump,
     .columnsRemembered = true, .columnReset = ColumnReset::RecordOnly,
     .browse = BrowseStart::Worker, .work = WorkKind::Files, .worker = dlgthreads::gatherFiles, .searchable = true, .settingsPage = 0, .exportedAs = DisplayType::Files},
    {.type = DisplayType::Groups, .name = "Groups", .statusName = "groups", .tab = 1,
     .windowCommand = kIdWindowGroups, .toolbarImage = 7, .listControl = kCtlGroupsList,
     .content = session::makeGroupsContent, .columns = columns::kGroups, .columnsRemembered = true,
     .columnReset = ColumnReset::ResetAndSetUp, .browse = BrowseStart::Worker,
     .work = WorkKind::Groups, .worker = dlgthreads::gatherGroups,
     .propertiesOnDoubleClick = true, .searchable = true, .listsAccounts = true, .settingsPage = 1, .exportedAs = DisplayType::Groups},
    {.type = DisplayType::Network, .name = "Network", .statusName = "network", .tab = 2,
     .windowCommand = kIdWindowNetwork, .toolbarImage = 10, .treeControl = kCtlNetworkTree,
     .content = session::makeNetworkContent, .browse = BrowseStart::Worker, .work = WorkKind::Network, .worker = dlgthreads::gatherNetwork, .exportable = false, .listCopied = false,
     .settingsPage = 2, .exportedAs = DisplayType::Network},
    {.type = DisplayType::Quotas, .name = "Quotas", .statusName = "quotas", .tab = 3,
     .windowCommand = kIdWindowQuotas, .toolbarImage = 15, .listControl = kCtlQuotasList,
     .content = session::makeQuotasContent, .columns = columns::kQuotas, .columnsRemembered = true,
     .browse = BrowseStart::Worker, .work = WorkKind::Quotas, .worker = dlgthreads::gatherQuotas, .propertiesOnDoubleClick = true, .searchable = true, .settingsPage = 3, .exportedAs = DisplayType::Quotas},
    {.type = DisplayType::Servers, .name = "Servers", .statusName = "servers", .tab = 4,
     .windowCommand = kIdWindowServers, .toolbarImage = 9, .listControl = kCtlServersList,
     .content = session::makeServersContent, .columns = columns::kServers, .columnsRemembered = true,
     .columnReset = ColumnReset::ResetAndSetUp, .browse = BrowseStart::Worker,
     .work = WorkKind::Servers, .worker = dlgthreads::gatherServers,
     .propertiesOnDoubleClick = true, .searchable = true, .settingsPage = 4, .exportedAs = DisplayType::Servers},
    {.type = DisplayType::Users, .name = "Users", .statusName = "users", .tab = 5,
     .windowCommand = kIdWindowUsers, .toolbarImage = 8, .listControl = kCtlUsersList,
     .content = session::makeUsersContent, .columns = columns::kUsers, .columnsRemembered = true,
     .columnReset = ColumnReset::ResetAndSetUp, .browse = BrowseStart::Worker,
     .work = WorkKind::Users, .worker = dlgthreads::gatherUsers,
     .propertiesOnDoubleClick = true, .searchable = true, .listsAccounts = true, .settingsPage = 5, .exportedAs = DisplayType::Users},
    {.type = DisplayType::Licenses, .name = "Licenses", .statusName = "licenses",
     .listControl = kCtlLicensesList, .content = session::makeEmptyListContent,
     .work = WorkKind::Licenses, .settingsPage = 6, .exportedAs = DisplayType::Licenses},
    // Trusts and Performance came after the first six: their tabs follow
    // them, and they share those displays' Window buttons.
    {.type = DisplayType::Trusts, .name = "Trusts", .statusName = "trusts", .tab = 7,
     .pressedButton = kIdWindowUsers, .listControl = kCtlTrustsList,
     .content = session::makeTrustsContent, .columns = columns::kTrusts, .columnsRemembered = true,
     .browse = BrowseStart::OnThisThread, .work = WorkKind::Trusts, .worker = dlgthreads::gatherTrusts,
     .searchable = true, .exportedAs = DisplayType::Trusts},
    {.type = DisplayType::Performance, .name = "Performance", .statusName = "performance", .tab = 6,
     .pressedButton = kIdWindowQuotas, .treeControl = kCtlPerformanceTree,
     .content = session::makePerformanceContent, .browse = BrowseStart::Worker,
     .work = WorkKind::Performance, .worker = dlgthreads::gatherPerformance, .listCopied = false,
     // Its tree, as the unattended Network export writes it: the Users list
     // it would otherwise stand for holds nothing of the walk.
     .exportedAs = DisplayType::Performance},
}};

constexpr DisplayTraits kNone{.exportable = true, .listCopied = false, .settingsPage = 0,
                              .exportedAs = DisplayType::Users};

}  // namespace

const DisplayTraits& traitsOf(DisplayType type) {
  for (const DisplayTraits& t : kTraits)
    if (t.type == type) return t;
  return kNone;
}

const DisplayTraits* traitsOfWork(dlgthreads::WorkKind kind) {
  for (const DisplayTraits& t : kTraits)
    if (t.work == kind) return &t;
  return nullptr;
}

std::span<const DisplayTraits> allDisplayTraits() { return kTraits; }

bool showsTree(DisplayType type, const settings::SettingsValues& values) {
  const DisplayTraits& t = traitsOf(type);
  if (t.treeControl == 0) return false;
  return t.treeForm < 0 || static_cast<int>(values.f_display_type) == t.treeForm;
}

int resultControlId(DisplayType type, const settings::SettingsValues& values) {
  return showsTree(type, values) ? traitsOf(type).treeControl : traitsOf(type).listControl;
}

bool gathers(const DisplayTraits& traits, const settings::SettingsValues& values) {
  return traits.browse != BrowseStart::Nothing && traits.worker != nullptr && traits.work &&
         (traits.workerForm < 0 || static_cast<int>(values.f_display_type) == traits.workerForm);
}

bool startsWorker(const DisplayTraits& traits, const settings::SettingsValues& values) {
  return traits.browse == BrowseStart::Worker && gathers(traits, values);
}

int pressedWindowButton(DisplayType type) {
  const DisplayTraits& t = traitsOf(type);
  return t.windowCommand != 0 ? t.windowCommand : t.pressedButton;
}

}  // namespace display

namespace display {

std::string_view tabText(DisplayType type) { return traitsOf(type).name; }

DisplayType displayTypeFromTabText(std::string_view text) {
  for (const DisplayTraits& t : allDisplayTraits())
    if (t.name == text) return t.type;
  return DisplayType::None;
}

std::string_view statusName(DisplayType type) { return traitsOf(type).statusName; }

}  // namespace display
