#include "controldigits/control_digits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cuentas {
namespace {

struct AccountCase {
    const char* bank;
    const char* branch;
    const char* account;
    std::uint32_t digits;
};

// The worked examples, the remainders 0, 1 and 10, and fields as typed (short, blank-padded,
// blank inside).
const AccountCase kAccounts[] = {
    {"1234", "5678", "1234567890", 6},   // first digit from remainder 0
    {"1000", "0005", "1000000000", 11},  // remainder 1 gives 1 on both sides
    {"49", "1", "77", 53},               // zero-filled as 0049, 0001, 0000000077
    {"0000", "0000", "0000010000", 1},   // remainder 10 gives 1
    {"9999", "9999", "9999999999", 50},  // the largest sums, 468 and 495
    {"", "", "", 0},                     // empty fields count as zeros
    {" 1234 ", "5678", "1234567890", 6}, // blanks around a field are ignored
    {"1 3", "0000", "0000000000", controlDigits("0103", "0000", "0000000000")}, // a blank is 0
    {"0049", "0001", "0000000077", 53},
    {"2100", "0418", "0200051332", 45}, // the account of a well-known published IBAN example
};

TEST(ControlDigits, WorkedExamplesAndRemainders) {
    for (const auto& c : kAccounts) {
        EXPECT_EQ(controlDigits(c.bank, c.branch, c.account), c.digits)
            << "bank '" << c.bank << "' branch '" << c.branch << "' account '" << c.account << "'";
    }
}

TEST(ControlDigits, EveryDigitRespondsToItsOwnWeight) {
    // Changing one digit by 1 moves the control digit by that position's weight mod 11; a
    // swapped weight table would pass the worked examples only by chance.
    const std::uint32_t bankBranchWeights[8] = {4, 8, 5, 10, 9, 7, 3, 6};
    for (int i = 0; i < 8; ++i) {
        std::string digits(8, '0');
        digits[static_cast<std::size_t>(i)] = '1';
        std::uint32_t sum = bankBranchWeights[i];
        std::uint32_t r = sum % 11;
        std::uint32_t expected = r == 0 ? 0 : (r == 1 ? 1 : 11 - r);
        EXPECT_EQ(controlDigits(digits.substr(0, 4), digits.substr(4), "0"), expected * 10)
            << "position " << i + 1;
    }
    const std::uint32_t accountWeights[10] = {1, 2, 4, 8, 5, 10, 9, 7, 3, 6};
    for (int i = 0; i < 10; ++i) {
        std::string account(10, '0');
        account[static_cast<std::size_t>(i)] = '1';
        std::uint32_t r = accountWeights[i] % 11;
        std::uint32_t expected = r == 1 ? 1 : 11 - r;
        EXPECT_EQ(controlDigits("0", "0", account), expected) << "position " << i + 1;
    }
}

TEST(ControlDigits, AWholeCodeGetsTheDigitsOfItsFields) {
    // Both groups at once (the reader's shortcut) give what each group gives on its own.
    std::uint64_t state = 20261209;
    std::vector<std::string> codes{std::string(20, '0'), std::string(20, '9')};
    for (int i = 0; i < 2000; ++i) {
        std::string code;
        for (int d = 0; d < 20; ++d) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            code.push_back(static_cast<char>('0' + (state >> 33) % 10));
        }
        codes.push_back(code);
    }
    for (const std::string& code : codes) {
        const std::string_view view(code);
        const std::array<std::uint32_t, 2> digits = codeControlDigits(code.data());
        ASSERT_EQ(digits[0], controlDigit(view.substr(0, 8))) << code;
        ASSERT_EQ(digits[1], controlDigit(view.substr(10))) << code;
    }
}

TEST(ControlDigits, ReadEachFieldAsCorrigeNormalisesIt) {
    // Fields as they may be typed or assigned: blank, blank-padded, too long, not digits.
    const char* const fields[] = {
        "",    " ",    "  7",   "7  ", "1 3",        "12345", " 1234567890123 ",
        "\t1", "abcd", "00491", "9",   "98765432109"};
    for (const char* bank : fields) {
        for (const char* branch : fields) {
            for (const char* account : fields) {
                EXPECT_EQ(controlDigits(bank, branch, account),
                          controlDigits(CORRIGE(bank, 4), CORRIGE(branch, 4), CORRIGE(account, 10)))
                    << "bank '" << bank << "' branch '" << branch << "' account '" << account
                    << "'";
            }
        }
    }
}

TEST(Corrige, TrimsAndZeroFillsToTheWidth) {
    struct Case {
        const char* text;
        std::uint32_t width;
        const char* expected;
    };
    const Case cases[] = {{"12", 4, "0012"},   {" 7 ", 4, "0007"},        {"", 4, "0000"},
                          {"1234", 4, "1234"}, {"   ", 10, "0000000000"}, {"1 3", 4, "01 3"},
                          {"6", 2, "06"},      {"        53", 2, "53"}};
    for (const auto& c : cases) {
        EXPECT_EQ(CORRIGE(c.text, c.width), c.expected) << '"' << c.text << '"';
    }
}

TEST(X, DigitsGiveTheirValueAndAnythingElseZero) {
    EXPECT_EQ(X("0123456789", 1), 0u);
    EXPECT_EQ(X("0123456789", 10), 9u);
    EXPECT_EQ(X("1 3", 2), 0u);
    EXPECT_EQ(X("a", 1), 0u);
    EXPECT_EQ(X("12", 3), 0u);
    EXPECT_EQ(X("-5", 1), 0u);
}

} // namespace
} // namespace cuentas
