#include "errors/error_conversion.h"

#include "errors/error_object.h"
#include "platform/os/operating_system.h"
#include "platform/runtime/address_space.h"
#include "platform/runtime/error_record.h"
#include "platform/runtime/raise.h"

#include <algorithm>
#include <optional>

namespace cuentas {
namespace {

Value nullObject() {
    return Value(ObjectRef());
}

void tellUser(const char* text) {
    operatingSystem().messageBox(text, kDefErrorGenCaption, kMessageBoxOk);
}

Value textAt(Address address) {
    return Value(addressSpace().cString(address));
}

// The argument block: two 16-bit counts, then the addresses of as many boxed values as the
// larger count says. A block that cannot be read gives an empty array.
Value argumentsAt(Address block) {
    auto values = std::make_shared<ArrayData>();
    if (block == 0) {
        return Value(values);
    }
    auto header = addressSpace().read(block, kArgumentBlockHeader);
    if (!header) {
        return Value(values);
    }
    std::size_t count =
        std::max<std::size_t>((*header)[0] | (*header)[1] << 8, (*header)[2] | (*header)[3] << 8);
    auto addresses = addressSpace().read(block + kArgumentBlockHeader, 4 * count);
    if (!addresses) {
        return Value(values);
    }
    for (std::size_t i = 0; i < count; ++i) {
        auto boxed = addressSpace().value(readLittleEndian32(addresses->data() + 4 * i));
        values->append(boxed ? *boxed : Value());
    }
    return Value(values);
}

// ARG may point to a string the runtime manages; that string itself is taken over.
Value argumentTextAt(Address address) {
    if (IsDynPtr(address)) {
        return Value(*addressSpace().dynamicString(address));
    }
    return textAt(address);
}

void fill(const Value& error, const RecordView& record) {
    auto number = [&](RecordField field) { return Value::unsignedNumber(record.get(field)); };
    auto flag = [&](RecordField field) { return Value::logic(record.get(field) != 0); };
    auto symbol = [&](RecordField field) { return Value(Symbol::fromNumber(record.get(field))); };
    using P = ErrorProperty;
    using F = RecordField;
    errorPut(error, P::SubSystem, textAt(record.get(F::Subsystem)));
    errorPut(error, P::SubCode, number(F::SubCode));
    errorPut(error, P::GenCode, number(F::GenCode));
    errorPut(error, P::OsCode, number(F::OsCode));
    errorPut(error, P::Severity, number(F::Severity));
    errorPut(error, P::CanDefault, flag(F::CanDefault));
    errorPut(error, P::CanRetry, flag(F::CanRetry));
    errorPut(error, P::CanSubstitute, flag(F::CanSubstitute));
    errorPut(error, P::Operation, textAt(record.get(F::Operation)));
    errorPut(error, P::Description, textAt(record.get(F::Description)));
    errorPut(error, P::FileName, textAt(record.get(F::FileName)));
    errorPut(error, P::Args, argumentsAt(record.get(F::Args)));
    errorPut(error, P::Tries, number(F::Tries));
    errorPut(error, P::FuncSym, symbol(F::FuncSym));
    errorPut(error, P::Handle, number(F::Handle));
    errorPut(error, P::ArgNum, number(F::ArgNum));
    errorPut(error, P::FuncPtr, Value::pointer(record.get(F::FuncPtr)));
    errorPut(error, P::SubCodeText, textAt(record.get(F::SubCodeText)));
    errorPut(error, P::Arg, argumentTextAt(record.get(F::Arg)));
    errorPut(error, P::ArgType, number(F::ArgType));
    errorPut(error, P::ArgTypeReq, number(F::ArgTypeReq));
    errorPut(error, P::MaxSize, number(F::MaxSize));
    errorPut(error, P::SubstituteType, number(F::SubstituteType));
    if (errorNumber(error, P::Choice) == 0) {
        errorPut(error, P::Choice, number(F::Choice));
    }
    errorPut(error, P::CallFuncSym, symbol(F::CallFuncSym));
}

} // namespace

Value DefErrorGen(const Value& record) {
    // Without the class, CreateInstance would raise an error about the class itself and come
    // back here: look before creating.
    if (!findClass(errorClassSymbol())) {
        tellUser(kNoErrorObjectText);
        return nullObject();
    }
    Value error(CreateInstance(errorClassSymbol()));
    if (!IsInstanceOf(error, errorClassSymbol())) {
        tellUser(kNoErrorObjectText);
        return nullObject();
    }
    std::optional<std::vector<std::uint8_t>> bytes;
    if (IsPtr(record)) {
        bytes = addressSpace().read(record.asAddress(), kRecordSize);
    }
    if (!bytes) {
        tellUser(kWrongTagText);
        return error;
    }
    fill(error, RecordView(std::span<std::uint8_t, kRecordSize>(bytes->data(), kRecordSize)));
    return error;
}

Value defErrorGenPointer() {
    static const Address address = addressSpace().storeFunction([](Arguments arguments) {
        return DefErrorGen(arguments.empty() ? Value() : arguments[0]);
    });
    return Value::pointer(address);
}

bool installErrorConversion() {
    if (runtimeStartCount() != 1) {
        return false;
    }
    ErrorFunc(defErrorGenPointer());
    return true;
}

} // namespace cuentas
