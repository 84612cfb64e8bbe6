#include "platform/runtime/raise.h"

#include "platform/os/operating_system.h"
#include "platform/runtime/call_stack.h"
#include "platform/runtime/error_record.h"

#include <array>
#include <cstdlib>
#include <utility>

namespace cuentas {
namespace {

struct RaisingState {
    Value errorBlock;
    Value errorFunction;
    Value builtInConversion;
    std::uint32_t runtimeStarts = 0;
};

RaisingState& state() {
    static RaisingState instance;
    return instance;
}

struct CodeText {
    std::uint32_t code;
    const char* text;
};

constexpr std::array kGeneralCodes{
    CodeText{0, "No error"},
    CodeText{gencode::kArgument, "Argument error"},
    CodeText{gencode::kBound, "Array bound error"},
    CodeText{gencode::kStringOverflow, "String too long"},
    CodeText{gencode::kNumericOverflow, "Numeric overflow"},
    CodeText{gencode::kZeroDivide, "Division by zero"},
    CodeText{gencode::kNumeric, "Numeric error"},
    CodeText{7, "Syntax error"},
    CodeText{8, "Undefined symbol"},
    CodeText{gencode::kNoMethod, "No such method"},
    CodeText{gencode::kNoProperty, "No such property"},
    CodeText{gencode::kNotObject, "Not an object"},
    CodeText{gencode::kMemory, "Memory exhausted"},
    CodeText{13, "Stack overflow"},
    CodeText{gencode::kInternal, "Internal error"},
    CodeText{gencode::kCreate, "Create error"},
    CodeText{gencode::kOpen, "Open error"},
    CodeText{gencode::kClose, "Close error"},
    CodeText{gencode::kRead, "Read error"},
    CodeText{gencode::kWrite, "Write error"},
    CodeText{25, "Rename error"},
    CodeText{26, "Delete error"},
    CodeText{gencode::kWrongClass, "Wrong class"},
    CodeText{gencode::kDataType, "Data type error"},
    CodeText{gencode::kIllegalArgument, "Illegal argument"},
    CodeText{gencode::kCorruption, "Corruption detected"},
    CodeText{gencode::kLock, "Lock error"},
};

Address storeOptionalText(const std::string& text, AddressScope& scope) {
    return text.empty() ? 0 : scope.keep(addressSpace().storeText(text));
}

Address storeArguments(const std::vector<Value>& args, AddressScope& scope) {
    if (args.empty()) {
        return 0;
    }
    Address block = scope.keep(addressSpace().allocate(kArgumentBlockHeader + 4 * args.size()));
    auto bytes = addressSpace().bytes(block);
    auto count = static_cast<std::uint16_t>(args.size());
    bytes[0] = static_cast<std::uint8_t>(count & 0xFF);
    bytes[1] = static_cast<std::uint8_t>(count >> 8);
    bytes[2] = bytes[0];
    bytes[3] = bytes[1];
    for (std::size_t i = 0; i < args.size(); ++i) {
        Address box = scope.keep(addressSpace().storeValue(args[i]));
        writeLittleEndian32(bytes.data() + kArgumentBlockHeader + 4 * i, box);
    }
    return block;
}

[[noreturn]] void endWithoutHandler(const RuntimeError& error) {
    operatingSystem().writeStandardError(
        "cuentas: unhandled runtime error " + std::to_string(error.genCode) + " (" +
        ErrString(error.genCode) + "): " + error.description + "\n");
    int code = error.genCode == 0 ? 1 : static_cast<int>(error.genCode);
    operatingSystem().exitProcess(code);
    std::abort(); // a replaced exitProcess must not return either
}

} // namespace

std::string ErrString(std::uint32_t genCode) {
    for (const auto& entry : kGeneralCodes) {
        if (entry.code == genCode) {
            return entry.text;
        }
    }
    return "Unknown error";
}

std::string TypeString(std::uint32_t typeNumber) {
    if (typeNumber == kAnyTypeNumber) {
        return "ANY";
    }
    switch (static_cast<Type>(typeNumber)) {
    case Type::Nil:
        return "NIL";
    case Type::Integer:
        return "INTEGER";
    case Type::Date:
        return "DATE";
    case Type::Float:
        return "FLOAT";
    case Type::Array:
        return "ARRAY";
    case Type::Object:
        return "OBJECT";
    case Type::String:
        return "STRING";
    case Type::Logic:
        return "LOGIC";
    case Type::CodeBlock:
        return "CODEBLOCK";
    case Type::Symbol:
        return "SYMBOL";
    case Type::Unsigned:
        return "UNSIGNED";
    case Type::Pointer:
        return "POINTER";
    }
    return "UNKNOWN";
}

Value ErrorBlock() {
    return state().errorBlock;
}
Value ErrorBlock(Value block) {
    return std::exchange(state().errorBlock, std::move(block));
}

Value ErrorFunc() {
    return state().errorFunction;
}
Value ErrorFunc(Value functionPointer) {
    return std::exchange(state().errorFunction, std::move(functionPointer));
}

std::uint32_t runtimeStartCount() {
    return state().runtimeStarts;
}
void startRuntime() {
    ++state().runtimeStarts;
}

void setBuiltInErrorConversion(Value functionPointer) {
    state().builtInConversion = std::move(functionPointer);
}

Value ErrorBuild(Address record) {
    const auto* function = addressSpace().function(state().errorFunction.asAddress());
    if (!function) {
        function = addressSpace().function(state().builtInConversion.asAddress());
    }
    if (!function) {
        return Value();
    }
    Value argument = Value::pointer(record);
    return (*function)(Arguments(&argument, 1));
}

Address writeErrorRecord(const RuntimeError& e, AddressScope& scope) {
    Address record = scope.keep(addressSpace().allocate(kRecordSize));
    RecordView view(addressSpace().bytes(record).first<kRecordSize>());
    view.set(RecordField::Subsystem, storeOptionalText(e.subsystem, scope));
    view.set(RecordField::SubCode, e.subCode);
    view.set(RecordField::GenCode, e.genCode);
    view.set(RecordField::OsCode, e.osCode);
    view.set(RecordField::Severity, e.severity);
    view.set(RecordField::CanDefault, e.canDefault);
    view.set(RecordField::CanRetry, e.canRetry);
    view.set(RecordField::CanSubstitute, e.canSubstitute);
    view.set(RecordField::Operation, storeOptionalText(e.operation, scope));
    view.set(RecordField::Description, storeOptionalText(e.description, scope));
    view.set(RecordField::FileName, storeOptionalText(e.fileName, scope));
    view.set(RecordField::Args, storeArguments(e.args, scope));
    view.set(RecordField::Tries, e.tries);
    view.set(RecordField::FuncSym, e.funcSym.number());
    view.set(RecordField::Handle, e.fileHandle);
    view.set(RecordField::ArgNum, e.argNum);
    view.set(RecordField::FuncPtr, e.funcPtr);
    view.set(RecordField::SubCodeText, storeOptionalText(e.subCodeText, scope));
    view.set(RecordField::Arg, storeOptionalText(e.arg, scope));
    view.set(RecordField::ArgType, e.argType);
    view.set(RecordField::ArgTypeReq, e.argTypeReq);
    view.set(RecordField::MaxSize, e.maxSize);
    view.set(RecordField::SubstituteType, e.substituteType);
    view.set(RecordField::Choice, e.choice);
    view.set(RecordField::CallFuncSym, e.callFuncSym.number());
    return record;
}

Value raiseError(const RuntimeError& error, SourceLocation where) {
    noteCallSite(where);
    Value errorObject;
    {
        AddressScope scope;
        errorObject = ErrorBuild(writeErrorRecord(error, scope));
    }
    if (!errorObject.isObject() || ErrorBlock().isNil()) {
        endWithoutHandler(error);
    }
    return Eval(ErrorBlock(), errorObject);
}

Value raiseErrorObject(const Value& errorObject) {
    return Eval(ErrorBlock(), errorObject);
}

bool answerIsRetry(const Value& answer, const RuntimeError& error) {
    return error.canRetry && answer.isLogic() && answer.asLogic();
}

bool answerIsSubstitute(const Value& answer, const RuntimeError& error) {
    return error.canSubstitute && !answer.isLogic() && !answer.isNil();
}

} // namespace cuentas
