// The samba backend's reading of directory security descriptors, which come
// from a controller over the network: whatever the bytes, they are read or
// refused without a read past them, what is read writes back, and
// "cannot change password" reads the same from what was written back.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/samba/directory_descriptor.h"
#include "platform/samba/password_change_right.h"

using namespace platform::samba;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const bool denied = deniesPasswordChange(bytes);
  const auto descriptor = decodeDescriptor(bytes);
  if (!descriptor) {
    if (withPasswordChangeDenied(bytes, true)) std::abort();
    return 0;
  }
  // What is written reads back and writes the same bytes again (a list of
  // object entries below the directory's revision is written at it).
  const auto written = encodeDescriptor(*descriptor);
  const auto reread = written ? decodeDescriptor(*written) : std::nullopt;
  if (!reread || encodeDescriptor(*reread) != written) std::abort();
  if (deniesPasswordChange(*written) != denied) std::abort();
  // Denied once set (a list grown past its 16-bit size is refused).
  if (const auto set = withPasswordChangeDenied(bytes, true); set && !deniesPasswordChange(*set))
    std::abort();
  if (const auto cleared = withPasswordChangeDenied(bytes, false);
      cleared && !decodeDescriptor(*cleared))
    std::abort();
  return 0;
}
