// veltrane-lab: makes generated labs, checks lab files and prints event logs.

#include <algorithm>
#include <ctime>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/byte_totals.h"
#include "platform/message_text.h"
#include "platform/lab/file_paths.h"
#include "platform/lab/lab.h"
#include "platform/lab/model.h"
#include "platform/lab/resolve.h"

namespace {

constexpr std::string_view kUsage =
    "Usage:\n"
    "  veltrane-lab generate --users N --groups M --servers K [--seed S] -o FILE\n"
    "      Writes a generated lab of one domain to FILE.\n"
    "  veltrane-lab check FILE\n"
    "      Checks a lab file; prints what is wrong and where.\n"
    "  veltrane-lab events [--lab FILE] [MACHINE]\n"
    "      Prints a machine's event log (default: the lab's local machine), one\n"
    "      record per line: time, source, type, category, id, strings.\n"
    "      Without --lab the user's default lab is read.\n"
    "  veltrane-lab owners [--lab FILE] PATH\n"
    "      Prints the true totals per owner of the files below PATH (\"C:\\dir\" on\n"
    "      the lab's local machine, or \"\\\\SERVER\\SHARE\\dir\"), one owner per\n"
    "      line sorted by SID: SID, account (DOMAIN\\name, or the SID when no\n"
    "      account has it), bytes, files. Refused directories are counted too;\n"
    "      a byte total past 2^64 - 1 shows as 18446744073709551615+.\n"
    "  veltrane-lab --help\n";

// A word of the command line in a message: escaped and cut.
std::string shown(std::string_view word) { return platform::messageText(word); }

int usageError(std::string_view message) {
  std::cerr << "veltrane-lab: " << message << "\n\n" << kUsage;
  return 2;
}

bool toInt(std::string_view text, long long low, long long high, long long* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const std::string s(text);
  const long long v = std::strtoll(s.c_str(), &end, 10);
  if (*end != '\0' || v < low || v > high) return false;
  *out = v;
  return true;
}

int generate(const std::vector<std::string_view>& args) {
  lab::GeneratorOptions options;
  std::string output;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const auto flag = args[i];
    if (i + 1 >= args.size()) return usageError(shown(flag) + " needs a value");
    const auto value = args[++i];
    long long n = 0;
    if (flag == "-o") {
      output = std::string(value);
    } else if (flag == "--users" || flag == "--groups" || flag == "--servers") {
      if (!toInt(value, 0, 1000000, &n)) return usageError(shown(flag) + ": expected a number from 0 to 1000000");
      (flag == "--users" ? options.users : flag == "--groups" ? options.groups : options.servers) = static_cast<int>(n);
    } else if (flag == "--seed") {
      if (!toInt(value, 0, 0xFFFFFFFFll, &n)) return usageError("--seed: expected a number from 0 to 4294967295");
      options.seed = static_cast<std::uint32_t>(n);
    } else {
      return usageError("unknown option " + shown(flag));
    }
  }
  if (output.empty()) return usageError("generate needs -o FILE");
  const auto lab = lab::generateLab(options);
  std::string error;
  if (!platform::writeFileAtomically(output, lab->toJson(), &error)) {
    std::cerr << "veltrane-lab: " << error << "\n";
    return 1;
  }
  return 0;
}

int check(const std::vector<std::string_view>& args) {
  if (args.size() != 1) return usageError("check needs exactly one FILE");
  std::string error;
  if (!lab::loadLabFile(std::string(args[0]), &error)) {
    std::cerr << error << "\n";
    return 1;
  }
  std::cout << platform::messageText(args[0], platform::kQuotedPathChars) << ": ok\n";
  return 0;
}

