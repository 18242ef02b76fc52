#pragma once
// Header-click sorting of the Users, Groups, Servers and Quotas lists. The
// comparisons read record fields, never the shown texts, and are three-way
// orderings in the direction of the first click on a column; the second
// click reverses them. Plain C++.

#include <optional>
#include <string_view>

#include "dlgthreads/quota_data.h"
#include "dlgthreads/records.h"

namespace display::sorting {

enum class Routine { First, Second };

// The per-list memory of header clicks: the first click on a column sorts
// with the "first" routine, the next click on the same column with the
// "second", the third with the "first" again. Lives as long as the window;
// a new browse does not reset it.
class ClickState {
 public:
  static constexpr int kNoColumn = 600;
  Routine click(int column);

 private:
  int m_lastColumn = kNoColumn;
  bool m_secondNext = false;
};

// A-Z folded to lower case, by character codes: negative, zero, positive.
int compareText(std::string_view a, std::string_view b);
// Date texts: serial day numbers as text, ctime texts by year, month, day
// and time; any other text (such as "Never") is read only as far as it goes.
int compareDates(std::string_view a, std::string_view b);

// The "first"-click order of two records on a column, or nullopt for a
// column the list does not order (its rows then stay as they are).
std::optional<int> compareGroups(const dlgthreads::GroupRecord& a,
                                 const dlgthreads::GroupRecord& b, int column);
std::optional<int> compareUsers(const dlgthreads::UserRecord& a, const dlgthreads::UserRecord& b,
                                int column);
std::optional<int> compareServers(const dlgthreads::ServerRecord& a,
                                  const dlgthreads::ServerRecord& b, int column);
std::optional<int> compareQuotas(const dlgthreads::QuotaRecord& a,
                                 const dlgthreads::QuotaRecord& b, int column);

// Whether a column of the list has an order at all.
bool groupsColumnOrdered(int column);
bool usersColumnOrdered(int column);
bool serversColumnOrdered(int column);
bool quotasColumnOrdered(int column);

}  // namespace display::sorting
