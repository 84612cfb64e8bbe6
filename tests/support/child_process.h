#pragma once
// Other processes for the tests: a program started with its arguments, an environment and
// files or pipes for its standard streams, waited for with a limit; and this test
// executable started again in a role of its own (CUENTAS_CHILD_ROLE), for work that must
// happen in another process.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cuentas::testing {

struct ChildStreams {
    // Native paths of files for the standard streams; empty: the test's own stream.
    std::string input;
    std::string output;
    std::string error;
    // A pipe to the standard input, or from the standard output, instead of a file.
    bool pipeInput = false;
    bool pipeOutput = false;
};

class ChildProcess {
public:
    // Starts `program` with `arguments` (its own name not among them) and, when one is given,
    // exactly that environment ("NAME=value" each) instead of the test's.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::optional<std::vector<std::string>>& environment = std::nullopt,
                 const ChildStreams& streams = {});
    // Ends the process if it still runs.
    ~ChildProcess();
    ChildProcess(ChildProcess&&) noexcept;
    ChildProcess& operator=(ChildProcess&&) noexcept;

    // The exit code once the process has ended, or nothing when `limit` passed first.
    std::optional<int> wait(std::chrono::milliseconds limit = std::chrono::minutes(5));
    // Ends the process at once, as a crash or a kill would.
    void kill();
    int id() const;

    // The pipes, when asked for: everything written reaches the process's input, and a line of
    // its output is read up to its line end (nothing when `limit` passes or the output ends).
    bool writeInput(const std::string& text);
    void closeInput();
    std::optional<std::string> readOutputLine(std::chrono::milliseconds limit);

    struct System;

private:
    std::unique_ptr<System> system_;
};

// A piece of work that a test hands to another process, given its arguments; its result is
// the process's exit code.
using ChildRole = int (*)(const std::vector<std::string>& arguments);
bool registerChildRole(const char* name, ChildRole role);
// Runs the role named by "--child NAME ARGUMENTS..." on the command line; nothing otherwise.
std::optional<int> runChildRole(int argc, char** argv);

// This test executable, started again as `role`.
ChildProcess startChildRole(const std::string& role, const std::vector<std::string>& arguments,
                            const ChildStreams& streams = {});

// The path of the running executable.
std::string ownExecutable();

// The first whole line of `pending`, taken from it without its line end (LF or CR LF).
std::optional<std::string> takeLine(std::string& pending);

} // namespace cuentas::testing

// Declares a role for startChildRole: CUENTAS_CHILD_ROLE(holdFile) { ...; return 0; }, with
// `arguments` in scope.
#define CUENTAS_CHILD_ROLE(name)                                                                   \
    static int childRole_##name([[maybe_unused]] const std::vector<std::string>& arguments);       \
    [[maybe_unused]] static const bool childRoleRegistered_##name =                                \
        ::cuentas::testing::registerChildRole(#name, childRole_##name);                            \
    static int childRole_##name([[maybe_unused]] const std::vector<std::string>& arguments)
