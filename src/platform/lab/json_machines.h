#pragma once
// Machines in the lab's JSON form: what a machine is and answers with, its
// browse list, and the parts read by the other entity readers (accounts,
// shares, server, registry, event log, volumes).

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/lab/json_groups.h"
#include "platform/lab/lab_json_parts.h"
#include "platform/lab/model.h"

namespace lab::json {

// A machine without its own accounts: those are read once every machine is
// known, from the JSON `accounts` receives with its place.
template <class J>
Machine readMachine(const J& j, const std::string& path,
                    std::vector<std::pair<std::string, J>>& accounts);
// The accounts a machine keeps, read as readMachine left them.
template <class J>
void readMachineAccounts(const Network& net, Machine& machine,
                         const std::vector<std::pair<std::string, J>>& accounts,
                         std::vector<PendingMembers>& pending);
Json writeMachine(const Network& net, const Machine& machine);

// A controller of the machine's domain.
bool isDomainController(const Network& net, const Machine& machine);
// What ties machines to the rest of the lab, asked once all is read: the
// machines a browse list names exist, and a controller's own user order
// names its domain's users once each.
void checkBrowseLists(const Network& net);
void checkUserOrders(const Network& net);

// A machine's refusals as the journal records them: operation -> status.
std::map<std::string, platform::DWORD> readRefusalsRecord(const Json& refuse, const std::string& path);
Json writeRefusals(const Machine& machine);

}  // namespace lab::json
