#pragma once
// JSON text for the tool's one-object-a-line output.

#include "cli/text_builder.h"

#include <string_view>

namespace cuentas::cli {

// Appends `text` as a JSON string with its quotes: quote, backslash and control characters
// escaped, bytes that are not UTF-8 replaced by U+FFFD.
void appendJsonString(TextBuilder& out, std::string_view text);

} // namespace cuentas::cli
