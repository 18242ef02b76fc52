#pragma once
// The domain controller the conformance suite runs against: the one
// scripts/samba-dc-start provisioned under $VELTRANE_SAMBA_DC and started
// on $VELTRANE_SAMBA_SERVER (the CTest fixture sets both; the NT4-style
// PDC's start writes its address and domain into its prefix), the backend
// that serves it, and Samba's own tools reading the DC's database directly
// (never over the network path under test) for the expected answers.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/backend.h"
#include "platform/samba/samba_backend.h"

namespace samba_test {

struct Dc {
  std::string prefix;   // where the DC lives (admin.auth, private/sam.ldb)
  std::string address;  // 127.0.0.2
  std::string server;   // "\\127.0.0.2", as the server box holds it
  std::string domain = "SAMDOM";
};
// The DC of this run; the suite fails at once without one.
const Dc& dc();

// The samba backend acting as the DC's Administrator; `directory` false
// serves everything through libnetapi, as for an NT4-style controller.
std::shared_ptr<platform::Backend> sambaBackend(bool directory = true);
// The backend itself, acting as the DC's administrator with the options
// `adjust` changes (time limits, a wrong password); null, and the test
// failed, when it cannot start.
std::shared_ptr<platform::samba::SambaBackend> administratorBackend(
    const std::function<void(platform::samba::SambaOptions&)>& adjust = {});

// The DC's processes: the daemons of its PID files and every worker of
// their sessions (samba forks its servers into the session it leads).
std::vector<int> dcProcesses();

// Stops every process of the DC (SIGSTOP) for its life, so the DC takes
// connections but answers nothing, and lets them go on (SIGCONT) at its end.
// With `only`, just the processes whose command line holds it ("task[ldap]":
// the directory stops answering, SMB goes on).
class FrozenDc {
 public:
  explicit FrozenDc(std::string_view only = {});
  ~FrozenDc();
  FrozenDc(const FrozenDc&) = delete;
  FrozenDc& operator=(const FrozenDc&) = delete;
  std::size_t processes() const { return m_pids.size(); }

 private:
  std::vector<int> m_pids;
};

// Runs a program (no shell) and returns its standard output; *status gets
// its exit status.
std::string runProgram(const std::vector<std::string>& argv, int* status = nullptr);
std::vector<std::string> outputLines(const std::string& text);

// samba-tool ARGS on the DC's database; its output lines.
std::vector<std::string> sambaTool(std::vector<std::string> args);

// One object of an LDIF answer: attribute -> values (base64 decoded).
using LdifObject = std::map<std::string, std::vector<std::string>>;
// ldbsearch on the DC's database: the objects matching `filter`.
std::vector<LdifObject> ldbSearch(const std::string& filter, const std::vector<std::string>& attrs);
// The first value of `attr`, or "".
std::string first(const LdifObject& object, const std::string& attr);

// Sets `attribute` of the account or computer `account` (its
// sAMAccountName) in the DC's database for the life of the object (an empty
// value removes it), and puts back what was there at its end, so the tests
// that compare whole lists with the database see the DC as filled.
class ChangedAttribute {
 public:
  ChangedAttribute(std::string account, std::string attribute, const std::string& value);
  ~ChangedAttribute();
  ChangedAttribute(const ChangedAttribute&) = delete;
  ChangedAttribute& operator=(const ChangedAttribute&) = delete;

 private:
  std::string m_dn;
  std::string m_attribute;
  std::string m_before;
};

// A fine-grained password policy (a password settings object made with
// samba-tool) applied to the account `account` for the life of the object,
// deleted at its end; its lock-out lasts `lockoutMinutes`. (Its maximum
// password age cannot make a fresh DC's passwords expire: the DC counts an
// age under a day as "never", and keeps pwdLastSet only as 0 or now.)
class AppliedPasswordSettings {
 public:
  AppliedPasswordSettings(std::string name, const std::string& account, int lockoutMinutes);
  ~AppliedPasswordSettings();
  AppliedPasswordSettings(const AppliedPasswordSettings&) = delete;
  AppliedPasswordSettings& operator=(const AppliedPasswordSettings&) = delete;

 private:
  std::string m_name;
};

// smbclient connected to a share of the DC for the life of the object, so
// the DC lists its session (and the files it opens), signed in with the
// authentication file `authFile`.
class KeptSmbSession {
 public:
  KeptSmbSession(const std::string& share, const std::string& authFile);
  ~KeptSmbSession();
  KeptSmbSession(const KeptSmbSession&) = delete;
  KeptSmbSession& operator=(const KeptSmbSession&) = delete;
  // Sends one smbclient command and waits, at most 20 s, until what it
  // printed since holds `expect`. False when it never does.
  bool command(const std::string& line, const std::string& expect);

 private:
  int m_pid = -1;
  int m_in = -1;
  int m_out = -1;
};

// An account of the DC made for the life of the object (samba-tool), with
// an authentication file for Samba's tools; deleted at its end.
class TestAccount {
 public:
  TestAccount(std::string name, const std::string& password);
  ~TestAccount();
  TestAccount(const TestAccount&) = delete;
  TestAccount& operator=(const TestAccount&) = delete;
  const std::string& name() const { return m_name; }
  const std::string& authFile() const { return m_authFile; }

 private:
  std::string m_name;
  std::string m_authFile;
};

}  // namespace samba_test
