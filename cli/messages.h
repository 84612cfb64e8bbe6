#pragma once
// The tool's texts for people, in English and Spanish, and the choice between them from the
// locale variables. Texts are kept in Windows-1252 and handed out in UTF-8.

#include "cli/text_builder.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace cuentas::cli {

enum class Language : std::uint8_t { English, Spanish };

// Spanish when the user reads Spanish: the first of LC_ALL, LC_MESSAGES and LANG that is set
// names a Spanish locale ("es", "es_ES.UTF-8", "es_AR@euro"), or, with none set, Windows' own
// language for the user is Spanish; English otherwise.
Language languageOfUser();

// Placeholders {1} to {9} stand for the arguments of a text.
enum class Text : std::uint8_t {
    Valid,
    RecoveredAs,
    RecoveredDigit,
    Empty,
    LineTooLong,
    UnterminatedQuote,
    BlankLine,
    Country,
    IbanWordAlone,
    IbanWordJoined,
    UnreadableCountry,
    Chars,
    Quoted,
    CodePoint,
    NamedCodePoint,
    NotUtf8Byte,
    FullwidthDigit,
    ControlCharacter,
    InvisibleCharacter,
    LengthOne,
    Length,
    LengthIban,
    BankBranchDigit,
    AccountDigit,
    ControlDigits,
    AlsoIbanDigits,
    IbanDigits,
    FailsBankBranch,
    FailsAccount,
    FailsBoth,
    FailsIban,
    AlsoIbanFails,
    OneCandidate,
    SomeCandidates,
    CandidateDigit,
    CandidateSwap,
    InPart,
    InParts,
    Ambiguous,
    TooManyUnreadable,
    NoFit,
    PartLength,
    PartChars,
    PartBank,
    PartBranch,
    PartAccount,
    PartControlDigits,
    Warning,
    WarningOnly,
    UnknownBank,
    AbsorbedBank,
    InactiveBank,
    Today,
    Current,
    AbsorbedBy,
    Inactive,
    Where,
    NoCommand,
    UnknownCommand,
    UnknownOption,
    MissingValue,
    BadColumn,
    BadSeparator,
    CsvOnly,
    ColumnNotFound,
    NoColumn,
    TryHelp,
    RegisterOpen,
    RegisterDamaged,
    RegisterLayout,
    ReadError,
    InputIsFolder,
    WriteError,
    VersionRegister,
    Date,
    Help,
};
inline constexpr std::size_t kTextCount = static_cast<std::size_t>(Text::Help) + 1;

class Messages {
public:
    explicit Messages(Language language);

    Language language() const { return language_; }
    std::string_view text(Text id) const { return texts_[static_cast<std::size_t>(id)]; }
    // Appends the text with its placeholders replaced; it allocates only when `out` grows.
    void append(TextBuilder& out, Text id, std::initializer_list<std::string_view> arguments) const;
    std::string format(Text id, std::initializer_list<std::string_view> arguments) const;
    // The literal text after the k-th placeholder of a text (k = 0: before the first), so
    // that a caller can write the arguments itself between them, in the order they stand.
    void appendPiece(TextBuilder& out, Text id, std::size_t placeholder) const;

private:
    // A text cut at its placeholders once, so that a message is made by appending pieces.
    struct Piece {
        std::uint32_t start = 0;
        std::uint32_t size = 0;
        int argument = -1; // 0 to 8 for {1} to {9}; -1 for literal text
    };

    Language language_;
    std::array<std::string, kTextCount> texts_;
    std::array<std::vector<Piece>, kTextCount> pieces_;
};

} // namespace cuentas::cli
