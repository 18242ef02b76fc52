#include "samba_dc.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/samba/samba_backend.h"

extern char** environ;

namespace samba_test {

const Dc& dc() {
  static const Dc kDc = [] {
    Dc d;
    const char* prefix = std::getenv("VELTRANE_SAMBA_DC");
    const char* address = std::getenv("VELTRANE_SAMBA_SERVER");
    d.prefix = prefix ? prefix : "";
    d.address = address ? address : "127.0.0.2";
    // A controller that is not the default one says where it listens and
    // its domain in files of its prefix (scripts/samba-pdc-start writes them).
    if (std::ifstream in(d.prefix + "/address"); in && !address) in >> d.address;
    if (std::ifstream in(d.prefix + "/domain"); in) in >> d.domain;
    d.server = "\\\\" + d.address;
    return d;
  }();
  if (kDc.prefix.empty()) {
    ADD_FAILURE() << "VELTRANE_SAMBA_DC is not set: run the suite through ctest, whose "
                     "fixture starts the DC (scripts/samba-dc-start)";
  }
  return kDc;
}

std::shared_ptr<platform::Backend> sambaBackend(bool directory) {
  std::string error;
  auto backend = platform::samba::sambaBackendFactory()(
      {{"authentication-file", dc().prefix + "/admin.auth"},
       {"directory", directory ? "on" : "off"}},
      &error);
  EXPECT_TRUE(backend) << error;
  return backend;
}

std::shared_ptr<platform::samba::SambaBackend> administratorBackend(
    const std::function<void(platform::samba::SambaOptions&)>& adjust) {
  platform::samba::SambaOptions options;
  std::string error;
  EXPECT_TRUE(platform::samba::readAuthenticationFile(dc().prefix + "/admin.auth",
                                                      &options.credentials, &error))
      << error;
  if (adjust) adjust(options);
  auto backend = platform::samba::SambaBackend::start(std::move(options), &error);
  EXPECT_TRUE(backend) << error;
  return backend;
}

namespace {

// Field `n` (1-based, as proc(5) numbers them) of /proc/PID/stat.
long statField(int pid, int n) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream rest(text.substr(close + 2));
  std::string field;
  for (int i = 3; i <= n && rest >> field; ++i) {
    if (i == n) return field == "Z" ? -2 : std::atol(field.c_str());
  }
  return -1;
}

}  // namespace

std::vector<int> dcProcesses() {
  std::vector<long> sessions;
  for (const char* name : {"samba", "samba-dcerpcd", "smbd"}) {
    std::ifstream in(dc().prefix + "/run/" + name + ".pid");
    long pid = 0;
    if (in >> pid && pid > 0 && statField(static_cast<int>(pid), 6) == pid)
      sessions.push_back(pid);
  }
  std::vector<int> pids;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const int pid = std::atoi(name.c_str());
    if (std::find(sessions.begin(), sessions.end(), statField(pid, 6)) != sessions.end())
      pids.push_back(pid);
  }
  return pids;
}

FrozenDc::FrozenDc(std::string_view only) {
  for (int pid : dcProcesses()) {
    if (!only.empty()) {
      std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline");
      const std::string command((std::istreambuf_iterator<char>(in)), {});
      if (command.find(only) == std::string::npos) continue;
    }
    m_pids.push_back(pid);
    ::kill(pid, SIGSTOP);
  }
}

FrozenDc::~FrozenDc() {
  for (int pid : m_pids) ::kill(pid, SIGCONT);
}

std::string runProgram(const std::vector<std::string>& argv, int* status) {
  int pipeFds[2];
  // Close-on-exec: a daemon the program starts must not hold the pipe open.
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 0, 0);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  std::string out;
  char chunk[4096];
  ssize_t n = 0;
  while (spawned == 0 && (n = ::read(pipeFds[0], chunk, sizeof chunk)) > 0) out.append(chunk, n);
  ::close(pipeFds[0]);
  int code = -1;
  if (spawned == 0 && ::waitpid(pid, &code, 0) == pid && WIFEXITED(code)) code = WEXITSTATUS(code);
  if (status) *status = code;
  return out;
}

