#include "app/context_menus.h"

#include <array>

#include "window/command_ids.h"

namespace app {
namespace {

using display::DisplayType;
using namespace window;

constexpr PopupItem kSeparator{};

constexpr std::array kUsers{
    PopupItem{kIdPropertiesCyclic, "&Properties (Cyclic)", Offer::WithSelection},
    PopupItem{kIdPropertiesCombined, "P&roperties (Combined)", Offer::WithSelection},
    kSeparator,
    PopupItem{kIdAdd, "&Add"},
    PopupItem{kIdCopy, "&Copy", Offer::WithSelection},
    PopupItem{kIdDelete, "&Delete", Offer::WithSelection},
    kSeparator,
    PopupItem{kIdAccountPolicies, "Account &Policies"},
    PopupItem{kIdSettings, "&Settings"},
    kSeparator,
    PopupItem{kIdUserLegend, "User icon &Legend"},
};

// One dialog for several groups does not exist.
constexpr std::array kGroups{
    PopupItem{kIdPropertiesCyclic, "&Properties (Cyclic)", Offer::WithSelection},
    PopupItem{kIdPropertiesCombined, "P&roperties (Combined)", Offer::Never},
    kSeparator,
    PopupItem{kIdAdd, "&Add"},
    PopupItem{kIdCopy, "&Copy", Offer::WithSelection},
    PopupItem{kIdDelete, "&Delete", Offer::WithSelection},
    kSeparator,
    PopupItem{kIdAccountPolicies, "Account &Policies"},
    PopupItem{kIdSettings, "&Settings"},
};

// The Servers and Network pop-ups act on their target, not on the menus'
// idea of the selection.
constexpr std::array kServerList{
    PopupItem{kIdPopupAddToServerList, nullptr, Offer::WithServerTarget},
    PopupItem{kIdPopupProperties, "&Properties", Offer::WithServerTarget},
    PopupItem{kIdRemoveServer, "&Remove server from list"},
    kSeparator,
    PopupItem{kIdSettings, "&Settings"},
};

constexpr std::array kQuotas{
    PopupItem{kIdAdd, "&Add Quota"},
    PopupItem{kIdDelete, "&Delete Quota", Offer::WithSelection},
    PopupItem{kIdPropertiesCyclic, "&Properties", Offer::WithSelection},
    kSeparator,
    PopupItem{kIdSettings, "&Settings"},
};

constexpr std::array kFiles{
    PopupItem{kIdSettings, "&Settings"},
};

const std::array<ContextMenu, 6> kMenus{{
    {DisplayType::Users, PopupTarget::None, kUsers},
    {DisplayType::Groups, PopupTarget::None, kGroups},
    {DisplayType::Servers, PopupTarget::TopSelectedRow, kServerList},
    {DisplayType::Network, PopupTarget::TreeNode, kServerList},
    {DisplayType::Quotas, PopupTarget::None, kQuotas},
    {DisplayType::Files, PopupTarget::None, kFiles},
}};

}  // namespace

const ContextMenu* contextMenuOf(DisplayType type) {
  for (const ContextMenu& menu : kMenus)
    if (menu.type == type) return &menu;
  return nullptr;
}

}  // namespace app
