#include "errors/error_conversion.h"
#include "errors/error_object.h"
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "tests/support/recording_os.h"

#include <gtest/gtest.h>

namespace cuentas {
namespace {

// Installs an error block for the length of a test and puts the previous one back.
class ScopedErrorBlock {
public:
    explicit ScopedErrorBlock(CodeBlock::Body body)
        : previous_(ErrorBlock(Value(makeCodeBlock(std::move(body))))) {}
    ~ScopedErrorBlock() { ErrorBlock(previous_); }
    ScopedErrorBlock(const ScopedErrorBlock&) = delete;
    ScopedErrorBlock& operator=(const ScopedErrorBlock&) = delete;

private:
    Value previous_;
};

class ErrorObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        declareErrorClass();
        previousFunction_ = ErrorFunc(defErrorGenPointer());
    }
    void TearDown() override { ErrorFunc(previousFunction_); }

private:
    Value previousFunction_;
};

TEST_F(ErrorObjectTest, DeclaresTwentySevenPropertiesInRecordOrder) {
    const ClassInfo* info = findClass(Symbol::intern("ERROR"));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->superclass(), nullptr);
    std::vector<std::string> names;
    for (Symbol symbol : info->properties()) {
        names.push_back(symbol.name());
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "SUBSYSTEM",  "SUBCODE",   "GENCODE",        "OSCODE",    "SEVERITY",
                         "CANDEFAULT", "CANRETRY",  "CANSUBSTITUTE",  "OPERATION", "DESCRIPTION",
                         "FILENAME",   "ARGS",      "TRIES",          "FUNCSYM",   "FILEHANDLE",
                         "ARGNUM",     "FUNCPTR",   "SUBCODETEXT",    "ARG",       "ARGTYPE",
                         "ARGTYPEREQ", "MAXSIZE",   "SUBSTITUTETYPE", "CHOICE",    "CALLFUNCSYM",
                         "CARGO",      "METHODSELF"}));
}

TEST_F(ErrorObjectTest, ANewObjectHoldsTheEmptyValueOfEachPropertysType) {
    Value error(CreateInstance(Symbol::intern("ERROR")));
    ASSERT_TRUE(IsInstanceOf(error, Symbol::intern("ERROR")));
    for (const auto& [name, typeNumber] : errorPropertyTable()) {
        SCOPED_TRACE(name);
        Value value = IVarGet(error, Symbol::intern(name));
        EXPECT_EQ(value.typeNumber(), typeNumber == kAnyTypeNumber ? 0u : typeNumber);
        if (std::string(name) == "SEVERITY") {
            EXPECT_EQ(value.asUnsigned(), kSeverityError);
        } else if (value.isObject()) {
            EXPECT_EQ(value.asObject(), nullptr);
        } else {
            EXPECT_TRUE(Empty(value));
        }
    }
    // Each object has an ARGS array of its own.
    Value other(CreateInstance(Symbol::intern("ERROR")));
    EXPECT_NE(errorGet(error, ErrorProperty::Args).asArray(),
              errorGet(other, ErrorProperty::Args).asArray());
}

TEST_F(ErrorObjectTest, AnAssignmentIsSeenByEveryLaterReaderOfTheSameObject) {
    Value error = newErrorObject();
    Value sameObject = error;
    IVarPut(error, Symbol::intern("severity"), Value::integer(3));
    IVarPut(error, Symbol::intern("CANRETRY"), Value::logic(true));
    EXPECT_EQ(IVarGet(sameObject, Symbol::intern("SEVERITY")).asUnsigned(), 3u);
    EXPECT_EQ(IVarGet(sameObject, Symbol::intern("SEVERITY")).type(), Type::Unsigned);
    EXPECT_TRUE(errorFlag(sameObject, ErrorProperty::CanRetry));
    EXPECT_FALSE(errorFlag(newErrorObject(), ErrorProperty::CanRetry));
}

