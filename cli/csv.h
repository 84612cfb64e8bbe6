#pragma once
// CSV records as spreadsheets write them: a field that begins with a quote runs to its closing
// quote, "" inside standing for one quote, and may hold separators and line breaks; a quote
// anywhere else is an ordinary character.

#include <cstddef>
#include <string>
#include <string_view>

namespace cuentas::cli {

// Where a scan over a record stands; the record ends at a line break outside quotes.
class CsvScanner {
public:
    // Before the separator is known, comma, semicolon and tab all separate.
    void setSeparator(char separator) { separator_ = separator; }
    // Scans `text` and returns the offset of the line break that ends the record, or npos
    // when the record goes on past it. `lineBreaks` counts the breaks passed inside quotes.
    std::size_t findEnd(std::string_view text, std::size_t& lineBreaks);
    // Back to the start of a record.
    void reset() { state_ = State::FieldStart; }

private:
    enum class State { FieldStart, Unquoted, Quoted, QuoteInQuoted };
    bool separates(char c) const;

    State state_ = State::FieldStart;
    char separator_ = 0;
};

// The field at `index` (from 0) of a record without its line end, unquoted into `out`; false
// when the record has fewer fields.
bool csvField(std::string_view record, char separator, std::size_t index, std::string& out);
std::size_t csvFieldCount(std::string_view record, char separator);
// The most frequent of comma, semicolon and tab outside quotes; comma on a tie or when none.
char detectSeparator(std::string_view record);
// Appends a field, quoted when it holds the separator, a quote or a line break.
void appendCsvField(std::string& out, std::string_view field, char separator);

} // namespace cuentas::cli
