#pragma once
// CSV records as spreadsheets write them: a field that begins with a quote runs to its closing
// quote, "" inside standing for one quote, and may hold separators and line breaks; a quote
// anywhere else is an ordinary character.

#include "cli/text_builder.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cuentas::cli {

// Where a scan over a record stands; the record ends at a CR, LF or CR LF outside quotes.
class CsvScanner {
public:
    // Before the separator is known, comma, semicolon and tab all separate.
    void setSeparator(char separator) { separator_ = separator; }
    // Scans `text`, which starts `offset` bytes into the record, and returns the offset in
    // `text` of the CR or LF that ends the record, or npos when the record goes on past it.
    std::size_t findEnd(std::string_view text, std::size_t offset);
    // Back to the start of a record.
    void reset();
    // After a CR that ends the record was held back to see whether LF follows it: the scan
    // resumes at that CR.
    void resumeAtLineEnd() { state_ = State::Unquoted; }

    // Whether the scan so far ends inside a quoted field, and where (in the record) the quote
    // that opened it stands.
    bool inQuotes() const { return state_ == State::Quoted || state_ == State::QuoteInQuoted; }
    std::size_t quoteStart() const { return quoteStart_; }
    // Line breaks passed inside quotes so far (CR LF counting once), and how many of them came
    // before the quote that is open now.
    std::uint64_t lineBreaks() const { return lineBreaks_; }
    std::uint64_t breaksBeforeQuote() const { return breaksBeforeQuote_; }

private:
    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted };
    bool separates(char c) const;

    State state_ = State::FieldStart;
    char separator_ = 0;
    bool afterCr_ = false; // the last byte scanned inside quotes was CR
    std::size_t quoteStart_ = 0;
    std::uint64_t lineBreaks_ = 0;
    std::uint64_t breaksBeforeQuote_ = 0;
};

// The field at `index` (from 0) of a record without its line end, unquoted into `out`; false
// when the record has fewer fields.
bool csvField(std::string_view record, char separator, std::size_t index, TextBuilder& out);
std::size_t csvFieldCount(std::string_view record, char separator);
// The index of the first field whose text, without blanks at its ends and in any letter case
// of A to Z, is `name`; one pass over the record.
std::optional<std::size_t> csvFieldNamed(std::string_view record, char separator,
                                         std::string_view name);
// The most frequent of comma, semicolon and tab outside quotes; comma on a tie or when none.
char detectSeparator(std::string_view record);
// Appends a field, quoted when it holds the separator, a quote or a line break.
void appendCsvField(TextBuilder& out, std::string_view field, char separator);

} // namespace cuentas::cli
