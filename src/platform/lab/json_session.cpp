#include "platform/lab/json_session.h"

#include <set>

#include "platform/lab/json_fields.h"
#include "platform/wnet.h"

namespace lab::json {

using namespace platform;

template <class J>
void readSystem(const J& root, Network& net) {
  const auto s = field(root, "system");
  if (!s) return;
  expectObject(*s, "/system", {"platformId", "major", "minor", "build", "csdVersion"});
  auto& v = net.system.version;
  v.dwPlatformId = number(*s, "platformId", "/system", v.dwPlatformId);
  v.dwMajorVersion = number(*s, "major", "/system", v.dwMajorVersion);
  v.dwMinorVersion = number(*s, "minor", "/system", v.dwMinorVersion);
  v.dwBuildNumber = number(*s, "build", "/system", v.dwBuildNumber);
  v.szCSDVersion = text(*s, "csdVersion", "/system", false, v.szCSDVersion);
}

Json writeSystem(const Network& net) {
  const auto& v = net.system.version;
  return Json{{"platformId", v.dwPlatformId}, {"major", v.dwMajorVersion},
              {"minor", v.dwMinorVersion}, {"build", v.dwBuildNumber},
              {"csdVersion", v.szCSDVersion}};
}

template <class J>
void readNetworkProviders(const J& root, Network& net) {
  net.networkProviders = texts(root, "networkProviders", "");
  std::set<std::string> seen{upper(kWindowsNetworkProvider)};
  for (std::size_t i = 0; i < net.networkProviders.size(); ++i) {
    const auto& name = net.networkProviders[i];
    if (name.empty()) fail(at("/networkProviders", i), "a provider needs a name");
    if (!seen.insert(upper(name)).second) {
      fail(at("/networkProviders", i), "provider " + quotedText(name) + " is listed twice");
    }
  }
}

void checkSession(const Network& net) {
  if (!net.findMachine(net.localMachine)) {
    fail("/localMachine", "no machine " + quotedText(net.localMachine) + " in /machines");
  }
  const auto slash = net.loggedOn.find('\\');
  if (slash == std::string::npos) fail("/loggedOn", "expected \"DOMAIN\\\\name\"");
  const auto dom = net.loggedOn.substr(0, slash);
  const Sam* sam = nullptr;
  if (const Domain* d = net.findDomain(dom)) sam = &d->sam;
  else if (const Machine* m = net.findMachine(dom); m && m->sam) sam = &*m->sam;
  if (!sam || !sam->findUser(net.loggedOn.substr(slash + 1))) {
    fail("/loggedOn", "no user account " + quotedText(net.loggedOn));
  }
}

template void readSystem(const Json&, Network&);
template void readSystem(const SimdValue&, Network&);
template void readNetworkProviders(const Json&, Network&);
template void readNetworkProviders(const SimdValue&, Network&);

}  // namespace lab::json
