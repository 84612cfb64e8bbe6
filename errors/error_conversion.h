#pragma once
// Conversion of the runtime's 100-byte error records into Error objects (DefErrorGen), and its
// installation as the runtime's error function.

#include "platform/runtime/value.h"

namespace cuentas {

inline constexpr const char* kNoErrorObjectText = "No error object created !";
inline constexpr const char* kWrongTagText = "Error structure has wrong tag";
inline constexpr const char* kDefErrorGenCaption = "FROM DefErrorGen";

// Turns the runtime error record whose address `record` holds (a pointer value) into a new
// Error object, field by field. When the class ERROR has no instance to give, a message box
// says "No error object created !" and the null object is returned; when `record` is not a
// pointer to a readable 100-byte record, a box says "Error structure has wrong tag" and the
// new object is returned unfilled. Both boxes have the caption "FROM DefErrorGen".
Value DefErrorGen(const Value& record);

// DefErrorGen as a function pointer value, the form ErrorFunc takes.
Value defErrorGenPointer();

// Installs DefErrorGen as the runtime's error function when runtimeStartCount() is 1, and tells
// whether it did. The program's start-up calls it once, after the default error block.
bool installErrorConversion();

} // namespace cuentas
