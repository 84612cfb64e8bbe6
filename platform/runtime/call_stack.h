#pragma once
// The call stack of the program's own routines, with the source line each has reached,
// as ProcName and ProcLine report it to the error handler.

#include "platform/runtime/source_location.h"

#include <cstdint>
#include <string>

namespace cuentas {

// Marks a routine of the program for as long as it runs. Its line is the line of the
// frame's construction until a runtime operation called from the same source file moves it.
// The name is a literal ("MAINDIALOG:CALCULADC"): it is kept, not copied.
class RoutineFrame {
public:
    explicit RoutineFrame(const char* name, SourceLocation where = SourceLocation::current());
    ~RoutineFrame();
    RoutineFrame(const RoutineFrame&) = delete;
    RoutineFrame& operator=(const RoutineFrame&) = delete;
};

// Records `where` as the line the running routine has reached, when `where` lies in that
// routine's own source file. Runtime operations call it with their caller's location.
void noteCallSite(const SourceLocation& where);

// Level 0 is the running routine, level 1 its caller, and so on. A level beyond the
// stack gives the empty name and line 0.
std::string ProcName(std::uint32_t level);
std::uint32_t ProcLine(std::uint32_t level);

} // namespace cuentas
