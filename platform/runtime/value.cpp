#include "platform/runtime/value.h"

#include "platform/runtime/object.h"
#include "platform/runtime/settings.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace cuentas {

Value::Value(ArrayRef array) : payload_(std::move(array)) {}
Value::Value(ObjectRef object) : payload_(std::move(object)) {}
Value::Value(CodeBlockRef block) : payload_(std::move(block)) {}

bool Value::isNumeric() const {
    Type t = type();
    return t == Type::Integer || t == Type::Float || t == Type::Unsigned;
}

Symbol Value::asSymbol() const {
    const auto* symbol = std::get_if<Symbol>(&payload_);
    return symbol ? *symbol : Symbol();
}

double Value::asNumber() const {
    if (const auto* i = std::get_if<std::int32_t>(&payload_)) {
        return *i;
    }
    if (const auto* u = std::get_if<std::uint32_t>(&payload_)) {
        return *u;
    }
    if (const auto* f = std::get_if<Float>(&payload_)) {
        return f->value;
    }
    return 0;
}

std::int64_t Value::asWholeNumber() const {
    double n = std::trunc(asNumber());
    if (!(n >= -9.2e18 && n <= 9.2e18)) {
        return 0; // NaN or far outside any count the program uses
    }
    return static_cast<std::int64_t>(n);
}

std::uint32_t Value::asUnsigned() const {
    if (const auto* u = std::get_if<std::uint32_t>(&payload_)) {
        return *u;
    }
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(asWholeNumber()));
}

std::int32_t Value::asInteger() const {
    return static_cast<std::int32_t>(asUnsigned());
}

Date Value::asDate() const {
    const auto* date = std::get_if<Date>(&payload_);
    return date ? *date : Date();
}

std::uint32_t Value::asAddress() const {
    const auto* pointer = std::get_if<Pointer>(&payload_);
    return pointer ? pointer->address : 0;
}

int Value::decimals() const {
    const auto* f = std::get_if<Float>(&payload_);
    return f ? f->decimals : -1;
}

Value CodeBlock::operator()(Arguments arguments) const {
    if (!test_) {
        return body_(arguments);
    }
    return Value::logic(arguments.empty() ? test_(Value()) : test_(arguments.front()));
}

CodeBlockRef makeCodeBlock(CodeBlock::Body body, std::uint32_t parameterCount) {
    return std::make_shared<const CodeBlock>(std::move(body), parameterCount);
}

CodeBlockRef makeTestBlock(CodeBlock::Test test) {
    return std::make_shared<const CodeBlock>(std::move(test));
}

Value Eval(const Value& block, Arguments arguments) {
    const auto& body = block.asCodeBlock();
    return body ? (*body)(arguments) : Value();
}

Value Eval(const Value& block, const Value& argument) {
    return Eval(block, Arguments(&argument, 1));
}

namespace {

bool textEquals(const Text& left, const Text& right, bool exact) {
    if (exact) {
        return left == right;
    }
    // Non-exact: the left text equals a right text that it begins with.
    return left.view().starts_with(right.view());
}

} // namespace

bool detail::equalsWith(const Value& left, const Value& right, bool exact) {
    if (left.isNumeric() && right.isNumeric()) {
        return left.asNumber() == right.asNumber();
    }
    if (left.type() != right.type()) {
        return false;
    }
    switch (left.type()) {
    case Type::Nil:
        return true;
    case Type::String:
        return textEquals(left.asText(), right.asText(), exact);
    case Type::Logic:
        return left.asLogic() == right.asLogic();
    case Type::Symbol:
        return left.asSymbol() == right.asSymbol();
    case Type::Date:
        return left.asDate() == right.asDate();
    case Type::Pointer:
        return left.asAddress() == right.asAddress();
    case Type::Array:
        return left.asArray() == right.asArray();
    case Type::Object:
        return left.asObject() == right.asObject();
    case Type::CodeBlock:
        return left.asCodeBlock() == right.asCodeBlock();
    case Type::Integer:
    case Type::Float:
    case Type::Unsigned:
        return false; // handled above
    }
    return false;
}

bool equals(const Value& left, const Value& right) {
    return detail::equalsWith(left, right, runtimeSettings().exactComparison);
}

Value EmptyUsual(std::uint32_t typeNumber) {
    switch (static_cast<Type>(typeNumber)) {
    case Type::Integer:
        return Value::integer(0);
    case Type::Date:
        return Value(Date());
    case Type::Float:
        return Value::number(0);
    case Type::Array:
        return Value(std::make_shared<ArrayData>());
    case Type::String:
        return Value(std::string());
    case Type::Logic:
        return Value::logic(false);
    case Type::Symbol:
        return Value(Symbol());
    case Type::Unsigned:
        return Value::unsignedNumber(0);
    case Type::Pointer:
        return Value::pointer(0);
    case Type::Nil:
    case Type::Object:
    case Type::CodeBlock:
        return Value();
    }
    return Value(); // a number that is no type (19 "any" included) has nil as its empty value
}

} // namespace cuentas
