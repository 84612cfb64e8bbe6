#include "platform/runtime/runtime.h"

#include <gtest/gtest.h>

#include <cstring>

namespace cuentas {
namespace {

TextBuffer bufferOf(std::string_view bytes) {
    TextBuffer buffer = TextBuffer::allocate(bytes.size());
    std::copy(bytes.begin(), bytes.end(), buffer.data());
    return buffer;
}

// Every length up to past what a text holds inline, then a long one; no two bytes alike, a NUL
// among them.
std::vector<std::string> texts() {
    std::vector<std::string> all;
    const std::string bytes("0049\0Inexistente Entidad de cr\xE9"
                            "dito con nombre largo",
                            48);
    for (std::size_t length = 0; length <= Text::kInlineSize + 2; ++length) {
        all.push_back(bytes.substr(bytes.size() - length));
    }
    all.push_back(bytes);
    return all;
}

TEST(Text, KeepsEveryByteWhetherCopiedOrSlicedFromABuffer) {
    for (const std::string& bytes : texts()) {
        const std::string framed = "<<" + bytes + ">>";
        const Text copied(bytes);
        const Text sliced = Text::slice(bufferOf(framed), 2, bytes.size());
        EXPECT_EQ(copied.view(), bytes);
        EXPECT_EQ(sliced.view(), bytes);
        EXPECT_EQ(copied, sliced) << bytes;
        Text assigned;
        assigned = sliced;
        Text moved(std::move(assigned));
        EXPECT_EQ(moved.view(), bytes);
    }
}

TEST(Text, DiffersByOneByteOrByLength) {
    struct Case {
        std::string left;
        std::string right;
    };
    const Case cases[] = {
        {"0049", "0048"},
        {"0049", "0049 "},
        {"ab", std::string("ab\0", 3)}, // the zeros after a short text are not part of it
        {std::string(40, 'x'), std::string(39, 'x') + "y"},
        {std::string(40, 'x'), std::string(41, 'x')},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(Text(c.left) == Text::slice(bufferOf(c.right), 0, c.right.size()))
            << c.left << " / " << c.right;
    }
}

TEST(Text, ASliceOutlivesItsBufferAndItsOtherTexts) {
    Text name;
    {
        TextBuffer buffer = bufferOf("0049Banco Santander, S.A.           ");
        Text code = Text::slice(buffer, 0, 4);
        name = Text::slice(buffer, 4, 32);
        Text again = name;
        again = code; // drops one reference to the buffer
    }
    EXPECT_EQ(name.view(), "Banco Santander, S.A.           ");
}

TEST(Text, ASliceOutsideItsBufferIsRefused) {
    TextBuffer buffer = bufferOf("0123456789");
    try {
        Text::slice(buffer, 8, 3);
        FAIL() << "no exception";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "text slice outside its buffer");
    }
    EXPECT_EQ(Text::slice(buffer, 10, 0).view(), "");
}

TEST(Text, ValuesCompareTheSameWhereverTheirBytesLie) {
    const std::string name = "Banco de Espa\xF1"
                             "a                         ";
    TextBuffer buffer = bufferOf("0049" + name);
    const Value code(Text::slice(buffer, 0, 4));
    const Value sliced(Text::slice(buffer, 4, name.size()));
    EXPECT_TRUE(exactEquals(code, Value("0049")));
    EXPECT_TRUE(exactEquals(sliced, Value(name)));
    EXPECT_FALSE(exactEquals(sliced, Value("Banco de Espa\xF1"
                                           "a")));
    resetRuntimeSettings();
    EXPECT_TRUE(equals(sliced, Value("Banco de")));
    EXPECT_EQ(sliced.typeNumber(), 7u);
    EXPECT_EQ(Trim(sliced.asString()), "Banco de Espa\xF1"
                                       "a");
}

} // namespace
} // namespace cuentas
