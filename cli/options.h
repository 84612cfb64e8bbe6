#pragma once
// The command line of cuentas-cli: a command, options anywhere, and the numbers.

#include "cli/finding.h"
#include "cli/messages.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace cuentas::cli {

struct Options {
    Command command = Command::Check;
    std::vector<std::string> numbers; // "-" stands for standard input
    std::string table;                // a native path; empty for the default register
    bool strict = false;
    bool csv = false;
    bool json = false;
    bool help = false;
    bool version = false;
    std::optional<std::string> columnName; // --column NAME
    std::size_t columnPosition = 1;        // --column N, from 1
    char separator = 0;                    // 0 until found in the first line
};

// What is wrong with the command line: a text and the argument it names.
struct UsageError {
    Text text = Text::NoCommand;
    std::string argument;
};

std::variant<Options, UsageError> parseOptions(const std::vector<std::string>& arguments);

} // namespace cuentas::cli
