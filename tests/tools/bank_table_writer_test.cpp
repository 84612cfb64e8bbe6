#include "platform/table/dbf_image.h"
#include "tools/make_bank_table/bank_table_writer.h"

#include <gtest/gtest.h>

namespace cuentas::tools {
namespace {

std::string padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

TEST(BankTableWriter, WritesTheSixFieldsThatOurReaderReadsBack) {
    std::vector<BankRecord> records{
        {"0049", "Banco Santander, S.A.", "vigente", "", "BSCHESMM", "Banco Santander, S.A."},
        {"0030", "Banesto (absorbida; hoy 0049 Santander)", "baja", "0049", "ESPCESMM",
         "Banco Espa\xF1ol de Cr\xE9"
         "dito, S.A."},
    };
    std::string image = bankTableImage(records, {2022, 6, 16});
    const std::size_t header = 32 + 6 * 32 + 1;
    const std::size_t record = 1 + 4 + 70 + 7 + 4 + 11 + 70;
    EXPECT_EQ(image.size(), header + 2 * record + 1);
    EXPECT_EQ(image.back(), '\x1A');
    DbfResult<DbfImage> parsed = DbfImage::parse(image);
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const DbfImage& table = parsed.value();
    EXPECT_EQ(table.header().tableType, 0x03);
    EXPECT_EQ(table.header().codePageMark, 0x03);
    EXPECT_EQ(table.header().lastUpdateYear, 2022);
    EXPECT_EQ(table.header().lastUpdateMonth, 6);
    EXPECT_EQ(table.header().lastUpdateDay, 16);
    EXPECT_EQ(table.header().headerLength, header);
    EXPECT_EQ(table.header().recordLength, record);
    const std::pair<const char*, std::uint32_t> fields[] = {
        {"BANCO", 4}, {"NOMBRE", 70}, {"ESTADO", 7}, {"SUCESORA", 4}, {"BIC", 11}, {"RAZONSOC", 70},
    };
    ASSERT_EQ(table.fields().size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(table.fields()[i].name, fields[i].first);
        EXPECT_EQ(table.fields()[i].type, 'C');
        EXPECT_EQ(table.fields()[i].width, fields[i].second);
    }
    EXPECT_FALSE(table.isDeleted(1));
    EXPECT_EQ(table.fieldBytes(1, 0), "0030");
    EXPECT_EQ(table.fieldBytes(1, 1), padded("Banesto (absorbida; hoy 0049 Santander)", 70));
    EXPECT_EQ(table.fieldBytes(1, 2), "baja   ");
    EXPECT_EQ(table.fieldBytes(1, 3), "0049");
    EXPECT_EQ(table.fieldBytes(1, 4), "ESPCESMM   ");
    EXPECT_EQ(table.fieldBytes(1, 5), padded("Banco Espa\xF1ol de Cr\xE9"
                                             "dito, S.A.",
                                             70));
    EXPECT_EQ(table.fieldBytes(0, 3), "    ");

    DbfResult<DbfImage> empty = DbfImage::parse(bankTableImage({}, {2022, 6, 16}));
    ASSERT_TRUE(empty.ok()) << empty.error();
    EXPECT_EQ(empty.value().recordCount(), 0u);
}

TEST(BankTableWriter, RecordsCarryTheDialogsTextAndTheLegalName) {
    Entity santander{
        "0049", "Banco Santander, S.A.", "Santander", true, Reason::None, "", "", "BSCHESMM", "",
        1};
    Entity banesto{"0030",
                   "Banco Espa\xF1ol de Cr\xE9"
                   "dito, S.A.",
                   "Banesto",
                   false,
                   Reason::Absorption,
                   "0049",
                   "",
                   "ESPCESMM",
                   "2013-05-20",
                   2};
    std::vector<BankRecord> records = bankRecords({banesto, santander});
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].code, "0030");
    EXPECT_EQ(records[0].name, "Banesto (absorbida; hoy 0049 Santander)");
    EXPECT_EQ(records[0].status, "baja");
    EXPECT_EQ(records[0].successor, "0049");
    EXPECT_EQ(records[0].bic, "ESPCESMM");
    EXPECT_EQ(records[0].legalName, "Banco Espa\xF1ol de Cr\xE9"
                                    "dito, S.A.");
    EXPECT_EQ(records[1].name, "Banco Santander, S.A.");
    EXPECT_EQ(records[1].status, "vigente");
    EXPECT_EQ(records[1].legalName, "Banco Santander, S.A.");
}

} // namespace
} // namespace cuentas::tools