std::vector<std::string> outputLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> sambaTool(std::vector<std::string> args) {
  args.insert(args.begin(), "samba-tool");
  args.push_back("-H");
  args.push_back(dc().prefix + "/private/sam.ldb");
  args.push_back("--configfile=" + dc().prefix + "/etc/smb.conf");
  int status = 0;
  auto lines = outputLines(runProgram(args, &status));
  EXPECT_EQ(status, 0) << "samba-tool " << args[1];
  return lines;
}

namespace {

std::string base64Decode(const std::string& in) {
  static const std::string kChars =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  unsigned value = 0;
  int bits = -8;
  for (char c : in) {
    const auto at = kChars.find(c);
    if (at == std::string::npos) continue;
    value = (value << 6) | static_cast<unsigned>(at);
    bits += 6;
    if (bits >= 0) {
      out += static_cast<char>((value >> bits) & 0xFF);
      bits -= 8;
    }
  }
  return out;
}

}  // namespace

std::vector<LdifObject> ldbSearch(const std::string& filter, const std::vector<std::string>& attrs) {
  std::vector<std::string> args = {"ldbsearch", "-H", dc().prefix + "/private/sam.ldb",
                                   "--configfile=" + dc().prefix + "/etc/smb.conf", filter};
  args.insert(args.end(), attrs.begin(), attrs.end());
  int status = 0;
  const std::string text = runProgram(args, &status);
  EXPECT_EQ(status, 0) << "ldbsearch " << filter;
  // Unfold continuation lines, then read "attr: value" and "attr:: base64".
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == ' ' && !lines.empty()) {
      lines.back() += line.substr(1);
    } else {
      lines.push_back(line);
    }
  }
  std::vector<LdifObject> objects;
  for (const std::string& l : lines) {
    if (l.starts_with("# record")) {
      objects.emplace_back();
      continue;
    }
    if (objects.empty() || l.empty() || l[0] == '#') continue;
    const auto colon = l.find(':');
    if (colon == std::string::npos) continue;
    const std::string name = l.substr(0, colon);
    std::string value;
    if (l.compare(colon, 3, ":: ") == 0) {
      value = base64Decode(l.substr(colon + 3));
    } else if (l.compare(colon, 2, ": ") == 0) {
      value = l.substr(colon + 2);
    }
    objects.back()[name].push_back(value);
  }
  // ldbsearch also prints referrals as records of their own.
  std::erase_if(objects, [](const LdifObject& o) { return !o.contains("dn"); });
  return objects;
}

std::string first(const LdifObject& object, const std::string& attr) {
  auto it = object.find(attr);
  return it == object.end() || it->second.empty() ? std::string() : it->second.front();
}

namespace {

// ldbmodify on the DC's database: `attribute` of `dn` replaced by `value`,
// or removed when it is empty.
void modify(const std::string& dn, const std::string& attribute, const std::string& value) {
  const std::string file =
      (std::filesystem::temp_directory_path() / ("veltrane-samba-" + std::to_string(::getpid()) +
                                                 ".ldif"))
          .string();
  {
    std::ofstream out(file);
    out << "dn: " << dn << "\nchangetype: modify\n";
    if (value.empty()) {
      out << "delete: " << attribute << "\n";
    } else {
      out << "replace: " << attribute << "\n" << attribute << ": " << value << "\n";
    }
  }
  int status = 0;
  runProgram({"ldbmodify", "-H", dc().prefix + "/private/sam.ldb",
              "--configfile=" + dc().prefix + "/etc/smb.conf", file},
             &status);
  std::filesystem::remove(file);
  EXPECT_EQ(status, 0) << "ldbmodify " << dn << " " << attribute;
}

}  // namespace

