// The lab loader reading any text: it loads a lab or says what is wrong,
// and a lab it loads writes back to text that loads again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/lab/lab.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  auto lab = lab::labFromJson(text, "fuzz.json", &error);
  if (!lab) {
    if (error.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  std::string again;
  if (!lab::labFromJson(lab->toJson(), "written.json", &again)) std::abort();
  return 0;
}
