#pragma once
// Journal records: the new state of what one change touched, as one line of
// JSON, and the replay of such a line onto a network.

#include <string>
#include <string_view>

#include "platform/lab/change_set.h"
#include "platform/lab/model.h"

namespace lab {

// The record of a change that touched `changes`, written after the change.
std::string encodeChanges(const Network& network, const ChangeSet& changes);

// Applies a record made by encodeChanges. False with *error ("<where>:
// <problem>") when the record does not fit the network.
bool applyChanges(Network& network, std::string_view record, std::string* error);
// The rules a lab file meets across its parts (the machine the program runs
// on, the account it runs as), asked once a journal has been replayed.
bool checkReplayedNetwork(const Network& network, std::string* error);

}  // namespace lab
