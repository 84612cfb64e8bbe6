#include "tests/errors/error_fixture.h"

namespace cuentas {
namespace {

using testing::flag;
using testing::makeError;
using testing::number;
using P = ErrorProperty;

struct TextCase {
    const char* name;
    Value error;
    std::string expected;
};

TEST(ErrorText, RendersEachLineOnlyUnderItsCondition) {
    const std::string fifty(50, 'x');
    const std::vector<TextCase> cases{
        {"only a general code gives the head line alone", makeError({{P::GenCode, number(21)}}),
         "Error Code:  21 [ OPEN ERROR ]\r\n"},
        {"a warning without a general code shows its description twice",
         makeError({{P::Severity, number(1)}, {P::Description, Value("d")}}),
         "WARNING :  d\r\nDescription: d\r\n"},
        {"a warning with a general code",
         makeError({{P::Severity, number(1)}, {P::GenCode, number(30)}}),
         "WARNING :  30 [ ILLEGAL ARGUMENT ]\r\n"},
        {"an error without general code or description", makeError({{P::Severity, number(3)}}),
         "Error Code:  \r\n"},
        {"every line",
         makeError({{P::GenCode, number(21)},
                    {P::SubSystem, Value("DBFCDX")},
                    {P::SubCode, number(1001)},
                    {P::SubCodeText, Value("open failed")},
                    {P::Operation, Value("Open")},
                    {P::FuncSym, Value("DBSERVER")},
                    {P::FileName, Value("NomBancos.dbf")},
                    {P::Arg, Value("NomBancos.dbf")},
                    {P::ArgType, number(7)},
                    {P::ArgNum, number(1)},
                    {P::ArgTypeReq, number(14)},
                    {P::Description, Value("Cannot open file")}}),
         "Error Code:  21 [ OPEN ERROR ]\r\n"
         "Subsystem: DBFCDX\r\n"
         "Error Subcode: 1001 (open failed)\r\n"
         "Operation: Open\r\n"
         "Function: DBSERVER\r\n"
         "Filename: NomBancos.dbf\r\n"
         "Argument: NomBancos.dbf\r\n"
         "Type: STRING\r\n"
         "Argument Number: 1\r\n"
         "Requested type: UNSIGNED\r\n"
         "Description: Cannot open file\r\n"},
        {"a long file name is cut to its first 40 characters",
         makeError({{P::GenCode, number(21)}, {P::FileName, Value(fifty)}}),
         "Error Code:  21 [ OPEN ERROR ]\r\nFilename: " + std::string(40, 'x') + "\r\n"},
        {"an argument type without an argument shows neither",
         makeError({{P::GenCode, number(1)}, {P::ArgType, number(7)}}),
         "Error Code:  1 [ ARGUMENT ERROR ]\r\n"},
        {"an argument without a type shows no type line",
         makeError({{P::GenCode, number(1)}, {P::Arg, Value("x")}}),
         "Error Code:  1 [ ARGUMENT ERROR ]\r\nArgument: x\r\n"},
        {"the requested type equal to the argument's type is not repeated",
         makeError({{P::GenCode, number(29)}, {P::ArgType, number(7)}, {P::ArgTypeReq, number(7)}}),
         "Error Code:  29 [ DATA TYPE ERROR ]\r\n"},
        {"a subcode text without a subcode gives no subcode line",
         makeError({{P::GenCode, number(21)}, {P::SubCodeText, Value("text")}}),
         "Error Code:  21 [ OPEN ERROR ]\r\n"},
        {"a subcode without its text shows only the number",
         makeError({{P::GenCode, number(21)}, {P::SubCode, number(5333)}}),
         "Error Code:  21 [ OPEN ERROR ]\r\nError Subcode: 5333\r\n"},
        {"a blank description still counts as a text",
         makeError({{P::GenCode, number(4)}, {P::Description, Value(" ")}}),
         "Error Code:  4 [ NUMERIC OVERFLOW ]\r\nDescription:  \r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ERRORTEXT(c.error), c.expected);
    }
}

TEST(ErrorText, ReadsTheObjectWithoutChangingIt) {
    Value error = makeError({{P::Severity, number(1)}, {P::Description, Value("d")}});
    ERRORTEXT(error);
    EXPECT_EQ(errorNumber(error, P::Severity), 1u);
    EXPECT_EQ(errorText(error, P::Description), "d");
}

struct HexCase {
    const char* name;
    Value value;
    std::string expected;
};

TEST(HexText, ShowsEveryTypeInItsFixedWidth) {
    Symbol symbol = Symbol::intern("DBSERVER");
    const std::vector<HexCase> cases{
        {"integer", Value::integer(255), "000000FF"},
        {"negative integer", Value::integer(-1), "FFFFFFFF"},
        {"unsigned", Value::unsignedNumber(0xC0000005), "C0000005"},
        {"whole float above the signed range", Value::number(3221225477.0, 0), "C0000005"},
        {"whole negative float", Value::number(-1, 0), "FFFFFFFF"},
        {"whole float at the top of 32 bits", Value::number(4294967295.0, 0), "FFFFFFFF"},
        {"fractional float", Value::number(1.5), "000000003FF80000"},
        {"fractional float shown without decimals", Value::number(1.5, 0), "000000003FF80000"},
        {"float shown with decimals", Value::number(3, 2), "0000000040080000"},
        {"float below the signed range", Value::number(-2147483648.0, 0), "00000000C1E00000"},
        {"float beyond 32 bits", Value::number(4294967296.0, 0), "0000000041F00000"},
        {"text", Value("AB"), "41 42 "},
        {"empty text", Value(""), ""},
        {"pointer", Value::pointer(0x00401000), "00401000"},
        {"symbol", Value(symbol), hexWord(symbol.number())},
        {"true", Value::logic(true), "00000001"},
        {"false", Value::logic(false), "00000000"},
        {"nil", Value(), "00000000"},
        {"date", Value(Date{2460375}), "00258AD7"},
        {"null object", Value(ObjectRef()), "00000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HEXTEXT(c.value), c.expected);
    }
}

TEST(HexText, AFloatShowingDecimalsIsToldByTheRegionalSeparatorToo) {
    SetDecimalSep(',');
    EXPECT_EQ(Str(Value::number(3, 2)), "         3,00");
    EXPECT_EQ(HEXTEXT(Value::number(3, 2)), "0000000040080000");
    EXPECT_EQ(HEXTEXT(Value::number(3221225477.0, 0)), "C0000005");
    resetRuntimeSettings();
}

TEST(HexText, HexBytesGivesTwoDigitsAndABlankPerCharacter) {
    EXPECT_EQ(HEXBYTES(std::string("\xE1\0\x7F", 3)), "E1 00 7F ");
    EXPECT_EQ(HEXBYTES(""), "");
}

TEST(ExeFileName, GivesTheWholePathOrTheNameAfterTheLastBackslash) {
    testing::RecordingOs os;
    ScopedOs scoped(os);
    os.executable = nativePath("\\opt\\cuentas\\bin\\cuentas.exe");
    EXPECT_EQ(EXEFILENAME(ExePath::FullPath), "\\opt\\cuentas\\bin\\cuentas.exe");
    EXPECT_EQ(EXEFILENAME(ExePath::FileName), "cuentas.exe");
    os.executable = "cuentas";
    EXPECT_EQ(EXEFILENAME(ExePath::FileName), "cuentas");
    EXPECT_EQ(EXEFILENAME(ExePath::FullPath), "cuentas");
}

} // namespace
} // namespace cuentas
