#pragma once
// The directory of an Active Directory domain controller, read and written
// over LDAP through Samba's ldb client (the same path as ldbsearch -H
// ldap://), signed and sealed with the backend's credentials.
//
// It serves what libnetapi cannot serve or serves slowly: the Users browse
// in one search (libnetapi makes a call per account), local group members
// (libnetapi answers 50), the computer accounts that stand in for the
// browse list, and flags, expiry and logon hours, which libnetapi's set
// calls lose. A classic NT4-style controller has no directory: open() then
// fails and the callers fall back to libnetapi or answer 50.
//
// One object per controller; not safe for concurrent callers (the owner
// serialises them).

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/samba/credentials.h"

struct vt_ldb;

namespace platform::samba {

// One object of a search: its DN and the values of the attributes asked
// for (binary values as they are, e.g. objectSid).
struct DirectoryEntry {
  std::string dn;
  std::map<std::string, std::vector<std::string>, std::less<>> values;

  // The first value of `attribute`, or empty.
  std::string_view text(std::string_view attribute) const;
  // The first value read as a number, or `fallback`.
  long long number(std::string_view attribute, long long fallback = 0) const;
  // objectSid in text form ("S-1-5-21-...").
  std::string sid() const;
};

class Directory {
 public:
  // Connects to ldap://address within `connectSeconds`. Null with *error
  // set when there is no directory there or the credentials are refused,
  // and *timedOut true when it stopped answering while connecting.
  static std::unique_ptr<Directory> open(const std::string& address,
                                         const Credentials& credentials, std::string* error,
                                         bool* timedOut = nullptr, int connectSeconds = 20);
  explicit Directory(vt_ldb* connection);
  ~Directory();
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;

  // The domain's naming context ("DC=samdom,DC=test").
  const std::string& baseDn() const { return m_baseDn; }

  // Searches the subtree under `base` (the domain when empty). Returns
  // false when the search itself failed (a lost connection). An
  // nTSecurityDescriptor asked for comes with its DACL only.
  bool search(std::string_view filter, const std::vector<std::string>& attributes,
              std::vector<DirectoryEntry>* out, std::string_view base = {});
  // The same, each object handed to `take` as it comes, so a search of a
  // big domain's accounts is never held whole. `restart` says to drop what
  // was taken: the search starts again (in pages, for a directory that
  // caps an answer). False when the search failed.
  bool each(std::string_view filter, const std::vector<std::string>& attributes,
            const std::function<void(DirectoryEntry&)>& take,
            const std::function<void()>& restart, std::string_view base = {});
  // Replaces `attribute` of `dn` with `values` (no values: removes it); an
  // nTSecurityDescriptor replaces the object's DACL only.
  // Returns the LDAP result code (0 success, 50 insufficient access, ...).
  int replace(const std::string& dn, const std::string& attribute,
              const std::vector<std::string>& values);

  // True once a request timed out or the connection failed: the
  // controller stopped answering, and this connection is not to be used
  // again.
  bool broken() const { return m_broken; }
  // True when that was a request that got no answer in time (the
  // controller is there but does not answer), not a closed connection.
  bool timedOut() const { return m_timedOut; }

 private:
  // Notes a result code that means the controller is gone.
  int noted(int status);

  vt_ldb* m_connection;
  bool m_broken = false;
  bool m_timedOut = false;
  std::string m_baseDn;
};

// A filter value with the LDAP special characters escaped.
std::string ldapEscape(std::string_view value);
// "S-1-5-21-1-2-3-1001" from a SID in binary form; empty if malformed.
std::string sidText(std::string_view binary);

}  // namespace platform::samba
