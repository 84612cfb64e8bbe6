#include "cli/record_reader.h"

#include "platform/os/operating_system.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <ostream>

namespace cuentas::cli {
namespace {

// Standard input that delivers its bytes in the pieces a test chooses, as pipes do.
class PiecewiseInput : public OperatingSystem {
public:
    std::deque<std::string> pieces;
    int waits = 0; // reads the reader announced as possibly waiting

    long readFile(int, void* data, std::size_t size) override {
        if (pieces.empty()) {
            return 0;
        }
        std::string& piece = pieces.front();
        const std::size_t count = std::min(size, piece.size());
        std::memcpy(data, piece.data(), count);
        piece.erase(0, count);
        if (piece.empty()) {
            pieces.pop_front();
        }
        return static_cast<long>(count);
    }
};

struct Read {
    std::string text;
    std::uint64_t line;
    LineEnd lineEnd = LineEnd::None;
    RecordFault fault = RecordFault::None;
    std::uint64_t quoteLine = 0;
    bool openQuote = false;
    bool operator==(const Read&) const = default;
};

void PrintTo(const Read& read, std::ostream* os) {
    *os << "{"
        << ::testing::PrintToString(read.text.size() > 40 ? read.text.substr(0, 40) + "..."
                                                          : read.text)
        << " (" << read.text.size() << " bytes), line " << read.line << ", end "
        << int(read.lineEnd) << ", fault " << int(read.fault) << ", quote line " << read.quoteLine
        << (read.openQuote ? ", open quote" : "") << "}";
}

// Every record, the pieces of one too long joined.
std::vector<Read> readAll(std::deque<std::string> pieces, RecordReader::Kind kind,
                          bool* byteOrderMark = nullptr) {
    PiecewiseInput input;
    input.pieces = std::move(pieces);
    ScopedOs scoped(input);
    RecordReader reader(0, kind, [&] {
        ++input.waits;
        return true;
    });
    reader.setSeparator(kind == RecordReader::Kind::Csv ? ',' : '\0');
    std::vector<Read> records;
    RecordReader::Record record;
    std::string joined;
    while (reader.next(record)) {
        joined += record.text;
        if (record.more) {
            continue;
        }
        EXPECT_EQ(record.length, joined.size());
        records.push_back({joined, record.line, record.lineEnd, record.fault, record.quoteLine,
                           record.openQuote});
        joined.clear();
    }
    if (byteOrderMark) {
        *byteOrderMark = reader.byteOrderMark();
    }
    return records;
}

constexpr LineEnd kNone = LineEnd::None;
constexpr LineEnd kLf = LineEnd::Lf;
constexpr LineEnd kCr = LineEnd::Cr;
constexpr LineEnd kCrLf = LineEnd::CrLf;

TEST(RecordReader, LinesAcrossPiecesWithTheirEndsAndNumbers) {
    bool mark = false;
    const std::vector<Read> records = readAll({"\xEF\xBB",
                                               "\xBF"
                                               "one\r",
                                               "\ntw", "o\n\nthree"},
                                              RecordReader::Kind::Lines, &mark);
    EXPECT_TRUE(mark);
    EXPECT_EQ(records, (std::vector<Read>{
                           {"one", 1, kCrLf}, {"two", 2, kLf}, {"", 3, kLf}, {"three", 4, kNone}}));
    // An input too short to hold the mark is no mark.
    EXPECT_EQ(readAll({"\xEF\xBB"}, RecordReader::Kind::Lines),
              (std::vector<Read>{{"\xEF\xBB", 1, kNone}}));
}

TEST(RecordReader, CrLfAndCrLfEachEndALineWhereverThePiecesBreak) {
    // A lone CR ends a line as LF and CR LF do, in a file of one kind or of all; a CR as the
    // last byte of a read waits for the next read to tell CR from CR LF.
    for (const auto kind : {RecordReader::Kind::Lines, RecordReader::Kind::Csv}) {
        EXPECT_EQ(readAll({"a\rb\r", "c\r\r\nd\r", "\n", "e\r"}, kind),
                  (std::vector<Read>{{"a", 1, kCr},
                                     {"b", 2, kCr},
                                     {"c", 3, kCr},
                                     {"", 4, kCrLf},
                                     {"d", 5, kCrLf},
                                     {"e", 6, kCr}}));
        EXPECT_EQ(readAll({"x\r\ny\rz\r\n"}, kind),
                  (std::vector<Read>{{"x", 1, kCrLf}, {"y", 2, kCr}, {"z", 3, kCrLf}}));
    }
}

TEST(RecordReader, CsvRecordsGoOnOverQuotedLineBreaks) {
    const std::vector<Read> records =
        readAll({"a,\"x\n", "y\",b\r\nc,d\n", "\"e\"\"\r\n\"\n", "\"f\r", "\ng\rh\"\rlast"},
                RecordReader::Kind::Csv);
    EXPECT_EQ(records, (std::vector<Read>{{"a,\"x\ny\",b", 1, kCrLf},
                                          {"c,d", 3, kLf},
                                          {"\"e\"\"\r\n\"", 4, kLf},
                                          {"\"f\r\ng\rh\"", 6, kCr},
                                          {"last", 9, kNone}}));
}

TEST(RecordReader, AQuoteThatNeverClosesEndsItsRecordWithItsLine) {
    // The record is cut where the line of the open quote ends, and reading goes on at the
    // next line; a quoted field that closed before stays whole.
    EXPECT_EQ(readAll({"h,i\n1,\"abc\n2,", "3\r\n4\n"}, RecordReader::Kind::Csv),
              (std::vector<Read>{{"h,i", 1, kLf},
                                 {"1,\"abc", 2, kLf, RecordFault::UnterminatedQuote, 2, true},
                                 {"2,3", 3, kCrLf},
                                 {"4", 4, kLf}}));
    EXPECT_EQ(readAll({"\"a\nb\",\"c\nd\n"}, RecordReader::Kind::Csv),
              (std::vector<Read>{{"\"a\nb\",\"c", 1, kLf, RecordFault::UnterminatedQuote, 2, true},
                                 {"d", 3, kLf}}));
    EXPECT_EQ(readAll({"x,\"open to the end"}, RecordReader::Kind::Csv),
              (std::vector<Read>{
                  {"x,\"open to the end", 1, kNone, RecordFault::UnterminatedQuote, 1, true}}));
    // One that does not close within the longest record is cut the same way.
    std::deque<std::string> lines{"\"open\n"};
    for (std::size_t size = 0; size <= RecordReader::kMaxRecord; size += 4) {
        lines.push_back("abc\n");
    }
    const std::vector<Read> records = readAll(lines, RecordReader::Kind::Csv);
    ASSERT_GT(records.size(), 2u);
    EXPECT_EQ(records[0], (Read{"\"open", 1, kLf, RecordFault::UnterminatedQuote, 1, true}));
    EXPECT_EQ(records[1], (Read{"abc", 2, kLf}));
    EXPECT_EQ(records.size(), lines.size());
}

TEST(RecordReader, ARecordLongerThanTheBufferComesInPiecesAndReadingGoesOn) {
    const std::string huge(RecordReader::kMaxRecord + 5, 'x');
    for (const auto kind : {RecordReader::Kind::Lines, RecordReader::Kind::Csv}) {
        EXPECT_EQ(
            readAll({"first\n" + huge.substr(0, 1000), huge.substr(1000) + "\r\nlast\n"}, kind),
            (std::vector<Read>{
                {"first", 1, kLf}, {huge, 2, kCrLf, RecordFault::TooLong}, {"last", 3, kLf}}));
    }
    // A long quoted field without a line break is a long record, not an open quote; one that
    // never closes is closed where the input ends.
    const std::string quoted = "a,\"" + huge + "\"\"" + huge + "\",b";
    EXPECT_EQ(readAll({quoted + "\n" + "\"" + huge}, RecordReader::Kind::Csv),
              (std::vector<Read>{{quoted, 1, kLf, RecordFault::TooLong},
                                 {"\"" + huge, 2, kNone, RecordFault::TooLong, 0, true}}));
}

TEST(RecordReader, ARecordOfTheLongestLengthIsReadWhateverItsLineEndAndMarkBeforeIt) {
    const std::string longest(RecordReader::kMaxRecord, 'x');
    const std::string longer(RecordReader::kMaxRecord + 1, 'x');
    EXPECT_EQ(readAll({"\xEF\xBB\xBF" + longest + "\r\n" + longer + "\r\nlast"},
                      RecordReader::Kind::Lines),
              (std::vector<Read>{{longest, 1, kCrLf},
                                 {longer, 2, kCrLf, RecordFault::TooLong},
                                 {"last", 3, kNone}}));
    EXPECT_EQ(readAll({longest + "\n" + longer}, RecordReader::Kind::Csv),
              (std::vector<Read>{{longest, 1, kLf}, {longer, 2, kNone, RecordFault::TooLong}}));
}

TEST(RecordReader, ResultsAreAnnouncedBeforeEachReadThatMayWait) {
    PiecewiseInput input;
    input.pieces = {"1\n2\n", "3\n"};
    ScopedOs scoped(input);
    std::vector<int> waitsBeforeRecord;
    RecordReader reader(0, RecordReader::Kind::Lines, [&] {
        ++input.waits;
        return true;
    });
    RecordReader::Record record;
    while (reader.next(record)) {
        waitsBeforeRecord.push_back(input.waits);
    }
    // Records 1 and 2 come from the first read, 3 only after a second announced read.
    EXPECT_EQ(waitsBeforeRecord, (std::vector<int>{1, 1, 2}));
}

} // namespace
} // namespace cuentas::cli
