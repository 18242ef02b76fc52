#include "session/column_sort.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace display::sorting {
namespace {

constexpr char lowerAZ(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

// The part of `text` from `pos`, at most `count` characters, empty past the end.
std::string_view piece(std::string_view text, std::size_t pos, std::size_t count) {
  return pos >= text.size() ? std::string_view() : text.substr(pos, count);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr std::uint32_t packed(std::string_view three) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(three[0])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(three[1])) << 8 |
         static_cast<unsigned char>(three[2]);
}

// Sorting a large list reads the month of every compared row: whole
// numbers compare faster than names.
int monthNumber(std::string_view name) {
  static constexpr std::array<std::uint32_t, 12> kMonths = {
      packed("Jan"), packed("Feb"), packed("Mar"), packed("Apr"), packed("May"), packed("Jun"),
      packed("Jul"), packed("Aug"), packed("Sep"), packed("Oct"), packed("Nov"), packed("Dec")};
  if (name.size() != 3) return 0;
  const std::uint32_t key = packed(name);
  for (std::size_t i = 0; i < kMonths.size(); ++i)
    if (kMonths[i] == key) return static_cast<int>(i) + 1;
  return 0;
}

constexpr int kUserLastLogonColumn = 3;
constexpr int kUserPwdAgeColumn = 18;
constexpr int kUserColumns = 22;
constexpr int kServerFirstFlagColumn = 2;
constexpr int kServerLastFlagColumn = 23;

}  // namespace

Routine ClickState::click(int column) {
  const Routine routine =
      column == m_lastColumn && m_secondNext ? Routine::Second : Routine::First;
  m_secondNext = routine == Routine::First;
  m_lastColumn = column;
  return routine;
}

int compareText(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(lowerAZ(a[i]));
    const auto cb = static_cast<unsigned char>(lowerAZ(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int compareDates(std::string_view a, std::string_view b) {
  const bool serialA = !a.empty() && isDigit(a.front());
  const bool serialB = !b.empty() && isDigit(b.front());
  // Serial day numbers compare as text; a serial number against any other
  // text also does, which keeps the order the same whichever row comes first.
  if (serialA || serialB) return compareText(a, b);
  // The year and its trailing blank are a ctime text's last five characters;
  // a word such as "Never" is its own last five, after every year.
  const auto tail = [](std::string_view t) { return t.substr(t.size() > 5 ? t.size() - 5 : 0); };
  if (const int year = compareText(tail(a), tail(b)); year != 0) return year;
  const int monthA = monthNumber(piece(a, 4, 3));
  const int monthB = monthNumber(piece(b, 4, 3));
  if (monthA != monthB) return monthA < monthB ? -1 : 1;
  if (const int day = compareText(piece(a, 8, 2), piece(b, 8, 2)); day != 0) return day;
  return compareText(piece(a, 10, 9), piece(b, 10, 9));
}

bool groupsColumnOrdered(int column) { return column >= 0 && column <= 2; }

bool usersColumnOrdered(int column) { return column >= 0 && column < kUserColumns; }

bool serversColumnOrdered(int column) { return column >= 0 && column <= kServerLastFlagColumn; }

bool quotasColumnOrdered(int column) { return column >= 0 && column <= 3; }

std::optional<int> compareGroups(const dlgthreads::GroupRecord& a,
                                 const dlgthreads::GroupRecord& b, int column) {
  if (!groupsColumnOrdered(column)) return std::nullopt;
  return compareText(a.text(column + 1), b.text(column + 1));
}

std::optional<int> compareUsers(const dlgthreads::UserRecord& a, const dlgthreads::UserRecord& b,
                                int column) {
  if (!usersColumnOrdered(column)) return std::nullopt;
  const int word = column < kUserPwdAgeColumn ? column + 1 : column + 2;
  // Dates show the newest first on the first click.
  if (column == kUserLastLogonColumn || column == kUserPwdAgeColumn)
    return -compareDates(a.text(word), b.text(word));
  // The logon count's fixed-width form makes the text order a numeric one.
  return compareText(a.text(word), b.text(word));
}

std::optional<int> compareServers(const dlgthreads::ServerRecord& a,
                                  const dlgthreads::ServerRecord& b, int column) {
  if (!serversColumnOrdered(column)) return std::nullopt;
  if (column < kServerFirstFlagColumn) return compareText(a.text(column + 1), b.text(column + 1));
  // Servers with the flag ("X") come first on the first click.
  const int word = column + 1;
  return sign(static_cast<int>(b.flag(word)) - static_cast<int>(a.flag(word)));
}

std::optional<int> compareQuotas(const dlgthreads::QuotaRecord& a,
                                 const dlgthreads::QuotaRecord& b, int column) {
  switch (column) {
    case 0: return compareText(a.name, b.name);
    case 1: return a.size < b.size ? -1 : a.size > b.size ? 1 : 0;
    case 2: return compareText(dlgthreads::quotaStatusText(a.status), dlgthreads::quotaStatusText(b.status));
    case 3: return a.usage < b.usage ? -1 : a.usage > b.usage ? 1 : 0;
    default: return std::nullopt;
  }
}

}  // namespace display::sorting
