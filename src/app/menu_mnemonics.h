#pragma once
// Menu mnemonics: a letter that two items of one menu share only moves the
// highlight between them, so Alt+letter never opens either. Plain C++.

#include <string>
#include <string_view>

namespace app {

// The letter after the text's '&' (a "&&" is a plain ampersand), lower
// case; 0 when the text has none.
char mnemonicOf(std::string_view text);

// The text with its mnemonic moved, when another item already takes it, to
// the first letter of a word (then of any letter) that none of `taken`
// holds. The text shown stays the same; unchanged when nothing is free.
std::string withFreeMnemonic(std::string_view text, std::string_view taken);

}  // namespace app
