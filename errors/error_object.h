#pragma once
// The Error object: the runtime class ERROR with its 27 typed properties, reached by symbol,
// and its method THROW. Every failure of the program travels as one of these.

#include "platform/runtime/object.h"

#include <array>
#include <cstdint>
#include <string>

namespace cuentas {

// The properties in declaration order; the first 25 are, in the same order, the fields of the
// runtime error record.
enum class ErrorProperty : std::uint8_t {
    SubSystem,
    SubCode,
    GenCode,
    OsCode,
    Severity,
    CanDefault,
    CanRetry,
    CanSubstitute,
    Operation,
    Description,
    FileName,
    Args,
    Tries,
    FuncSym,
    Handle, // FILEHANDLE
    ArgNum,
    FuncPtr,
    SubCodeText,
    Arg,
    ArgType,
    ArgTypeReq,
    MaxSize,
    SubstituteType,
    Choice,
    CallFuncSym,
    Cargo,
    MethodSelf,
};

inline constexpr std::size_t kErrorPropertyCount = 27;

struct ErrorPropertyInfo {
    const char* name;         // the property's symbol name
    std::uint32_t typeNumber; // 5 array, 6 object, 7 string, 8 logic, 10 symbol, 14, 18, 19 any
};

// The declaration table, in declaration order.
const std::array<ErrorPropertyInfo, kErrorPropertyCount>& errorPropertyTable();

// Severity values; any value but kWarning is an error.
inline constexpr std::uint32_t kSeverityWarning = 1;
inline constexpr std::uint32_t kSeverityError = 2;
inline constexpr std::uint32_t kSeverityCatastrophic = 3;

// Declares the class ERROR (no superclass) with its properties and THROW. Safe to call again.
//
// A new object holds the empty value of each property's type (an empty text, 0, FALSE, the
// null symbol, the null pointer, a new empty array, nil, the null object), except SEVERITY,
// which starts at 2: a fresh Error object is an error, not a warning.
//
// Assignment keeps each property's type: numbers of any kind become unsigned 32-bit numbers,
// a text assigned to a symbol property is interned, and nil assigns the empty value. Any other
// value raises the runtime's data type error (general code 29) through the error block; a
// substitute of the right type is then assigned, otherwise the property keeps its value.
void declareErrorClass();

// The class symbol ERROR and the symbol of a property.
Symbol errorClassSymbol();
Symbol errorPropertySymbol(ErrorProperty property);

// A new Error object, as CreateInstance with the class symbol gives it (the class is
// declared first when it is not yet).
Value newErrorObject();

// Property access by symbol (IVarGet / IVarPut), for the error layer's own C++ code.
Value errorGet(const Value& error, ErrorProperty property);
Value errorPut(const Value& error, ErrorProperty property, const Value& value);
std::string errorText(const Value& error, ErrorProperty property);
std::uint32_t errorNumber(const Value& error, ErrorProperty property);
bool errorFlag(const Value& error, ErrorProperty property);

} // namespace cuentas
