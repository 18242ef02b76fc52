#pragma once
// printf-style formatting into a std::string, for the workers' fixed text
// forms ("Group %i.", "%10i"). Integer conversions only need no locale care.

#include <string>

namespace dlgthreads {

[[gnu::format(printf, 1, 2)]] std::string printfText(const char* format, ...);

}  // namespace dlgthreads