struct Assignment {
    ErrorProperty property;
    Value assigned;
    Type storedType;
    std::string storedText; // AsString of the stored value
};

TEST_F(ErrorObjectTest, AssignmentsKeepThePropertysType) {
    const std::vector<Assignment> cases{
        {ErrorProperty::GenCode, Value::integer(21), Type::Unsigned, "21"},
        {ErrorProperty::OsCode, Value::number(3221225477.0, 0), Type::Unsigned, "3221225477"},
        {ErrorProperty::FuncSym, Value("setinternational"), Type::Symbol, "SETINTERNATIONAL"},
        {ErrorProperty::FuncSym, Value(Symbol::intern("START")), Type::Symbol, "START"},
        {ErrorProperty::Description, Value("Open error"), Type::String, "Open error"},
        {ErrorProperty::Description, Value(), Type::String, ""},
        {ErrorProperty::FuncPtr, Value::pointer(0x00401000), Type::Pointer, "0x00401000"},
        {ErrorProperty::Cargo, Value::integer(-5), Type::Integer, "-5"},
        {ErrorProperty::CanDefault, Value(), Type::Logic, ".F."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(errorPropertyTable()[static_cast<std::size_t>(c.property)].name);
        Value error = newErrorObject();
        Value result = errorPut(error, c.property, c.assigned);
        Value stored = errorGet(error, c.property);
        EXPECT_EQ(stored.type(), c.storedType);
        EXPECT_EQ(AsString(stored), c.storedText);
        EXPECT_TRUE(exactEquals(result, stored));
    }
}

TEST_F(ErrorObjectTest, AValueOfAnotherTypeRaisesTheDataTypeError) {
    std::vector<Value> raised;
    ScopedErrorBlock block([&](Arguments args) {
        raised.push_back(args[0]);
        return Value::unsignedNumber(7);
    });
    Value error = newErrorObject();
    // The substitute has the right type, so it is assigned.
    EXPECT_EQ(errorPut(error, ErrorProperty::GenCode, Value("21")).asUnsigned(), 7u);
    ASSERT_EQ(raised.size(), 1u);
    EXPECT_EQ(errorNumber(raised[0], ErrorProperty::GenCode), gencode::kDataType);
    EXPECT_EQ(errorGet(raised[0], ErrorProperty::FuncSym).asSymbol().name(), "GENCODE");
    EXPECT_EQ(errorText(raised[0], ErrorProperty::Arg), "21");
    EXPECT_EQ(errorNumber(raised[0], ErrorProperty::ArgType), 7u);
    EXPECT_EQ(errorNumber(raised[0], ErrorProperty::ArgTypeReq), 14u);
    // A substitute of the wrong type leaves the property as it was.
    errorPut(error, ErrorProperty::Description, Value("kept"));
    EXPECT_EQ(errorPut(error, ErrorProperty::Description, Value::logic(true)).asString(), "kept");
    EXPECT_EQ(raised.size(), 2u);
}

TEST_F(ErrorObjectTest, ThrowReturnsExactlyTheBlocksAnswerForTheObjectItself) {
    Value received;
    ScopedErrorBlock block([&](Arguments args) {
        received = args[0];
        return Value("answer of the block");
    });
    Value error = newErrorObject();
    Value answer = Send(error, Symbol::intern("THROW"));
    EXPECT_EQ(answer.asString(), "answer of the block");
    EXPECT_EQ(received.asObject(), error.asObject());

    ScopedErrorBlock retry([](Arguments) { return Value::logic(true); });
    Value again = Send(error, Symbol::intern("THROW"));
    EXPECT_TRUE(again.isLogic() && again.asLogic());
}

TEST_F(ErrorObjectTest, ThrowWithoutAnErrorBlockAnswersNil) {
    Value previous = ErrorBlock(Value());
    EXPECT_TRUE(Send(newErrorObject(), Symbol::intern("THROW")).isNil());
    ErrorBlock(previous);
}

} // namespace
} // namespace cuentas
