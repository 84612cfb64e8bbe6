#include "platform/table/dbf_image.h"
#include "tests/platform/table/dbf_builder.h"

#include <gtest/gtest.h>

#include <functional>

namespace cuentas {
namespace {

using testing::bankTable;
using testing::DbfBuilder;

std::string withByte(std::string image, std::size_t at, char byte) {
    image[at] = byte;
    return image;
}

// 300 fields of 255 bytes need 76501 bytes a record, more than a 16-bit length can say.
std::string widthsPastSixteenBits() {
    DbfBuilder builder;
    for (int i = 0; i < 300; ++i) {
        builder.field("F" + std::to_string(i), 'C', 255);
    }
    return builder.recordLength(65535).build();
}

struct BadInput {
    const char* name;
    std::function<std::string()> image;
    const char* message;
};

// Every damage the reader must name instead of crashing, hanging or reading out of bounds.
const BadInput kBadInputs[] = {
    {"empty file", [] { return std::string(); },
     "file is 0 bytes long, shorter than the 32-byte header"},
    {"shorter than the header", [] { return std::string(10, '\x03'); },
     "file is 10 bytes long, shorter than the 32-byte header"},
    {"cut inside the field list", [] { return bankTable().build().substr(0, 50); },
     "file ends inside the field list (50 bytes)"},
    {"48-byte descriptors 0x04", [] { return bankTable().tableType(0x04).build(); },
     "table type 0x04 is not supported (48-byte field descriptors)"},
    {"48-byte descriptors 0x8C", [] { return bankTable().tableType(0x8C).build(); },
     "table type 0x8C is not supported (48-byte field descriptors)"},
    {"unknown type", [] { return bankTable().tableType(0x45).build(); }, "unknown table type 0x45"},
    {"type zero", [] { return bankTable().tableType(0x00).build(); }, "unknown table type 0x00"},
    {"header too small for a field", [] { return bankTable().headerLength(40).build(); },
     "header length 40 is too small for one field"},
    {"header larger than the file", [] { return bankTable().headerLength(5000).build(); },
     "header length 5000 is larger than the file (233 bytes)"},
    {"field list without end mark",
     [] { return bankTable().withoutFieldListEnd().headerLength(100).build(); },
     "field list has no end mark within the header length 100"},
    {"LF end mark before the header length",
     [] { return bankTable().fieldListEnd('\x0A').headerLength(200).build(); },
     "field list has no end mark within the header length 200"},
    {"LF end mark where the header has room for another field",
     [] {
         std::string image = bankTable().fieldListEnd('\x0A').headerLength(129).build();
         return image.substr(0, 97) + std::string(32, '\0') + image.substr(97);
     },
     "field list has no end mark within the header length 129"},
    // The records would begin inside the field list, at a descriptor or at the end mark.
    {"header length a field short", [] { return bankTable().headerLength(64).build(); },
     "header length 64 is too small for its field list, which takes 97 bytes (2 fields and the "
     "end mark)"},
    {"header length without the end mark", [] { return bankTable().headerLength(96).build(); },
     "header length 96 is too small for its field list, which takes 97 bytes (2 fields and the "
     "end mark)"},
    {"header length a field short before the backlink",
     [] { return bankTable().tableType(0x30).backlink().headerLength(64).build(); },
     "header length 64 is too small for its field list, which takes 360 bytes (2 fields, the end "
     "mark and the backlink)"},
    {"no fields", [] { return DbfBuilder().backlink().build(); }, "table has no fields"},
    {"field without a name",
     [] { return DbfBuilder().field("", 'C', 4).field("NOMBRE", 'C', 40).build(); },
     "field 1 has no name"},
    {"field name twice",
     [] { return DbfBuilder().field("BANCO", 'C', 4).field("banco", 'C', 40).build(); },
     "field name banco appears twice"},
    {"record shorter than its fields", [] { return bankTable().recordLength(3).build(); },
     "record length 3 is smaller than the fields need (45)"},
    {"record length zero", [] { return bankTable().recordLength(0).build(); },
     "record length 0 is smaller than the fields need (45)"},
    {"record length one",
     [] { return DbfBuilder().field("VACIO", 'C', 0).recordLength(1).build(); },
     "record length 1 is too small"},
    {"widths past 16 bits", widthsPastSixteenBits,
     "record length 65535 is smaller than the fields need (76501)"},
    {"count of 0xFFFFFFFF", [] { return bankTable().recordCount(0xFFFFFFFF).build(); },
     "record count 4294967295 needs 193273528372 bytes but the file has 233"},
    {"count two records too high", [] { return bankTable().recordCount(5).build(); },
     "record count 5 needs 322 bytes but the file has 233"},
    {"count one too high reaches the end mark", [] { return bankTable().recordCount(4).build(); },
     "record 4 is cut short: the file ends 1 byte into it"},
    {"cut last record",
     [] {
         std::string image = bankTable().withoutEndOfFile().build();
         return image.substr(0, image.size() - 20);
     },
     "record 3 is cut short: the file ends 25 bytes into it"},
    {"invalid deletion flag", [] { return withByte(bankTable().build(), 97 + 45, 'A'); },
     "record 2 has an invalid deletion flag 0x41"},
    {"end-of-file mark as a flag", [] { return withByte(bankTable().build(), 97 + 45, '\x1A'); },
     "record 2 begins with the end-of-file mark 0x1A"},
};

TEST(DbfImageBadInput, EachDamageIsNamed) {
    for (const BadInput& input : kBadInputs) {
        SCOPED_TRACE(input.name);
        DbfResult<DbfImage> parsed = DbfImage::parse(input.image());
        ASSERT_FALSE(parsed.ok());
        EXPECT_EQ(parsed.error(), input.message);
    }
}

TEST(DbfImage, AcceptsEveryTableTypeWithThirtyTwoByteDescriptors) {
    for (int type : {0x03, 0x83, 0x30, 0x31, 0x32, 0xF5, 0x8B}) {
        SCOPED_TRACE(type);
        DbfResult<DbfImage> parsed =
            DbfImage::parse(bankTable().tableType(static_cast<std::uint8_t>(type)).build());
        ASSERT_TRUE(parsed.ok()) << parsed.error();
        EXPECT_EQ(parsed.value().header().tableType, type);
        EXPECT_EQ(parsed.value().fieldBytes(2, 1), "Bankinter" + std::string(31, ' '));
    }
}

TEST(DbfImage, ReadsHeaderFactsAndFieldsInDescriptorOrder) {
    DbfResult<DbfImage> parsed = DbfImage::parse(DbfBuilder()
                                                     .field("NOMBRE", 'C', 40)
                                                     .field("ALTA", 'D', 8)
                                                     .field("banco", 'c', 4)
                                                     .field("IMPORTE", 'N', 8, 2)
                                                     .codePageMark(0x57)
                                                     .record({"Bankinter", "", "0128", "12.50"})
                                                     .build());
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const DbfImage& table = parsed.value();
    EXPECT_EQ(table.header().lastUpdateYear, 2024);
    EXPECT_EQ(table.header().headerLength, 32 + 4 * 32 + 1);
    EXPECT_EQ(table.header().recordLength, 1 + 40 + 8 + 4 + 8);
    EXPECT_EQ(table.header().codePageMark, 0x57);
    ASSERT_EQ(table.fields().size(), 4u);
    EXPECT_EQ(table.fields()[2].name, "banco");
    EXPECT_EQ(table.fields()[2].type, 'C');
    EXPECT_EQ(table.fields()[2].offset, 49u);
    EXPECT_EQ(table.fields()[3].decimals, 2);
    EXPECT_EQ(table.fieldIndex("BANCO"), 2u);
    EXPECT_EQ(table.fieldIndex("Nombre"), 0u);
    EXPECT_EQ(table.fieldIndex("BANC"), std::nullopt);
    EXPECT_EQ(table.fieldBytes(0, 2), "0128");
}

TEST(DbfImage, FieldBytesAreCopiedExactlyWithoutTranscoding) {
    const std::string name("  N\xF1\x00\x1A\r\nX\x80 ", 12);
    DbfResult<DbfImage> parsed = DbfImage::parse(DbfBuilder()
                                                     .field("BANCO", 'C', 4)
                                                     .field("NOMBRE", 'C', 12)
                                                     .codePageMark(0x02)
                                                     .record({" 49 ", name})
                                                     .build());
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    EXPECT_EQ(parsed.value().fieldBytes(0, 0), " 49 ");
    EXPECT_EQ(parsed.value().fieldBytes(0, 1), name);
}

TEST(DbfImage, NamesAreCutAtTheFirstNulAndMayFillElevenBytes) {
    std::string image = DbfBuilder()
                            .field("BANCO", 'C', 4)
                            .field("NOMBRELARGO", 'C', 10)
                            .record({"0049", "Santander"})
                            .build();
    image.replace(32 + 6, 4, "\x7Fjnk"); // garbage after BANCO's NUL
    DbfResult<DbfImage> parsed = DbfImage::parse(image);
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    EXPECT_EQ(parsed.value().fields()[0].name, "BANCO");
    EXPECT_EQ(parsed.value().fields()[1].name, "NOMBRELARGO");
}

TEST(DbfImage, RecordsLongerThanTheirFieldsKeepTheirStride) {
    DbfResult<DbfImage> parsed = DbfImage::parse(bankTable().recordPadding(3).build());
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    EXPECT_EQ(parsed.value().header().recordLength, 48);
    EXPECT_EQ(parsed.value().fieldBytes(1, 0), "0081");
    EXPECT_EQ(parsed.value().fieldBytes(2, 0), "0128");
}

TEST(DbfImage, FieldListMayEndAtTheHeaderLengthOrBeFollowedByTheBacklink) {
    DbfResult<DbfImage> exact = DbfImage::parse(bankTable().withoutFieldListEnd().build());
    ASSERT_TRUE(exact.ok()) << exact.error();
    EXPECT_EQ(exact.value().header().headerLength, 96);
    EXPECT_EQ(exact.value().fieldBytes(2, 0), "0128");

    DbfResult<DbfImage> backlink = DbfImage::parse(bankTable().tableType(0x30).backlink().build());
    ASSERT_TRUE(backlink.ok()) << backlink.error();
    EXPECT_EQ(backlink.value().header().headerLength, 97 + 263);
    EXPECT_EQ(backlink.value().fields().size(), 2u);
    EXPECT_EQ(backlink.value().fieldBytes(0, 0), "0049");
}

// Some writers end the field list with LF: accepted where the header length puts the end.
TEST(DbfImage, FieldListMayEndInLineFeedWhereTheHeaderLengthSaysItEnds) {
    for (bool backlink : {false, true}) {
        SCOPED_TRACE(backlink ? "with backlink" : "without backlink");
        DbfBuilder builder = bankTable().fieldListEnd('\x0A');
        if (backlink) {
            builder.tableType(0x30).backlink();
        }
        DbfResult<DbfImage> parsed = DbfImage::parse(builder.build());
        ASSERT_TRUE(parsed.ok()) << parsed.error();
        EXPECT_EQ(parsed.value().fields().size(), 2u);
        EXPECT_EQ(parsed.value().fieldBytes(2, 1), "Bankinter" + std::string(31, ' '));
    }
}

TEST(DbfImage, CharacterFieldsWiderThan255CarryTheirHighByteInTheDecimals) {
    std::string wide(260, 'x');
    std::string image = DbfBuilder()
                            .field("BANCO", 'C', 4)
                            .field("NOMBRE", 'C', 4, 1)
                            .recordLength(1 + 4 + 260)
                            .build();
    image.pop_back(); // the end-of-file mark
    image += " 0049" + wide + "\x1A";
    DbfBuilder::put32(image, 4, 1);
    DbfResult<DbfImage> parsed = DbfImage::parse(image);
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    EXPECT_EQ(parsed.value().fields()[1].width, 260u);
    EXPECT_EQ(parsed.value().fields()[1].decimals, 0);
    EXPECT_EQ(parsed.value().fieldBytes(0, 1), wide);
}

TEST(DbfImage, DeletedRecordsStayAndTrailingBytesAreIgnored) {
    std::string image = bankTable().record({"0030", "Banesto"}, true).recordCount(3).build();
    image += "garbage after the end";
    DbfResult<DbfImage> parsed = DbfImage::parse(image);
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    // A stale count smaller than the records present reads only the counted ones.
    EXPECT_EQ(parsed.value().recordCount(), 3u);
    EXPECT_FALSE(parsed.value().isDeleted(0));

    DbfResult<DbfImage> all =
        DbfImage::parse(bankTable().record({"0030", "Banesto"}, true).build());
    ASSERT_TRUE(all.ok()) << all.error();
    EXPECT_TRUE(all.value().isDeleted(3));
    EXPECT_EQ(all.value().fieldBytes(3, 0), "0030");
}

TEST(DbfImage, AnUnusualLastUpdateDateIsNoError) {
    std::string image = bankTable().build();
    image[1] = static_cast<char>(130);
    image[2] = 14;
    image[3] = 0;
    DbfResult<DbfImage> parsed = DbfImage::parse(image);
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    EXPECT_EQ(parsed.value().header().lastUpdateYear, 2030);
    EXPECT_EQ(parsed.value().header().lastUpdateMonth, 14);
}

TEST(DbfImage, AccessOutsideTheTableGivesEmptyBytes) {
    DbfResult<DbfImage> parsed = DbfImage::parse(bankTable().build());
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.value().fieldBytes(3, 0), "");
    EXPECT_EQ(parsed.value().fieldBytes(0, 2), "");
    EXPECT_EQ(parsed.value().recordBytes(0xFFFFFFFF), "");
    EXPECT_FALSE(parsed.value().isDeleted(3));
}

TEST(DbfImage, CharacterFieldNamesAMissingOrNonCharacterField) {
    DbfResult<DbfImage> parsed =
        DbfImage::parse(DbfBuilder().field("BANCO", 'N', 4).field("ALTA", 'D', 8).build());
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    EXPECT_EQ(parsed.value().characterField("NOMBRE").error(), "no field NOMBRE");
    EXPECT_EQ(parsed.value().characterField("banco").error(),
              "field banco is of type N, not character");
}

} // namespace
} // namespace cuentas
