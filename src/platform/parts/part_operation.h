#pragma once
// How a row of operations.def becomes a part's virtual: it answers the row's
// absent value until a backend overrides it. A part header defines its row
// macro as VELTRANE_PART_VIRTUAL and includes the table inside its class.

namespace platform::detail {

// The defaults name every parameter (the table lists them named) and most
// leave them unused.
template <class... Args>
constexpr void unusedParameters(const Args&...) {}

}  // namespace platform::detail

#define VELTRANE_PART_VIRTUAL(Return, Name, Params, Args, Absent) \
  virtual Return Name Params {                                    \
    ::platform::detail::unusedParameters Args;                    \
    return Absent;                                                \
  }
