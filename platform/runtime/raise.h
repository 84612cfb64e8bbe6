#pragma once
// Raising runtime errors. The runtime describes an error in a runtime error record, has the
// installed error function turn it into an Error object and evaluates the current error block
// with that object; the block's answer goes back to the failed operation.

#include "platform/runtime/address_space.h"
#include "platform/runtime/source_location.h"
#include "platform/runtime/value.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cuentas {

// General error codes of the runtime (their texts: ErrString).
namespace gencode {
inline constexpr std::uint32_t kArgument = 1;
inline constexpr std::uint32_t kBound = 2;
inline constexpr std::uint32_t kStringOverflow = 3;
inline constexpr std::uint32_t kNumericOverflow = 4;
inline constexpr std::uint32_t kZeroDivide = 5;
inline constexpr std::uint32_t kNumeric = 6;
inline constexpr std::uint32_t kNoMethod = 9;
inline constexpr std::uint32_t kNoProperty = 10;
inline constexpr std::uint32_t kNotObject = 11;
inline constexpr std::uint32_t kMemory = 12;
inline constexpr std::uint32_t kInternal = 14;
inline constexpr std::uint32_t kCreate = 20;
inline constexpr std::uint32_t kOpen = 21;
inline constexpr std::uint32_t kClose = 22;
inline constexpr std::uint32_t kRead = 23;
inline constexpr std::uint32_t kWrite = 24;
inline constexpr std::uint32_t kWrongClass = 28;
inline constexpr std::uint32_t kDataType = 29;
inline constexpr std::uint32_t kIllegalArgument = 30;
inline constexpr std::uint32_t kCorruption = 31;
inline constexpr std::uint32_t kLock = 40;
} // namespace gencode

// The text of a general code; codes without a text give "Unknown error".
std::string ErrString(std::uint32_t genCode);
// The runtime's name of a type number ("STRING", "LOGIC", ...).
std::string TypeString(std::uint32_t typeNumber);

// An error as the runtime describes it, before it becomes a record and then an Error object.
struct RuntimeError {
    std::string subsystem;
    std::uint32_t subCode = 0;
    std::uint32_t genCode = 0;
    std::uint32_t osCode = 0;
    std::uint32_t severity = 2;
    bool canDefault = false;
    bool canRetry = false;
    bool canSubstitute = false;
    std::string operation;
    std::string description;
    std::string fileName;
    std::vector<Value> args;
    std::uint32_t tries = 0;
    Symbol funcSym;
    std::uint32_t fileHandle = 0;
    std::uint32_t argNum = 0;
    Address funcPtr = 0;
    std::string subCodeText;
    std::string arg;
    std::uint32_t argType = 0;
    std::uint32_t argTypeReq = 0;
    std::uint32_t maxSize = 0;
    std::uint32_t substituteType = 0;
    std::uint32_t choice = 0;
    Symbol callFuncSym;
};

// The current error block (nil when none) / installs a block and returns the previous one.
Value ErrorBlock();
Value ErrorBlock(Value block);

// The installed error function (a pointer value; nil when none) / installs one and returns the
// previous one. The function takes the address of a runtime error record as a pointer value
// and returns an Error object.
Value ErrorFunc();
Value ErrorFunc(Value functionPointer);

// The runtime's own conversion of error records (a function pointer like ErrorFunc's), used
// while no error function is installed, so that an error raised early in start-up still reaches
// the error block as an object.
void setBuiltInErrorConversion(Value functionPointer);

// How many times the runtime has been started in this process (_GetRTCount; normally 1).
std::uint32_t runtimeStartCount();
// Called once by the program's entry when it starts the runtime.
void startRuntime();

// ErrorBuild: a new Error object from the record at `record`, through the installed error
// function, or the built-in conversion when none is installed; nil when there is neither.
Value ErrorBuild(Address record);

// Writes `error` as a runtime error record (with its texts and argument block) into the
// address space. The scope owns every block written.
Address writeErrorRecord(const RuntimeError& error, AddressScope& scope);

// Raises a runtime error: converts it into an Error object, evaluates the current error block
// with it and returns the block's answer. With no block installed, or no error function to
// convert the record, the error's description goes to stderr and the process ends with the
// general code (at least 1) as exit code.
Value raiseError(const RuntimeError& error, SourceLocation where = SourceLocation::current());

// Raises an already built Error object through the current error block.
Value raiseErrorObject(const Value& errorObject);

// What the failed operation makes of the block's answer.
bool answerIsRetry(const Value& answer, const RuntimeError& error);
bool answerIsSubstitute(const Value& answer, const RuntimeError& error);

} // namespace cuentas
