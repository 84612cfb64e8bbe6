#pragma once
// How a message shows the character it is about: printable ASCII as itself; any other
// character as its code point, with its name where it cannot be seen or told from another
// (U+00A0 no-break space, U+200B zero-width space, U+FEFF byte-order mark); a byte that is no
// UTF-8 as that byte.

#include "cli/messages.h"

#include <string>
#include <string_view>

namespace cuentas::cli {

// `bytes` is one character as characterAt gives it (a single byte when it is no UTF-8).
void appendShownCharacter(TextBuilder& out, const Messages& messages, std::string_view bytes,
                          bool wellFormed);

} // namespace cuentas::cli
