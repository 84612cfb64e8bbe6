#include "cli/json.h"
#include "cli/messages.h"
#include "cli/text_builder.h"
#include "cli/utf8.h"

#include "tests/support/recording_os.h"

#include <gtest/gtest.h>

namespace cuentas::cli {
namespace {

TEST(Utf8, CharactersAreCountedAndIllFormedBytesStandAlone) {
    struct Case {
        std::string_view text;
        std::size_t offset;
        std::string_view bytes;
        std::uint32_t position;
        bool wellFormed;
    };
    const Case cases[] = {
        {"abc", 2, "c", 3, true},
        {"\xC3\xA9x", 2, "x", 2, true},
        {"\xC3\xA9x", 1, "\xC3\xA9", 1, true},   // inside a character: that character
        {"a\xE2\x82\xAC!", 4, "!", 3, true},     // three bytes
        {"a\xF0\x9F\x98\x80!", 5, "!", 3, true}, // four bytes
        {"\xF1x", 0, "\xF1", 1, false},          // a Latin-1 byte
        {"\xC0\xAFz", 2, "z", 3, true},          // an overlong form is two bad bytes
        {"\xED\xA0\x80", 0, "\xED", 1, false},   // a surrogate
        {"\xE2\x82", 0, "\xE2", 1, false},       // cut short
    };
    for (const Case& c : cases) {
        const CharacterAt at = characterAt(c.text, c.offset);
        EXPECT_EQ(at.bytes, c.bytes) << c.text;
        EXPECT_EQ(at.position, c.position) << c.text;
        EXPECT_EQ(at.wellFormed, c.wellFormed) << c.text;
    }
}

TEST(TextBuilder, PiecesOfEveryLengthArriveWholeAndInOrder) {
    // Every length the short copies treat apart, at every alignment, through many growths.
    std::string source;
    for (int i = 0; i < 300; ++i) {
        source.push_back(static_cast<char>('!' + i % 90));
    }
    TextBuilder built;
    std::string expected;
    for (std::size_t offset = 0; offset < 17; ++offset) {
        for (std::size_t length = 0; length <= 130; ++length) {
            const std::string_view piece = std::string_view(source).substr(offset, length);
            built.append(piece);
            built.push_back('|');
            expected.append(piece);
            expected.push_back('|');
        }
    }
    EXPECT_EQ(built.view(), expected);
    // A piece of the text itself, appended when it must grow, is read before it moves.
    TextBuilder own;
    own.append("0123456789");
    for (int i = 0; i < 8; ++i) {
        own.append(own.view());
    }
    EXPECT_EQ(own.size(), 2560u);
    EXPECT_EQ(own.view().substr(2550), "0123456789");
    own.clear();
    EXPECT_TRUE(own.empty());
}

TEST(Json, StringsAreEscapedAndKeptValidUtf8) {
    TextBuilder out;
    appendJsonString(out, "a\"b\\c\n\x01\x1F \xC3\xB1 \xF1 \xE2\x82\xAC");
    EXPECT_EQ(out.view(), "\"a\\\"b\\\\c\\u000a\\u0001\\u001f \xC3\xB1 \xEF\xBF\xBD \xE2\x82\xAC\"");
}

TEST(Messages, PlaceholdersAndLanguages) {
    const Messages english(Language::English);
    EXPECT_EQ(english.format(Text::Length, {"19", "20"}), "19 digits given, 20 expected");
    EXPECT_EQ(english.format(Text::Today, {"{2}", "x"}), "{2}, today x"); // arguments stay as given
    const Messages spanish(Language::Spanish);
    EXPECT_EQ(spanish.format(Text::Chars, {spanish.format(Text::Quoted, {"x"}), "3"}),
              "el car\xC3\xA1"
              "cter \xC2\xABx\xC2\xBB de la posici\xC3\xB3n 3 no es una cifra");
    // The literal pieces between placeholders, for callers that write the arguments.
    TextBuilder pieces;
    english.appendPiece(pieces, Text::Warning, 0);
    pieces += "A";
    english.appendPiece(pieces, Text::Warning, 1);
    pieces += "B";
    english.appendPiece(pieces, Text::Warning, 2);
    EXPECT_EQ(pieces.view(), english.format(Text::Warning, {"A", "B"}));
    // The first locale variable that is set decides.
    testing::RecordingOs os;
    ScopedOs scoped(os);
    os.environment = {{"LC_ALL", std::nullopt}, {"LC_MESSAGES", std::nullopt}};
    for (const char* locale : {"es", "es_ES", "es_ES.UTF-8", "es.UTF-8", "es_ES@euro"}) {
        os.environment["LANG"] = locale;
        EXPECT_EQ(languageOfUser(), Language::Spanish) << locale;
    }
    for (const char* locale : {"C", "POSIX", "en_US.UTF-8", "est", "eu_ES.UTF-8"}) {
        os.environment["LANG"] = locale;
        EXPECT_EQ(languageOfUser(), Language::English) << locale;
    }
    os.environment["LC_MESSAGES"] = "en_US.UTF-8";
    os.environment["LANG"] = "es_ES.UTF-8";
    EXPECT_EQ(languageOfUser(), Language::English);
}

} // namespace
} // namespace cuentas::cli
