#pragma once
// Records read from a file descriptor in blocks through the operating-system seam: lines, or
// CSV records whose quoted fields may hold line breaks. CR, LF and CR LF each end a line,
// whichever a line uses. Memory stays within one buffer of about kMaxRecord bytes however
// long the input: a longer record is handed out in pieces.

#include "cli/csv.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace cuentas::cli {

enum class LineEnd : std::uint8_t { None, Lf, Cr, CrLf };
std::string_view lineEndText(LineEnd lineEnd);

// Why a record could not be read as one.
enum class RecordFault : std::uint8_t {
    None,
    TooLong,           // longer than kMaxRecord: handed out in pieces, unchecked
    UnterminatedQuote, // a quote that never closes: the record is cut at the end of its line
};

class RecordReader {
public:
    static constexpr std::size_t kMaxRecord = 1 << 20;
    // Room for the longest record after a byte-order mark, with its CR LF.
    static constexpr std::size_t kBufferSize = 3 + kMaxRecord + 2;
    enum class Kind { Lines, Csv };

    struct Record {
        std::string_view text;  // without its line end; valid until the next call
        std::uint64_t line = 0; // the line it starts on, from 1
        LineEnd lineEnd = LineEnd::None;
        RecordFault fault = RecordFault::None;
        // TooLong: more pieces of this record follow, and its bytes so far.
        bool more = false;
        std::uint64_t length = 0;
        // It ends inside a quoted field: written out, it needs a closing quote.
        bool openQuote = false;
        // UnterminatedQuote: the line of the quote that never closes.
        std::uint64_t quoteLine = 0;
    };

    // `beforeWaiting` runs before each read that may wait for input, so that results
    // already known reach the reader first; returning false stops the reading.
    RecordReader(int fd, Kind kind, std::function<bool()> beforeWaiting);

    // CSV: the separator once it is known.
    void setSeparator(char separator) { scanner_.setSeparator(separator); }

    // The next record, or piece of a record too long; false at the end of the input or after
    // a failed read.
    bool next(Record& record);
    // Whether the input began with a UTF-8 byte-order mark (which records never hold).
    bool byteOrderMark() const { return byteOrderMark_; }
    // The errno of a failed read, 0 while none failed.
    int error() const { return error_; }

private:
    bool findRecordEnd(std::size_t& end);
    void take(Record& record, std::size_t end, RecordFault fault);
    void cutAtQuoteLine(Record& record);
    void handOutPiece(Record& record);
    void finishRecord(Record& record, std::string_view text, std::size_t next, std::uint64_t lines);
    bool checkByteOrderMark();
    bool fill();

    int fd_;
    Kind kind_;
    std::function<bool()> beforeWaiting_;
    CsvScanner scanner_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0; // start of the record being read
    std::size_t scan_ = 0;  // how far its end was looked for
    std::size_t end_ = 0;   // end of the bytes read
    std::uint64_t line_ = 1;
    bool streaming_ = false;     // handing out a record too long, piece by piece
    std::uint64_t streamed_ = 0; // its bytes handed out so far
    bool atEnd_ = false;
    bool bomDecided_ = false;
    bool byteOrderMark_ = false;
    int error_ = 0;
};

} // namespace cuentas::cli
