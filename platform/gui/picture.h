#pragma once
// Edit masks ("pictures"): one mask character per position of the text, the text never longer
// than the mask. 9 a digit; # a digit, blank, + or -; A a letter; N a letter or digit;
// X any character; ! any character, turned to upper case. Any other mask character admits
// only itself.

#include <string>
#include <string_view>

namespace cuentas::gui {

// TRUE when the text (Windows-1252) fits the mask; the empty mask admits everything.
bool fitsPicture(std::string_view text, std::string_view mask);

// The text as the mask shows it: the characters under a '!' in upper case.
std::string applyPicture(std::string_view text, std::string_view mask);

} // namespace cuentas::gui
