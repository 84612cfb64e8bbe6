#include "errors/error_object.h"

#include "platform/runtime/class_declaration.h"
#include "platform/runtime/raise.h"
#include "platform/runtime/text.h"

#include <optional>

namespace cuentas {
namespace {

constexpr std::uint32_t kArray = typeNumber(Type::Array);
constexpr std::uint32_t kObject = typeNumber(Type::Object);
constexpr std::uint32_t kString = typeNumber(Type::String);
constexpr std::uint32_t kLogic = typeNumber(Type::Logic);
constexpr std::uint32_t kSymbol = typeNumber(Type::Symbol);
constexpr std::uint32_t kUnsigned = typeNumber(Type::Unsigned);
constexpr std::uint32_t kPointer = typeNumber(Type::Pointer);

constexpr std::array<ErrorPropertyInfo, kErrorPropertyCount> kProperties{{
    {"SUBSYSTEM", kString},   {"SUBCODE", kUnsigned},        {"GENCODE", kUnsigned},
    {"OSCODE", kUnsigned},    {"SEVERITY", kUnsigned},       {"CANDEFAULT", kLogic},
    {"CANRETRY", kLogic},     {"CANSUBSTITUTE", kLogic},     {"OPERATION", kString},
    {"DESCRIPTION", kString}, {"FILENAME", kString},         {"ARGS", kArray},
    {"TRIES", kUnsigned},     {"FUNCSYM", kSymbol},          {"FILEHANDLE", kUnsigned},
    {"ARGNUM", kUnsigned},    {"FUNCPTR", kPointer},         {"SUBCODETEXT", kString},
    {"ARG", kString},         {"ARGTYPE", kUnsigned},        {"ARGTYPEREQ", kUnsigned},
    {"MAXSIZE", kUnsigned},   {"SUBSTITUTETYPE", kUnsigned}, {"CHOICE", kUnsigned},
    {"CALLFUNCSYM", kSymbol}, {"CARGO", kAnyTypeNumber},     {"METHODSELF", kObject},
}};

class ErrorObject : public Object {
public:
    explicit ErrorObject(const ClassInfo& info) : Object(info) {
        for (std::size_t i = 0; i < kErrorPropertyCount; ++i) {
            slots[i] = emptyValueOf(kProperties[i].typeNumber);
        }
        slots[static_cast<std::size_t>(ErrorProperty::Severity)] =
            Value::unsignedNumber(kSeverityError);
    }

    static Value emptyValueOf(std::uint32_t typeNumber) {
        if (typeNumber == kObject) {
            return Value(ObjectRef());
        }
        return EmptyUsual(typeNumber); // a fresh empty array for ARGS, nil for CARGO
    }

    std::array<Value, kErrorPropertyCount> slots;
};

// The value as the property's type holds it, or nothing when the type cannot take it.
std::optional<Value> coerce(std::uint32_t typeNumber, const Value& value) {
    if (value.isNil()) {
        return ErrorObject::emptyValueOf(typeNumber);
    }
    switch (typeNumber) {
    case kString:
        return value.isString() ? std::optional<Value>(value) : std::nullopt;
    case kUnsigned:
        return value.isNumeric() ? std::optional<Value>(Value::unsignedNumber(value.asUnsigned()))
                                 : std::nullopt;
    case kLogic:
        return value.isLogic() ? std::optional<Value>(value) : std::nullopt;
    case kArray:
        return value.isArray() ? std::optional<Value>(value) : std::nullopt;
    case kSymbol:
        if (value.isString()) {
            return Value(Symbol::intern(value.asString()));
        }
        return value.isSymbol() ? std::optional<Value>(value) : std::nullopt;
    case kPointer:
        return value.isPointer() ? std::optional<Value>(value) : std::nullopt;
    case kObject:
        return value.isObject() ? std::optional<Value>(value) : std::nullopt;
    default:
        return value; // any value
    }
}

void assign(ErrorObject& self, std::size_t index, const Value& value) {
    auto& slots = self.slots;
    const ErrorPropertyInfo& info = kProperties[index];
    if (auto typed = coerce(info.typeNumber, value)) {
        slots[index] = std::move(*typed);
        return;
    }
    RuntimeError error;
    error.subsystem = "BASE";
    error.genCode = gencode::kDataType;
    error.operation = "IVarPut";
    error.description = "Data type error";
    error.funcSym = errorPropertySymbol(static_cast<ErrorProperty>(index));
    error.arg = AsString(value);
    error.argType = value.typeNumber();
    error.argTypeReq = info.typeNumber;
    error.argNum = 1;
    error.canDefault = true;
    error.canSubstitute = true;
    error.substituteType = info.typeNumber;
    Value answer = raiseError(error);
    if (answerIsSubstitute(answer, error)) {
        if (auto typed = coerce(info.typeNumber, answer)) {
            slots[index] = std::move(*typed);
        }
    }
}

const Symbol& classSymbol() {
    static const Symbol symbol = Symbol::intern("ERROR");
    return symbol;
}

} // namespace

const std::array<ErrorPropertyInfo, kErrorPropertyCount>& errorPropertyTable() {
    return kProperties;
}

void declareErrorClass() {
    ClassDeclaration<ErrorObject> declaration("ERROR");
    for (std::size_t i = 0; i < kErrorPropertyCount; ++i) {
        declaration.property(
            kProperties[i].name, [i](const ErrorObject& error) { return error.slots[i]; },
            [i](ErrorObject& error, const Value& value) { assign(error, i, value); });
    }
    // THROW hands the object to whatever error block is current and answers with its result.
    declaration.method("THROW", [](Object& self, Arguments) {
        return Eval(ErrorBlock(), Value(self.reference()));
    });
}

Symbol errorClassSymbol() {
    return classSymbol();
}

Symbol errorPropertySymbol(ErrorProperty property) {
    static const auto symbols = [] {
        std::array<Symbol, kErrorPropertyCount> all{};
        for (std::size_t i = 0; i < kErrorPropertyCount; ++i) {
            all[i] = Symbol::intern(kProperties[i].name);
        }
        return all;
    }();
    return symbols[static_cast<std::size_t>(property)];
}

Value newErrorObject() {
    if (!findClass(classSymbol())) {
        declareErrorClass();
    }
    return Value(CreateInstance(classSymbol()));
}

Value errorGet(const Value& error, ErrorProperty property) {
    return IVarGet(error, errorPropertySymbol(property));
}

Value errorPut(const Value& error, ErrorProperty property, const Value& value) {
    return IVarPut(error, errorPropertySymbol(property), value);
}

std::string errorText(const Value& error, ErrorProperty property) {
    return std::string(errorGet(error, property).asString());
}

std::uint32_t errorNumber(const Value& error, ErrorProperty property) {
    return errorGet(error, property).asUnsigned();
}

bool errorFlag(const Value& error, ErrorProperty property) {
    return errorGet(error, property).asLogic();
}

} // namespace cuentas
