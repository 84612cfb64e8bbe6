#include "cli/csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cuentas::cli {
namespace {

std::vector<std::string> fields(std::string_view record, char separator) {
    std::vector<std::string> result(csvFieldCount(record, separator));
    TextBuilder field;
    for (std::size_t i = 0; i < result.size(); ++i) {
        EXPECT_TRUE(csvField(record, separator, i, field));
        result[i] = field.view();
    }
    EXPECT_FALSE(csvField(record, separator, result.size(), field));
    return result;
}

TEST(CsvFields, QuotedFieldsHoldSeparatorsQuotesAndLineBreaks) {
    using Fields = std::vector<std::string>;
    EXPECT_EQ(fields("a,b,,c", ','), (Fields{"a", "b", "", "c"}));
    EXPECT_EQ(fields("", ','), (Fields{""}));
    EXPECT_EQ(fields("\"a,b\",\"say \"\"hi\"\"\",x", ','), (Fields{"a,b", "say \"hi\"", "x"}));
    EXPECT_EQ(fields("\"two\nlines\";3", ';'), (Fields{"two\nlines", "3"}));
    // A quote that does not open a field is an ordinary character.
    EXPECT_EQ(fields("5\" screen,ok", ','), (Fields{"5\" screen", "ok"}));
    EXPECT_EQ(fields("\"unclosed,still", ','), (Fields{"unclosed,still"}));
}

TEST(CsvScanner, ARecordEndsAtALineBreakOutsideQuotes) {
    struct Case {
        std::vector<std::string> pieces; // as reads deliver them
        std::size_t endPiece;            // where the record ends
        std::size_t endOffset;
        std::size_t breaksInside;
    };
    const std::size_t none = std::string::npos;
    const Case cases[] = {
        {{"a,b\nc"}, 0, 3, 0},
        {{"\"a\nb\",c\n"}, 0, 7, 1},
        {{"\"a", "\n", "b\"\"", "\"\n"}, 3, 1, 1}, // a doubled quote split across reads
        {{"x,\"y", "\"", ",z\n"}, 2, 2, 0},
        {{"no end"}, none, 0, 0},
        {{"a\rb"}, 0, 1, 0},
        {{"\"x\r\ny\ry\",\"", "\n", "\"\r"}, 2, 1, 3}, // CR LF counts once, CR alone too
    };
    for (const Case& c : cases) {
        CsvScanner scanner;
        scanner.setSeparator(',');
        std::size_t piece = none;
        std::size_t offset = 0;
        std::size_t scanned = 0;
        for (std::size_t i = 0; i < c.pieces.size() && piece == none; ++i) {
            offset = scanner.findEnd(c.pieces[i], scanned);
            scanned += c.pieces[i].size();
            piece = offset == std::string_view::npos ? none : i;
        }
        EXPECT_EQ(piece, c.endPiece) << c.pieces.front();
        if (piece != none) {
            EXPECT_EQ(offset, c.endOffset) << c.pieces.front();
        }
        EXPECT_EQ(scanner.lineBreaks(), c.breaksInside) << c.pieces.front();
    }
}

TEST(CsvFields, AHeaderNameIsFoundInOnePassWhateverItsCaseAndBlanks) {
    EXPECT_EQ(csvFieldNamed("id; Cuenta ;x", ';', "cuenta"), 1u);
    EXPECT_EQ(csvFieldNamed("\"a;b\";CUENTA", ';', " Cuenta"), 1u);
    EXPECT_EQ(csvFieldNamed("id;nombre", ';', "cuenta"), std::nullopt);
    EXPECT_EQ(csvFieldNamed("\xC3\x91", ';', "\xC3\xB1"), std::nullopt); // A to Z only
}

TEST(CsvOutput, SeparatorDetectionAndQuoting) {
    EXPECT_EQ(detectSeparator("a;b;c,d"), ';');
    EXPECT_EQ(detectSeparator("a\tb"), '\t');
    EXPECT_EQ(detectSeparator("\"x;y;z\",1"), ',');
    EXPECT_EQ(detectSeparator("plain"), ',');
    TextBuilder out;
    appendCsvField(out, "plain", ',');
    appendCsvField(out, "a,b", ',');
    appendCsvField(out, "a,b", ';');
    appendCsvField(out, "say \"hi\"", ';');
    appendCsvField(out, "two\r\nlines", ';');
    EXPECT_EQ(out.view(), "plain\"a,b\"a,b\"say \"\"hi\"\"\"\"two\r\nlines\"");
}

} // namespace
} // namespace cuentas::cli
