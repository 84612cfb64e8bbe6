#pragma once
// What the tool finds about one number: the reading of the control-digits core joined with the
// entity register, under the rules of the command and of --strict.

#include "cli/candidates.h"
#include "controldigits/account_number.h"
#include "register/entity_register.h"

#include <cstdint>
#include <string_view>

namespace cuentas::cli {

enum class Command : std::uint8_t { Check, Digits, Iban, Ccc, Format, Bank };

// The stable words of the CSV and JSON output follow this order (statusWord).
enum class Status : std::uint8_t {
    Valid,
    Recovered,
    Empty,
    Country,
    Chars,
    Length,
    BankBranchDigit,
    AccountDigit,
    ControlDigits,
    IbanDigits,
    Ambiguous,
    NoFit,
    UnknownBank,
    AbsorbedBank,
    InactiveBank,
    TooLong,           // a record over the limit, passed through unchecked
    UnterminatedQuote, // a CSV record whose quote never closes
    MissingField,      // a CSV record without the number's column
    Blank,             // a blank line (JSON only: text and CSV pass it through)
};
std::string_view statusWord(Status status);

// Something to know about the entity of a usable number.
enum class Warning : std::uint8_t { None, UnknownBank, AbsorbedBank, InactiveBank };

// A fault in one of the parts given apart to `digits` (bank, branch, account).
struct PartFault {
    enum class Part : std::uint8_t { None, Bank, Branch, Account };
    Part part = Part::None;
    std::uint32_t partStart = 0; // where the part starts in the parts joined by blanks
    std::uint32_t offset = 0;    // Chars: byte offset in the joined parts
    std::uint32_t digits = 0;    // Length: digits given
    std::uint32_t width = 0;     // Length: at most this many
};

struct Finding {
    Finding() = default;
    // Reads the number straight into the finding: copying or clearing the reading first
    // shows in the batch's time.
    Finding(std::string_view number, ControlDigitRule rule)
        : account(diagnoseAccountNumber(number, rule)) {}

    Status status = Status::Empty;
    bool valid = false; // counts as valid for the exit status
    AccountDiagnosis account;
    bool entityCodeOnly = false;  // `bank` with a code of up to four digits
    std::uint32_t entityCode = 0; // once known
    const Entity* entity = nullptr;
    Warning warning = Warning::None;
    PartFault partFault;
    // CSV: a record with too few fields to hold the number's column (its field count), and
    // the column, from 1.
    std::uint32_t fieldCount = 0;
    std::uint32_t fieldWanted = 0;
    // A record that could not be read: the line it began on, and where its open quote is.
    std::uint64_t recordLine = 0;
    std::uint64_t quoteLine = 0;
    // Control or check digits that fail: the numbers one typo away that pass.
    Candidates candidates;
};

class Examiner {
public:
    // Without a register, no number gets a warning about its entity.
    Examiner(Command command, const EntityRegister* entities, bool strict);

    Finding examine(std::string_view input) const;
    // `digits BANK BRANCH ACCOUNT`: each part digits only, zero-filled to its width. A fault's
    // offset counts in the parts joined by single blanks.
    Finding examineParts(std::string_view bank, std::string_view branch,
                         std::string_view account) const;
    // Records that could not be read, or hold no number where it should be.
    static Finding unread(Status status, std::uint64_t line, std::uint64_t quoteLine = 0);
    static Finding missingField(std::uint32_t fieldCount, std::uint32_t column, std::uint64_t line);

private:
    Finding examineEntityCode(std::string_view code) const;
    Finding examineNumber(std::string_view input) const;
    void judge(Finding& finding) const;
    void lookUpEntity(Finding& finding) const;

    Command command_;
    const EntityRegister* entities_;
    bool strict_;
};

} // namespace cuentas::cli
