#pragma once
// A whole account number pasted into one of the account dialog's edits, as clerks copy them
// from mail and web pages: a Spanish IBAN or the 20-digit code, with blanks and hyphens,
// letters in either case. Decides whether the dialog fills its fields from it, refuses it with
// a message, or leaves the paste to the edit.

#include <string>
#include <string_view>

namespace cuentas {

struct PastedAccount {
    enum class Action { LeaveToEdit, Fill, Refuse };
    Action action = Action::LeaveToEdit;
    // Fill: the digits of the bank (4), the branch (4) and the account (10).
    std::string bank;
    std::string branch;
    std::string account;
    // Refuse: why, in Spanish (Windows-1252), naming the check digit that fails or the
    // IBAN's country.
    std::string message;
};

// Reads pasted text (Windows-1252), soft hyphens left out. A valid number fills the fields.
// One whose IBAN check digits or control digits fail is refused: filling would put the
// dialog's own control digits on a number with a mistaken digit, and save a well-formed code
// of another account. An IBAN of another country is refused: only Spanish numbers are taken.
// Anything else (not a number, too few or too many digits, a '?', which the code page gives
// for a character it lacks) is left to the edit, which refuses it as ever.
PastedAccount readPastedAccount(std::string_view text);

} // namespace cuentas
