#include "cli/options.h"

#include <gtest/gtest.h>

namespace cuentas::cli {
namespace {

Options parsed(std::vector<std::string> arguments) {
    auto result = parseOptions(arguments);
    EXPECT_TRUE(std::holds_alternative<Options>(result)) << ::testing::PrintToString(arguments);
    return std::holds_alternative<Options>(result) ? std::get<Options>(result) : Options{};
}

TEST(Options, OptionsGoAnywhereAndTakeTheirValueEitherWay) {
    const Options options = parsed({"--csv", "iban", "--column=cuenta", "123", "--table",
                                    "/x/T.dbf", "-", "--separator", "tab", "--strict", "--json"});
    EXPECT_EQ(options.command, Command::Iban);
    EXPECT_EQ(options.numbers, (std::vector<std::string>{"123", "-"}));
    EXPECT_EQ(options.table, "/x/T.dbf");
    EXPECT_EQ(options.columnName, "cuenta");
    EXPECT_EQ(options.separator, '\t');
    EXPECT_TRUE(options.csv && options.json && options.strict);

    const Options positional = parsed({"check", "--csv", "--column", "3", "--", "-2100"});
    EXPECT_EQ(positional.columnPosition, 3u);
    EXPECT_EQ(positional.columnName, std::nullopt);
    EXPECT_EQ(positional.numbers, (std::vector<std::string>{"-2100"}));

    EXPECT_TRUE(parsed({"-V", "frob"}).version); // --version and --help need no command
    EXPECT_TRUE(parsed({"--help"}).help);
}

TEST(Options, MistakesNameTheArgument) {
    struct Case {
        std::vector<std::string> arguments;
        Text text;
        const char* argument;
    };
    const Case cases[] = {
        {{"--strict"}, Text::NoCommand, ""},
        {{"checks"}, Text::UnknownCommand, "checks"},
        {{"check", "-x"}, Text::UnknownOption, "-x"},
        {{"check", "--table"}, Text::MissingValue, "--table"},
        {{"check", "--table="}, Text::MissingValue, "--table"},
        {{"check", "--csv", "--column="}, Text::BadColumn, ""},
        {{"check", "--csv", "--column", "9999999999"}, Text::BadColumn, "9999999999"},
        {{"check", "--csv", "--separator", "\""}, Text::BadSeparator, "\""},
        {{"check", "--column", "a"}, Text::CsvOnly, "--column"},
    };
    for (const Case& c : cases) {
        auto result = parseOptions(c.arguments);
        ASSERT_TRUE(std::holds_alternative<UsageError>(result))
            << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(std::get<UsageError>(result).text, c.text);
        EXPECT_EQ(std::get<UsageError>(result).argument, c.argument);
    }
}

} // namespace
} // namespace cuentas::cli
