#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "tests/support/recording_os.h"

#include <gtest/gtest.h>

namespace cuentas {
namespace {

using testing::ProcessExit;
using testing::RecordingOs;

TEST(ErrorRecord, WritesTheHundredByteLayoutWithItsTexts) {
    RuntimeError error;
    error.subsystem = "DBFCDX";
    error.genCode = gencode::kOpen;
    error.osCode = 2;
    error.canRetry = true;
    error.description = "Cannot open";
    error.args = {Value("NomBancos.dbf"), Value::integer(3)};
    error.funcSym = Symbol::intern("DBSERVER");
    AddressScope scope;
    Address record = writeErrorRecord(error, scope);
    auto bytes = addressSpace().bytes(record);
    ASSERT_EQ(bytes.size(), kRecordSize);
    RecordView view(bytes.first<kRecordSize>());
    EXPECT_EQ(view.get(RecordField::GenCode), 21u);
    EXPECT_EQ(bytes[offsetOf(RecordField::GenCode)], 21);
    EXPECT_EQ(view.get(RecordField::OsCode), 2u);
    EXPECT_EQ(view.get(RecordField::CanRetry), 1u);
    EXPECT_EQ(view.get(RecordField::CanDefault), 0u);
    EXPECT_EQ(view.get(RecordField::Severity), 2u);
    EXPECT_EQ(addressSpace().cString(view.get(RecordField::Subsystem)), "DBFCDX");
    EXPECT_EQ(view.get(RecordField::Operation), 0u);
    EXPECT_EQ(view.get(RecordField::FuncSym), Symbol::intern("DBSERVER").number());
    Address args = view.get(RecordField::Args);
    auto header = addressSpace().read(args, 12);
    ASSERT_TRUE(header);
    EXPECT_EQ((*header)[0], 2);
    EXPECT_EQ((*header)[2], 2);
    auto first = addressSpace().value(readLittleEndian32(header->data() + 4));
    EXPECT_EQ(first->asString(), "NomBancos.dbf");
}

TEST(Raise, WithoutAnErrorBlockTheDescriptionGoesToStderrAndTheProcessEnds) {
    RecordingOs os;
    ScopedOs scoped(os);
    Value oldBlock = ErrorBlock(Value());
    RuntimeError error;
    error.genCode = gencode::kNumericOverflow;
    error.description = "Numeric overflow";
    ::testing::internal::CaptureStderr();
    try {
        raiseError(error);
        ADD_FAILURE() << "the process should have ended";
    } catch (const ProcessExit& exit) {
        EXPECT_EQ(exit.code, 4);
    }
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Numeric overflow"), std::string::npos) << err;
    ErrorBlock(oldBlock);
}

TEST(Raise, WithoutAnErrorBlockTheLineOnStandardErrorNamesTheError) {
    struct StandardErrorOs : RecordingOs {
        std::string written;
        void writeStandardError(const std::string& text) override { written += text; }
    } os;
    ScopedOs scoped(os);
    Value oldBlock = ErrorBlock(Value());
    RuntimeError error;
    error.genCode = gencode::kZeroDivide;
    error.description = "Divisor is zero";
    EXPECT_THROW(raiseError(error), ProcessExit);
    EXPECT_EQ(os.written,
              "cuentas: unhandled runtime error 5 (Division by zero): Divisor is zero\n");
    ErrorBlock(oldBlock);
}

TEST(Raise, TheBlocksAnswerReachesTheFailedOperation) {
    RecordingOs os;
    ScopedOs scoped(os);
    int conversions = 0;
    Value oldFunction = ErrorFunc(Value::pointer(addressSpace().storeFunction([&](Arguments) {
        ++conversions;
        return Value(std::make_shared<Object>(DeclareClass("FAKEERROR")));
    })));
    Value oldBlock =
        ErrorBlock(Value(makeCodeBlock([](Arguments) { return Value::unsignedNumber(0); })));
    EXPECT_EQ(subtractUnsigned(10, 4), 6u);
    EXPECT_EQ(conversions, 0);
    EXPECT_EQ(subtractUnsigned(3, 4), 0u);
    EXPECT_EQ(conversions, 1);
    ErrorBlock(Value(makeCodeBlock([](Arguments) { return Value::integer(-7); })));
    EXPECT_EQ(addSigned(2147483647, 1), -7);
    EXPECT_EQ(addSigned(2, 3), 5);
    ErrorBlock(oldBlock);
    ErrorFunc(oldFunction);
}

TEST(Raise, TheBuiltInConversionServesUntilAnErrorFunctionIsInstalled) {
    RecordingOs os;
    ScopedOs scoped(os);
    Value oldFunction = ErrorFunc(Value());
    int builtIn = 0;
    setBuiltInErrorConversion(Value::pointer(addressSpace().storeFunction([&](Arguments) {
        ++builtIn;
        return Value(std::make_shared<Object>(DeclareClass("FAKEERROR")));
    })));
    Value oldBlock = ErrorBlock(
        Value(makeCodeBlock([](Arguments args) { return Value::logic(args[0].isObject()); })));
    RuntimeError error;
    error.genCode = gencode::kArgument;
    EXPECT_TRUE(raiseError(error).asLogic());
    EXPECT_EQ(builtIn, 1);
    EXPECT_TRUE(ErrorFunc().isNil()); // the error function itself is still not installed
    ErrorFunc(Value::pointer(addressSpace().storeFunction(
        [](Arguments) { return Value(std::make_shared<Object>(DeclareClass("FAKEERROR"))); })));
    raiseError(error);
    EXPECT_EQ(builtIn, 1); // an installed function takes precedence
    setBuiltInErrorConversion(Value());
    ErrorBlock(oldBlock);
    ErrorFunc(oldFunction);
}

TEST(CallStack, LevelsCountFromTheRunningRoutineAndEndWithLineZero) {
    std::uint32_t outerLine = 0;
    {
        RoutineFrame outer("OUTER");
        outerLine = __LINE__ + 1;
        noteCallSite(SourceLocation::current());
        RoutineFrame inner("INNER");
        EXPECT_EQ(ProcName(0), "INNER");
        EXPECT_EQ(ProcName(1), "OUTER");
        EXPECT_EQ(ProcLine(1), outerLine);
        EXPECT_EQ(ProcLine(2), 0u);
        EXPECT_EQ(ProcName(2), "");
    }
    EXPECT_EQ(ProcLine(0), 0u);
}

} // namespace
} // namespace cuentas
