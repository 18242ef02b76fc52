#pragma once
// What the window says about where it works: the backend and the domain of
// the program's own machine, after the program's title.

#include <string>
#include <string_view>

namespace app {

// "Veltrane  v.2.20 QV - SAMDOM (samba)"; the plain title without a
// backend name (the tests' windows), "(lab)" alone without a domain.
std::string windowTitleFor(std::string_view backend, std::string_view domain);

// The domain the program's own machine is in, as the platform reports it
// (NetWkstaGetInfo level 100); empty when it cannot say.
std::string ownDomain();

}  // namespace app
