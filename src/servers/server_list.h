#pragma once
// The user's list of servers to browse: what may join it, and which entry
// the window selects. Plain C++.

#include <string>
#include <string_view>
#include <vector>

namespace servers {

inline constexpr const char* kListFullText =
    "The list of servers to browse is full: this server would not be kept.\n"
    "Remove a server from the list first.";

// Whether an entry begins with `name` (A-Z without regard to case).
bool listHoldsPrefix(const std::vector<std::string>& list, std::string_view name);
// Appends `name` when the stored list still holds every entry with it;
// false (the list unchanged) when it would not fit.
bool appendServer(std::vector<std::string>& list, const std::string& name);
// The first entry beginning with `name` (A-Z without regard to case); the
// first entry when none does, so the window always browses a listed
// server; -1 for an empty list.
int firstBeginningWith(const std::vector<std::string>& list, std::string_view name);

}  // namespace servers
