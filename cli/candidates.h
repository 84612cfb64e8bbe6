#pragma once
// The numbers one typo away from a number whose checks fail: one digit changed, or two
// neighbouring digits swapped, so that every check passes again (for an IBAN its check digits
// and both control digits, for a code its two control digits) and, with a register, the bank
// code is one it holds.

#include "controldigits/account_number.h"
#include "register/entity_register.h"

#include <array>
#include <cstdint>

namespace cuentas::cli {

struct Candidate {
    enum class Change : std::uint8_t { Digit, Swap };
    Change change;
    std::uint8_t index; // in the compact form ("ES" and 22 digits, or 20); a swap: and index + 1
    char digit;         // Digit: the digit that replaces the one written
};

inline constexpr std::size_t kMaxCandidates = 8;
// A code's two control digits let through more typos than an IBAN's three checks: its
// candidates are told only when they are this few.
inline constexpr std::size_t kHandful = 3;

struct Candidates {
    std::array<Candidate, kMaxCandidates> items;
    std::uint8_t count = 0;
    bool tooMany = false; // more than the search was asked to find
    bool searched = false;
};

// The compact form of a number read whole: "ES", check digits and the 20 digits for an IBAN,
// the 20 digits for a code (24 characters, the last 4 unused).
std::array<char, kIbanLength> compactForm(const AccountDiagnosis& account);
// That form with the candidate's change made.
std::array<char, kIbanLength> applied(const AccountDiagnosis& account, const Candidate& candidate);
// Whether the candidate changes nothing but the IBAN's check digits.
bool changesCheckDigitsOnly(const AccountDiagnosis& account, const Candidate& candidate);

// Every candidate in the order of the place it changes, up to `limit` of them (no more than
// kMaxCandidates); past it the search stops and says there are too many. For a number read
// whole whose control or check digits fail; `entities` may be absent.
void findCandidates(const AccountDiagnosis& account, const EntityRegister* entities,
                    std::size_t limit, Candidates& candidates);

} // namespace cuentas::cli
