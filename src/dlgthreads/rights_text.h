#pragma once
// The letters that stand for a file access mask: R, W, X, D, P, O.

#include <string>

#include "platform/security_descriptor.h"

namespace dlgthreads {

// Adds the letters of `mask` (generic rights first mapped to the file rights
// they stand for) that `text` does not hold yet. A text that is still
// "(None" gets "(" and its first letter instead.
void addRightsLetters(std::string& text, platform::ACCESS_MASK mask);
// "(" + the letters of `mask` + ")".
std::string rightsText(platform::ACCESS_MASK mask);

}  // namespace dlgthreads
