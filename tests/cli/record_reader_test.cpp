#include "cli/record_reader.h"

#include "platform/os/operating_system.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>

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
    bool crlf;
    bool tooLong;
    bool operator==(const Read&) const = default;
};

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
    while (reader.next(record)) {
        records.push_back({std::string(record.text), record.line, record.crlf, record.tooLong});
    }
    if (byteOrderMark) {
        *byteOrderMark = reader.byteOrderMark();
    }
    return records;
}

TEST(RecordReader, LinesAcrossPiecesWithTheirEndsAndNumbers) {
    bool mark = false;
    const std::vector<Read> records = readAll({"\xEF\xBB",
                                               "\xBF"
                                               "one\r",
                                               "\ntw", "o\n\nthree"},
                                              RecordReader::Kind::Lines, &mark);
    EXPECT_TRUE(mark);
    EXPECT_EQ(records, (std::vector<Read>{{"one", 1, true, false},
                                          {"two", 2, false, false},
                                          {"", 3, false, false},
                                          {"three", 4, false, false}}));
    // An input too short to hold the mark is no mark.
    EXPECT_EQ(readAll({"\xEF\xBB"}, RecordReader::Kind::Lines),
              (std::vector<Read>{{"\xEF\xBB", 1, false, false}}));
}

TEST(RecordReader, CsvRecordsGoOnOverQuotedLineBreaks) {
    const std::vector<Read> records =
        readAll({"a,\"x\n", "y\",b\r\nc,d\n", "\"e\"\"\n\"\n"}, RecordReader::Kind::Csv);
    EXPECT_EQ(records, (std::vector<Read>{{"a,\"x\ny\",b", 1, true, false},
                                          {"c,d", 3, false, false},
                                          {"\"e\"\"\n\"", 4, false, false}}));
}

TEST(RecordReader, ARecordLongerThanTheBufferIsDroppedAndReadingGoesOn) {
    const std::string huge(RecordReader::kMaxRecord + 5, 'x');
    const std::vector<Read> records =
        readAll({"first\n" + huge.substr(0, 1000), huge.substr(1000) + "\nlast\n"},
                RecordReader::Kind::Lines);
    EXPECT_EQ(records,
              (std::vector<Read>{
                  {"first", 1, false, false}, {"", 2, false, true}, {"last", 3, false, false}}));
}

TEST(RecordReader, ARecordOfTheLongestLengthIsReadWhateverItsLineEndAndMarkBeforeIt) {
    const std::string longest(RecordReader::kMaxRecord, 'x');
    const std::string longer(RecordReader::kMaxRecord + 1, 'x');
    EXPECT_EQ(readAll({"\xEF\xBB\xBF" + longest + "\r\n" + longer + "\r\nlast"},
                      RecordReader::Kind::Lines),
              (std::vector<Read>{
                  {longest, 1, true, false}, {"", 2, true, true}, {"last", 3, false, false}}));
    EXPECT_EQ(readAll({longest + "\n" + longer}, RecordReader::Kind::Csv),
              (std::vector<Read>{{longest, 1, false, false}, {"", 2, false, true}}));
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
