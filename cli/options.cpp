#include "cli/options.h"

#include <array>
#include <utility>

namespace cuentas::cli {
namespace {

constexpr std::array<std::pair<std::string_view, Command>, 6> kCommands{{
    {"check", Command::Check},
    {"digits", Command::Digits},
    {"iban", Command::Iban},
    {"ccc", Command::Ccc},
    {"format", Command::Format},
    {"bank", Command::Bank},
}};

std::optional<Command> commandNamed(std::string_view name) {
    for (const auto& [word, command] : kCommands) {
        if (word == name) {
            return command;
        }
    }
    return std::nullopt;
}

std::optional<UsageError> setColumn(Options& options, const std::string& value) {
    if (value.empty()) {
        return UsageError{Text::BadColumn, value};
    }
    if (value.find_first_not_of("0123456789") != std::string::npos) {
        options.columnName = value;
        return std::nullopt;
    }
    if (value.size() > 9 || std::stoul(value) == 0) {
        return UsageError{Text::BadColumn, value};
    }
    options.columnPosition = std::stoul(value);
    return std::nullopt;
}

std::optional<UsageError> setSeparator(Options& options, const std::string& value) {
    const char separator = value == "tab" ? '\t' : value.size() == 1 ? value[0] : '\0';
    if (separator == '\0' || separator == '"' || separator == '\n' || separator == '\r') {
        return UsageError{Text::BadSeparator, value};
    }
    options.separator = separator;
    return std::nullopt;
}

} // namespace

std::variant<Options, UsageError> parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    bool columnGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
            operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        // --name=value or --name value for the options that take one.
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const bool takesValue = name == "--table" || name == "--column" || name == "--separator";
        if (!takesValue && equals != std::string::npos) {
            return UsageError{Text::UnknownOption, argument};
        }
        std::string value;
        if (takesValue && equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (takesValue) {
            if (i + 1 == arguments.size()) {
                return UsageError{Text::MissingValue, name};
            }
            value = arguments[++i];
        }
        std::optional<UsageError> error;
        if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--version" || name == "-V") {
            options.version = true;
        } else if (name == "--strict") {
            options.strict = true;
        } else if (name == "--csv") {
            options.csv = true;
        } else if (name == "--json") {
            options.json = true;
        } else if (name == "--table") {
            options.table = value;
            error =
                value.empty() ? std::optional(UsageError{Text::MissingValue, name}) : std::nullopt;
        } else if (name == "--column") {
            columnGiven = true;
            error = setColumn(options, value);
        } else if (name == "--separator") {
            error = setSeparator(options, value);
        } else {
            return UsageError{Text::UnknownOption, argument};
        }
        if (error) {
            return *error;
        }
    }
    if (options.help || options.version) {
        return options;
    }
    if (!options.csv && (columnGiven || options.separator != 0)) {
        return UsageError{Text::CsvOnly, columnGiven ? "--column" : "--separator"};
    }
    if (operands.empty()) {
        return UsageError{Text::NoCommand, {}};
    }
    const std::optional<Command> command = commandNamed(operands.front());
    if (!command) {
        return UsageError{Text::UnknownCommand, operands.front()};
    }
    options.command = *command;
    options.numbers.assign(operands.begin() + 1, operands.end());
    return options;
}

} // namespace cuentas::cli