std::string timeText(std::int64_t t) {
  const std::time_t tt = static_cast<std::time_t>(t);
  std::tm tm{};
  localtime_r(&tt, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
  return buf;
}

std::string typeText(platform::WORD type) {
  switch (type) {
    case platform::EVENTLOG_ERROR_TYPE: return "error";
    case platform::EVENTLOG_WARNING_TYPE: return "warning";
    case platform::EVENTLOG_INFORMATION_TYPE: return "information";
    case platform::EVENTLOG_SUCCESS: return "success";
    default: return std::to_string(type);
  }
}

int events(const std::vector<std::string_view>& args) {
  std::string path;
  std::string machine;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--lab") {
      if (i + 1 >= args.size()) return usageError("--lab needs a FILE");
      path = std::string(args[++i]);
    } else if (machine.empty() && !args[i].starts_with("-")) {
      machine = std::string(args[i]);
    } else {
      return usageError("unexpected argument " + shown(args[i]));
    }
  }
  std::string error;
  if (path.empty()) {
    path = lab::ensureDefaultLab(&error);
    if (path.empty()) {
      std::cerr << "veltrane-lab: " << error << "\n";
      return 1;
    }
  }
  const auto lab = lab::loadLabFile(path, &error);
  if (!lab) {
    std::cerr << error << "\n";
    return 1;
  }
  while (machine.starts_with("\\")) machine.erase(0, 1);
  if (machine.empty()) machine = lab->localMachine();
  std::vector<platform::EventRecord> records;
  platform::ScopedBackend backend(lab::makeLabBackend(lab));
  if (const auto status = platform::ReadEventLog("\\\\" + machine, &records); status != 0) {
    std::cerr << "veltrane-lab: cannot read the event log of " << shown(machine) << " (error " << status << ")\n";
    return 1;
  }
  for (const auto& r : records) {
    std::cout << timeText(r.timeWritten) << '\t' << r.source << '\t' << typeText(r.type) << '\t'
              << r.category << '\t' << r.eventId;
    for (const auto& s : r.strings) std::cout << '\t' << s;
    std::cout << '\n';
  }
  return 0;
}

int owners(const std::vector<std::string_view>& args) {
  std::string path;
  std::string target;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--lab") {
      if (i + 1 >= args.size()) return usageError("--lab needs a FILE");
      path = std::string(args[++i]);
    } else if (target.empty()) {
      target = std::string(args[i]);
    } else {
      return usageError("unexpected argument " + shown(args[i]));
    }
  }
  if (target.empty()) return usageError("owners needs a PATH");
  std::string error;
  if (path.empty()) {
    path = lab::ensureDefaultLab(&error);
    if (path.empty()) {
      std::cerr << "veltrane-lab: " << error << "\n";
      return 1;
    }
  }
  const auto lab = lab::loadLabFile(path, &error);
  if (!lab) {
    std::cerr << error << "\n";
    return 1;
  }
  int result = 0;
  lab->read([&](const lab::Network& net) {
    std::unordered_map<std::string, lab::OwnerTotal> totals;
    platform::DWORD status = 0;
    if (!lab::ownerTotalsAt(net, target, &totals, &status)) {
      std::cerr << "veltrane-lab: no directory " << shown(target) << " (error " << status << ")\n";
      result = 1;
      return;
    }
    std::vector<std::pair<std::string, lab::OwnerTotal>> rows(totals.begin(), totals.end());
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    lab::FilePath fp;
    lab::resolveFilePath(net, target, &fp, &status);
    for (const auto& [sid, total] : rows) {
      std::string account = sid;
      if (const lab::WellKnownSid* w = lab::wellKnownBySid(sid)) {
        account = w->domain.empty() ? std::string(w->name) : std::string(w->domain) + "\\" + std::string(w->name);
      } else if (const lab::AccountRef r = lab::findSid(net, *fp.machine, platform::SID{sid}); r.sam) {
        account = r.domain + "\\" + r.name;
      }
      std::cout << sid << '\t' << account << '\t' << platform::byteTotalText(total.bytes) << '\t' << total.files << '\n';
    }
  });
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty()) return usageError("no command given");
  const auto command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "generate") return generate(args);
  if (command == "check") return check(args);
  if (command == "events") return events(args);
  if (command == "owners") return owners(args);
  return usageError("unknown command " + shown(command));
}
