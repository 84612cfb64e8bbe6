#include "errors/error_conversion.h"
#include "errors/error_object.h"
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "tests/support/recording_os.h"

#include <gtest/gtest.h>

namespace cuentas {
namespace {

using testing::RecordingOs;

// A runtime error record built byte by byte in the address space, released at the end.
class RecordBuilder {
public:
    RecordBuilder() : address_(scope_.keep(addressSpace().allocate(kRecordSize))) {}

    Address address() const { return address_; }
    Value pointer() const { return Value::pointer(address_); }

    RecordBuilder& set(RecordField field, std::uint32_t value) {
        writeLittleEndian32(addressSpace().bytes(address_).data() + offsetOf(field), value);
        return *this;
    }
    RecordBuilder& text(RecordField field, std::string_view text) {
        return set(field, scope_.keep(addressSpace().storeText(text)));
    }
    // Two 16-bit counts, then the addresses of the boxed values.
    RecordBuilder& arguments(std::uint16_t first, std::uint16_t second,
                             const std::vector<Value>& values) {
        Address block = scope_.keep(addressSpace().allocate(4 + 4 * values.size()));
        auto bytes = addressSpace().bytes(block);
        bytes[0] = static_cast<std::uint8_t>(first);
        bytes[1] = static_cast<std::uint8_t>(first >> 8);
        bytes[2] = static_cast<std::uint8_t>(second);
        bytes[3] = static_cast<std::uint8_t>(second >> 8);
        for (std::size_t i = 0; i < values.size(); ++i) {
            writeLittleEndian32(bytes.data() + 4 + 4 * i,
                                scope_.keep(addressSpace().storeValue(values[i])));
        }
        return set(RecordField::Args, block);
    }
    Address keep(Address address) { return scope_.keep(address); }

private:
    AddressScope scope_;
    Address address_;
};

class ConversionTest : public ::testing::Test {
protected:
    void SetUp() override { declareErrorClass(); }
    RecordingOs os;
    ScopedOs scoped{os};
};

TEST_F(ConversionTest, NumberLogicSymbolAndAddressFieldsAreCopiedUnchanged) {
    Symbol function = Symbol::intern("DBSERVER");
    Symbol called = Symbol::intern("FOPEN");
    RecordBuilder record;
    record.set(RecordField::SubCode, 5333)
        .set(RecordField::GenCode, 21)
        .set(RecordField::OsCode, 0xC0000005)
        .set(RecordField::Severity, 3)
        .set(RecordField::CanDefault, 1)
        .set(RecordField::CanRetry, 0)
        .set(RecordField::CanSubstitute, 7) // any non-zero word is TRUE
        .set(RecordField::Tries, 4)
        .set(RecordField::FuncSym, function.number())
        .set(RecordField::Handle, 9)
        .set(RecordField::ArgNum, 2)
        .set(RecordField::FuncPtr, 0x7FFE1234)
        .set(RecordField::ArgType, 7)
        .set(RecordField::ArgTypeReq, 14)
        .set(RecordField::MaxSize, 65535)
        .set(RecordField::SubstituteType, 18)
        .set(RecordField::CallFuncSym, called.number())
        .text(RecordField::Subsystem, "DBFCDX")
        .text(RecordField::Operation, "Open")
        .text(RecordField::Description, "Cannot open \xE1rbol")
        .text(RecordField::FileName, "C:\\CUENTAS\\NomBancos.dbf")
        .text(RecordField::SubCodeText, "sub")
        .text(RecordField::Arg, "NomBancos.dbf");
    Value error = DefErrorGen(record.pointer());
    ASSERT_TRUE(IsInstanceOf(error, Symbol::intern("ERROR")));
    using P = ErrorProperty;
    EXPECT_EQ(errorNumber(error, P::SubCode), 5333u);
    EXPECT_EQ(errorNumber(error, P::GenCode), 21u);
    EXPECT_EQ(errorNumber(error, P::OsCode), 0xC0000005u);
    EXPECT_EQ(errorNumber(error, P::Severity), 3u);
    EXPECT_TRUE(errorFlag(error, P::CanDefault));
    EXPECT_FALSE(errorFlag(error, P::CanRetry));
    EXPECT_TRUE(errorFlag(error, P::CanSubstitute));
    EXPECT_EQ(errorNumber(error, P::Tries), 4u);
    EXPECT_EQ(errorGet(error, P::FuncSym).asSymbol(), function);
    EXPECT_EQ(errorNumber(error, P::Handle), 9u);
    EXPECT_EQ(errorNumber(error, P::ArgNum), 2u);
    EXPECT_EQ(errorGet(error, P::FuncPtr).asAddress(), 0x7FFE1234u);
    EXPECT_EQ(errorNumber(error, P::ArgType), 7u);
    EXPECT_EQ(errorNumber(error, P::ArgTypeReq), 14u);
    EXPECT_EQ(errorNumber(error, P::MaxSize), 65535u);
    EXPECT_EQ(errorNumber(error, P::SubstituteType), 18u);
    EXPECT_EQ(errorGet(error, P::CallFuncSym).asSymbol(), called);
    EXPECT_EQ(errorText(error, P::SubSystem), "DBFCDX");
    EXPECT_EQ(errorText(error, P::Operation), "Open");
    EXPECT_EQ(errorText(error, P::Description), "Cannot open \xE1rbol");
    EXPECT_EQ(errorText(error, P::FileName), "C:\\CUENTAS\\NomBancos.dbf");
    EXPECT_EQ(errorText(error, P::SubCodeText), "sub");
    EXPECT_EQ(errorText(error, P::Arg), "NomBancos.dbf");
    EXPECT_TRUE(os.messageBoxes.empty());
}

TEST_F(ConversionTest, AllTextAddressesZeroGiveEmptyStringsAndNoArgumentsAnEmptyArray) {
    RecordBuilder record;
    Value error = DefErrorGen(record.pointer());
    for (auto property :
         {ErrorProperty::SubSystem, ErrorProperty::Operation, ErrorProperty::Description,
          ErrorProperty::FileName, ErrorProperty::SubCodeText, ErrorProperty::Arg}) {
        Value text = errorGet(error, property);
        EXPECT_TRUE(text.isString());
        EXPECT_EQ(text.asString(), "");
    }
    Value args = errorGet(error, ErrorProperty::Args);
    ASSERT_TRUE(args.isArray());
    EXPECT_EQ(ALen(args), 0u);
    // The record's zero severity is copied too: the class's initial 2 does not survive.
    EXPECT_EQ(errorNumber(error, ErrorProperty::Severity), 0u);
}

struct ArgumentCase {
    std::uint16_t first;
    std::uint16_t second;
    std::size_t expected;
};

TEST_F(ConversionTest, TheArgumentsHoldAsManyValuesAsTheLargerCount) {
    const std::vector<Value> values{Value("NomBancos.dbf"), Value::integer(-3), Value::logic(true)};
    for (const auto& c : {ArgumentCase{2, 3, 3}, ArgumentCase{3, 2, 3}, ArgumentCase{1, 0, 1},
                          ArgumentCase{0, 0, 0}}) {
        SCOPED_TRACE(std::to_string(c.first) + "/" + std::to_string(c.second));
        RecordBuilder record;
        record.arguments(c.first, c.second, values);
        Value args = errorGet(DefErrorGen(record.pointer()), ErrorProperty::Args);
        ASSERT_EQ(ALen(args), c.expected);
        for (std::size_t i = 1; i <= c.expected; ++i) {
            EXPECT_TRUE(exactEquals(args.asArray()->at(i), values[i - 1]));
        }
    }
}

TEST_F(ConversionTest, ACountBeyondTheBlockGivesAnEmptyArrayInsteadOfReadingPastIt) {
    RecordBuilder record;
    record.arguments(2, 40, {Value("a"), Value("b")});
    EXPECT_EQ(ALen(errorGet(DefErrorGen(record.pointer()), ErrorProperty::Args)), 0u);
}

TEST_F(ConversionTest, ARuntimeManagedStringBecomesTheArgumentItself) {
    RecordBuilder record;
    std::string managed("12\0"
                        "34",
                        5); // a managed string may hold a NUL
    Address dynamic = record.keep(addressSpace().storeDynamicString(managed));
    ASSERT_TRUE(IsDynPtr(dynamic));
    record.set(RecordField::Arg, dynamic);
    EXPECT_EQ(errorText(DefErrorGen(record.pointer()), ErrorProperty::Arg), managed);
}

TEST_F(ConversionTest, TheChoiceIsCopiedOnlyOntoAZeroChoice) {
    RecordBuilder record;
    record.set(RecordField::Choice, 2);
    EXPECT_EQ(errorNumber(DefErrorGen(record.pointer()), ErrorProperty::Choice), 2u);

    ClassInfo& errorClass = DeclareClass("ERROR");
    errorClass.method("INIT", [](Object& self, Arguments) {
        Value object(self.reference());
        errorPut(object, ErrorProperty::Choice, Value::unsignedNumber(5));
        return object;
    });
    EXPECT_EQ(errorNumber(DefErrorGen(record.pointer()), ErrorProperty::Choice), 5u);
    errorClass.method("INIT", [](Object& self, Arguments) { return Value(self.reference()); });
}

TEST_F(ConversionTest, AnArgumentThatIsNoPointerShowsTheWrongTagBoxOnce) {
    for (const Value& argument :
         {Value::integer(4096), Value("record"), Value(), Value::pointer(0x0DEAD000)}) {
        SCOPED_TRACE(AsString(argument));
        os.messageBoxes.clear();
        Value error = DefErrorGen(argument);
        ASSERT_TRUE(IsInstanceOf(error, Symbol::intern("ERROR")));
        EXPECT_EQ(errorNumber(error, ErrorProperty::Severity), kSeverityError); // unfilled
        ASSERT_EQ(os.messageBoxes.size(), 1u);
        EXPECT_EQ(os.messageBoxes[0].text, "Error structure has wrong tag");
        EXPECT_EQ(os.messageBoxes[0].caption, "FROM DefErrorGen");
        EXPECT_EQ(os.messageBoxes[0].flags, kMessageBoxOk);
    }
}

TEST_F(ConversionTest, InstalledAsTheErrorFunctionItBuildsTheRaisedErrors) {
    EXPECT_EQ(runtimeStartCount(), 0u); // this test executable never starts the runtime
    Value previous = ErrorFunc(Value());
    EXPECT_FALSE(installErrorConversion());
    EXPECT_TRUE(ErrorFunc().isNil());
    startRuntime();
    EXPECT_TRUE(installErrorConversion());
    EXPECT_EQ(ErrorFunc().asAddress(), defErrorGenPointer().asAddress());

    RuntimeError raised;
    raised.subsystem = "BASE";
    raised.genCode = gencode::kNumericOverflow;
    raised.description = "Numeric overflow";
    raised.args = {Value::number(3, 0), Value::number(4, 0)};
    AddressScope scope;
    Value error = ErrorBuild(writeErrorRecord(raised, scope));
    EXPECT_EQ(errorText(error, ErrorProperty::SubSystem), "BASE");
    EXPECT_EQ(errorNumber(error, ErrorProperty::GenCode), 4u);
    EXPECT_EQ(ALen(errorGet(error, ErrorProperty::Args)), 2u);
    ErrorFunc(previous);
}

} // namespace
} // namespace cuentas
