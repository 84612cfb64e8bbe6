#include "platform/table/dbf_image.h"
#include "tools/make_bank_table/bank_source.h"
#include "tools/make_bank_table/bank_table_writer.h"

#include <gtest/gtest.h>

namespace cuentas::tools {
namespace {

struct FaultyLine {
    const char* line;
    const char* message;
};

TEST(BankSource, NamesTheProblemOfEachFaultyLine) {
    const std::string wide(61, 'x');
    const FaultyLine cases[] = {
        {"49\tCorto", "code \"49\" is not 4 digits"},
        {"00A9\tLetra", "code \"00A9\" is not 4 digits"},
        {" 0049\tBlanco", "code \" 0049\" is not 4 digits"},
        {"0049 Sin tabulador", "no tab between the code and the name"},
        {"0049\t   ", "name is empty"},
        {"0049\tDos\tTabuladores", "name holds the control character U+0009"},
        {"0049\t\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         "character U+0141 of the name is not in Windows-1252"},
        {"0049\t\xF0\x9F\x8F\xA6", "character U+1F3E6 of the name is not in Windows-1252"},
        {"0049\tRoto \xC3", "name is not valid UTF-8"},
    };
    for (const FaultyLine& c : cases) {
        SCOPED_TRACE(c.line);
        BankSource source = parseBankSource(std::string("# cabecera\n\n") + c.line + "\n");
        ASSERT_EQ(source.errors.size(), 1u);
        EXPECT_EQ(source.errors[0].line, 3);
        EXPECT_EQ(source.errors[0].text, c.message);
        EXPECT_TRUE(source.banks.empty());
    }
    BankSource tooWide = parseBankSource("0049\t" + wide);
    ASSERT_EQ(tooWide.errors.size(), 1u);
    EXPECT_EQ(tooWide.errors[0].text, "name is 61 characters long, wider than the 60 of NOMBRE");
}

TEST(BankSource, ConvertsNamesToWindows1252AndCountsTheirWidthThere) {
    // 60 characters, 120 bytes of UTF-8: it fits, since the field counts Windows-1252 bytes.
    std::string enes;
    for (int i = 0; i < 60; ++i) {
        enes += "\xC3\x91";
    }
    BankSource source = parseBankSource("\xEF\xBB\xBF# lista\r\n"
                                        "0030\t  Banco Espa\xC3\xB1ol de Cr\xC3\xA9"
                                        "dito  \r\n"
                                        "2100\tCaixa d\xE2\x80\x99"
                                        "Estalvis \xE2\x82\xAC\n"
                                        "0001\t" +
                                        enes);
    EXPECT_TRUE(source.errors.empty());
    ASSERT_EQ(source.banks.size(), 3u);
    EXPECT_EQ(source.banks[0].code, "0030");
    EXPECT_EQ(source.banks[0].name, "Banco Espa\xF1ol de Cr\xE9"
                                    "dito");
    EXPECT_EQ(source.banks[0].line, 2);
    EXPECT_EQ(source.banks[1].name, "Caixa d\x92"
                                    "Estalvis \x80");
    EXPECT_EQ(source.banks[2].name, std::string(60, '\xD1'));
}

TEST(BankSource, ReportsEveryFaultyLineAndWarnsOfDuplicateCodes) {
    BankSource source = parseBankSource("0049\tSantander\n12\tX\n0049\tOtro\nsin tab\n");
    ASSERT_EQ(source.errors.size(), 2u);
    EXPECT_EQ(source.errors[0].line, 2);
    EXPECT_EQ(source.errors[1].line, 4);
    ASSERT_EQ(source.warnings.size(), 1u);
    EXPECT_EQ(source.warnings[0].line, 3);
    EXPECT_EQ(source.warnings[0].text, "code 0049 already on line 1; lookups find the first");
    EXPECT_EQ(source.banks.size(), 2u);
}

TEST(BankTableWriter, WritesADbaseThreeTableThatOurReaderReadsBack) {
    std::vector<Bank> banks{{"0049", "Banco Santander", 1}, {"0030", "Espa\xF1ol", 2}};
    std::string image = bankTableImage(banks, {2024, 5, 17});
    EXPECT_EQ(image.size(), 97u + 2 * 65 + 1);
    EXPECT_EQ(image.back(), '\x1A');
    DbfResult<DbfImage> parsed = DbfImage::parse(image);
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const DbfImage& table = parsed.value();
    EXPECT_EQ(table.header().tableType, 0x03);
    EXPECT_EQ(table.header().codePageMark, 0x03);
    EXPECT_EQ(table.header().lastUpdateYear, 2024);
    EXPECT_EQ(table.header().lastUpdateMonth, 5);
    EXPECT_EQ(table.header().lastUpdateDay, 17);
    ASSERT_EQ(table.fields().size(), 2u);
    EXPECT_EQ(table.fields()[0].name, "BANCO");
    EXPECT_EQ(table.fields()[1].width, 60u);
    EXPECT_EQ(table.fieldBytes(1, 0), "0030");
    std::string name("Espa\xF1ol");
    name.resize(60, ' ');
    EXPECT_EQ(table.fieldBytes(1, 1), name);
    EXPECT_FALSE(table.isDeleted(0));

    DbfResult<DbfImage> empty = DbfImage::parse(bankTableImage({}, {2024, 1, 1}));
    ASSERT_TRUE(empty.ok()) << empty.error();
    EXPECT_EQ(empty.value().recordCount(), 0u);
}

} // namespace
} // namespace cuentas::tools
