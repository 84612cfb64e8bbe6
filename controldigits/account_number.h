#pragma once
// Reading a Spanish account number as people write it (the 20-digit code or the Spanish IBAN)
// and saying what is wrong with it. Texts in, a typed finding out: no texts for people, no
// widget, file or log.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace cuentas {

// What reading the number found, the first fault in this order: for an IBAN the country, then
// for both forms a character that does not belong, the count of digits, the control digits
// (a fault in a group without unreadable digits first), then the IBAN's own check digits.
enum class AccountStatus : std::uint8_t {
    Valid,
    Recovered,       // every unreadable digit ('?') was determined by the check digits
    Empty,           // nothing but blanks and hyphens
    Country,         // an IBAN of another country (two letters first make an IBAN)
    Chars,           // a character that is not a digit (position)
    Length,          // too few or too many digits (given, expected)
    BankBranchDigit, // the first control digit, over bank and branch, fails
    AccountDigit,    // the second control digit, over the account, fails
    ControlDigits,   // both fail
    IbanDigits,      // the IBAN's check digits fail while the 20 digits are right
    Ambiguous,       // more than one number fits the unreadable digits (candidates)
    NoFit,           // no digit fits the unreadable digits
};

enum class AccountForm : std::uint8_t { None, Ccc, Iban };

// Where a digit of the number stands.
enum class AccountPart : std::uint8_t { IbanDigits, Bank, Branch, ControlDigits, Account };

// Whether the control digits as written are checked, or computed whatever stands in their
// place (and, for an IBAN, its check digits too).
enum class ControlDigitRule : std::uint8_t { Check, Compute };

// Unreadable digits are tried in every combination; beyond this many outside the check digits
// the number counts as ambiguous without trying.
inline constexpr std::size_t kMaxUnknownDigits = 4;
inline constexpr std::size_t kCccLength = 20;
inline constexpr std::size_t kIbanLength = 24;

struct UnreadableDigit {
    std::uint32_t position = 0; // 1-based, in the text as written
    AccountPart part = AccountPart::Bank;
    char digit = 0; // the recovered digit; 0 while undetermined
};

struct AccountDiagnosis {
    AccountStatus status = AccountStatus::Empty;
    AccountForm form = AccountForm::None;
    // Chars: the 1-based position of the first character that does not belong, in bytes of
    // the text as written.
    std::uint32_t position = 0;
    // Length: digits (or, for an IBAN, characters) given and expected.
    std::uint32_t given = 0;
    std::uint32_t expected = 0;
    // An IBAN's two letters in upper case.
    std::array<char, 2> country{};
    // Once the number is readable: its 20 digits with every recovered digit filled in, the
    // control digits as written and as they should be ('?' where undetermined); for an IBAN
    // also its check digits as written and as they should be (when the 20 are known).
    std::array<char, kCccLength> ccc{};
    std::array<char, 2> writtenControlDigits{};
    std::array<char, 2> controlDigits{};
    std::array<char, 2> writtenIbanDigits{};
    std::array<char, 2> ibanDigits{};
    // A control-digit fault in an IBAN: whether its check digits fail as well.
    bool ibanDigitsFail = false;
    // Every '?' that stood for a digit, in the order written (at most 8 fit: 4 trying
    // digits and the 4 check digits; more make the number ambiguous).
    std::uint32_t unreadableCount = 0;
    std::array<UnreadableDigit, 8> unreadable{};
    // Ambiguous: how many numbers fit; 0 when too many digits are unreadable to try.
    std::uint32_t candidates = 0;

    // Valid or recovered: the 20 digits, the bank code and the IBAN may be used.
    bool usable() const {
        return status == AccountStatus::Valid || status == AccountStatus::Recovered;
    }
    std::string_view cccDigits() const { return {ccc.data(), ccc.size()}; }
    std::string_view bankCode() const { return {ccc.data(), 4}; }
    // "ES", the check digits and the 20 digits (a code's check digits are made here); only
    // when usable().
    std::array<char, kIbanLength> iban() const;
};

// Reads an account number as written: a 20-digit code or a Spanish IBAN ("ES", two check
// digits, the 20 digits), optionally after the word "IBAN"; blanks and hyphens anywhere,
// letters in either case, '?' for a digit that could not be read.
AccountDiagnosis diagnoseAccountNumber(std::string_view text,
                                       ControlDigitRule rule = ControlDigitRule::Check);

} // namespace cuentas