ChangedAttribute::ChangedAttribute(std::string account, std::string attribute,
                                   const std::string& value)
    : m_attribute(std::move(attribute)) {
  const auto found = ldbSearch("(sAMAccountName=" + account + ")", {m_attribute});
  EXPECT_EQ(found.size(), 1u) << account;
  if (found.empty()) return;
  m_dn = first(found.front(), "dn");
  m_before = first(found.front(), m_attribute);
  if (value.empty() && m_before.empty()) return;
  modify(m_dn, m_attribute, value);
}

ChangedAttribute::~ChangedAttribute() {
  if (m_dn.empty()) return;
  const auto now = ldbSearch("(distinguishedName=" + m_dn + ")", {m_attribute});
  if (!now.empty() && first(now.front(), m_attribute) == m_before) return;
  modify(m_dn, m_attribute, m_before);
}

AppliedPasswordSettings::AppliedPasswordSettings(std::string name, const std::string& account,
                                                 int lockoutMinutes)
    : m_name(std::move(name)) {
  // Left by an earlier, interrupted run.
  runProgram({"samba-tool", "domain", "passwordsettings", "pso", "delete", m_name, "-H",
              dc().prefix + "/private/sam.ldb", "--configfile=" + dc().prefix + "/etc/smb.conf"});
  const std::string minutes = std::to_string(lockoutMinutes);
  sambaTool({"domain", "passwordsettings", "pso", "create", m_name, "1",
             "--account-lockout-threshold=5", "--account-lockout-duration=" + minutes,
             "--reset-account-lockout-after=" + minutes});
  sambaTool({"domain", "passwordsettings", "pso", "apply", m_name, account});
}

AppliedPasswordSettings::~AppliedPasswordSettings() {
  sambaTool({"domain", "passwordsettings", "pso", "delete", m_name});
}

KeptSmbSession::KeptSmbSession(const std::string& share, const std::string& authFile) {
  int in[2], out[2];
  if (::pipe2(in, O_CLOEXEC) != 0) return;
  if (::pipe2(out, O_CLOEXEC) != 0) {
    ::close(in[0]);
    ::close(in[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const std::string target = "//" + dc().address + "/" + share;
  // Unbuffered: smbclient's answers must reach the pipe while it runs.
  std::vector<std::string> argv = {"stdbuf", "-o0", "smbclient", target, "-A", authFile};
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, "stdbuf", &actions, nullptr, args.data(), environ) == 0) m_pid = pid;
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  m_in = in[1];
  m_out = out[0];
}

KeptSmbSession::~KeptSmbSession() {
  if (m_in >= 0) ::close(m_in);  // smbclient ends at the end of its input
  if (m_out >= 0) ::close(m_out);
  if (m_pid > 0) {
    int status = 0;
    ::waitpid(m_pid, &status, 0);
  }
}

bool KeptSmbSession::command(const std::string& line, const std::string& expect) {
  if (m_pid <= 0) return false;
  const std::string sent = line + "\n";
  if (::write(m_in, sent.data(), sent.size()) != static_cast<ssize_t>(sent.size())) return false;
  std::string got;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (got.find(expect) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{m_out, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
    char chunk[4096];
    const ssize_t n = ::read(m_out, chunk, sizeof chunk);
    if (n <= 0) return false;
    got.append(chunk, static_cast<std::size_t>(n));
  }
  return true;
}

TestAccount::TestAccount(std::string name, const std::string& password)
    : m_name(std::move(name)) {
  // Left by an interrupted run, or not there at all.
  runProgram({"samba-tool", "user", "delete", m_name, "-H", dc().prefix + "/private/sam.ldb",
              "--configfile=" + dc().prefix + "/etc/smb.conf"});
  sambaTool({"user", "create", m_name, password});
  m_authFile = dc().prefix + "/" + m_name + ".auth";
  std::ofstream out(m_authFile);
  out << "username = " << m_name << "\npassword = " << password << "\ndomain = " << dc().domain
      << "\n";
}

TestAccount::~TestAccount() {
  std::remove(m_authFile.c_str());
  sambaTool({"user", "delete", m_name});
}

}  // namespace samba_test
