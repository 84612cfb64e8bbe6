// Other processes for the tests on Windows: CreateProcess.
#include "tests/support/child_process.h"

#include <stdexcept>
#include <thread>

#include <windows.h>

namespace cuentas::testing {

struct ChildProcess::System {
    PROCESS_INFORMATION process{};
    HANDLE input = nullptr;  // our end of the pipe to its input
    HANDLE output = nullptr; // our end of the pipe from its output
    std::optional<int> exitCode;
    std::string pending;
};

namespace {

// One argument as the C runtime of the started program splits the command line again.
std::string quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) {
        return argument;
    }
    std::string result = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        result.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        result.push_back(c);
    }
    result.append(backslashes * 2, '\\'); // before the closing quote
    result.push_back('"');
    return result;
}

HANDLE inheritableFile(const std::string& path, bool writing) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE file =
        CreateFileA(path.c_str(), writing ? GENERIC_WRITE : GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                    writing ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open " + path + " for a child process");
    }
    return file;
}

// A pipe whose child end is inherited and whose own end is not.
void makePipe(HANDLE& childEnd, HANDLE& ownEnd, bool childReads) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0)) {
        throw std::runtime_error("no pipe for a child process");
    }
    childEnd = childReads ? read : write;
    ownEnd = childReads ? write : read;
    SetHandleInformation(ownEnd, HANDLE_FLAG_INHERIT, 0);
}

HANDLE inheritableCopy(DWORD stream) {
    HANDLE own = GetStdHandle(stream);
    HANDLE copy = nullptr;
    if (!own || own == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &copy, 0, TRUE,
                         DUPLICATE_SAME_ACCESS)) {
        return nullptr;
    }
    return copy;
}

} // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::optional<std::vector<std::string>>& environment,
                           const ChildStreams& streams)
    : system_(std::make_unique<System>()) {
    std::string commandLine = quoted(program);
    for (const std::string& argument : arguments) {
        commandLine += ' ' + quoted(argument);
    }
    std::string block;
    if (environment) {
        for (const std::string& variable : *environment) {
            block += variable;
            block.push_back('\0');
        }
        block.push_back('\0');
    }
    HANDLE childInput = nullptr;
    HANDLE childOutput = nullptr;
    HANDLE childError = nullptr;
    if (streams.pipeInput) {
        makePipe(childInput, system_->input, true);
    } else {
        childInput = streams.input.empty() ? inheritableCopy(STD_INPUT_HANDLE)
                                           : inheritableFile(streams.input, false);
    }
    if (streams.pipeOutput) {
        makePipe(childOutput, system_->output, false);
    } else {
        childOutput = streams.output.empty() ? inheritableCopy(STD_OUTPUT_HANDLE)
                                             : inheritableFile(streams.output, true);
    }
    childError = streams.error.empty() ? inheritableCopy(STD_ERROR_HANDLE)
                                       : inheritableFile(streams.error, true);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = childError;
    const BOOL started =
        CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                       environment ? block.data() : nullptr, nullptr, &startup, &system_->process);
    for (HANDLE handle : {childInput, childOutput, childError}) {
        if (handle) {
            CloseHandle(handle);
        }
    }
    if (!started) {
        throw std::runtime_error("cannot start " + program);
    }
    CloseHandle(system_->process.hThread);
}

ChildProcess::~ChildProcess() {
    if (!system_) {
        return;
    }
    closeInput();
    if (!system_->exitCode) {
        kill();
    }
    if (system_->output) {
        CloseHandle(system_->output);
    }
    CloseHandle(system_->process.hProcess);
}

ChildProcess::ChildProcess(ChildProcess&&) noexcept = default;
ChildProcess& ChildProcess::operator=(ChildProcess&&) noexcept = default;

std::optional<int> ChildProcess::wait(std::chrono::milliseconds limit) {
    if (!system_->exitCode) {
        if (WaitForSingleObject(system_->process.hProcess, static_cast<DWORD>(limit.count())) !=
            WAIT_OBJECT_0) {
            return std::nullopt;
        }
        DWORD code = 0;
        GetExitCodeProcess(system_->process.hProcess, &code);
        system_->exitCode = static_cast<int>(code);
    }
    return system_->exitCode;
}

void ChildProcess::kill() {
    if (!system_->exitCode) {
        TerminateProcess(system_->process.hProcess, 137);
        wait();
    }
}

int ChildProcess::id() const {
    return static_cast<int>(system_->process.dwProcessId);
}

bool ChildProcess::writeInput(const std::string& text) {
    std::size_t done = 0;
    while (system_->input && done < text.size()) {
        DWORD written = 0;
        if (!WriteFile(system_->input, text.data() + done, static_cast<DWORD>(text.size() - done),
                       &written, nullptr)) {
            return false;
        }
        done += written;
    }
    return done == text.size();
}

void ChildProcess::closeInput() {
    if (system_->input) {
        CloseHandle(system_->input);
        system_->input = nullptr;
    }
}

std::optional<std::string> ChildProcess::readOutputLine(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (std::optional<std::string> line = takeLine(system_->pending)) {
            return line;
        }
        DWORD available = 0;
        if (!system_->output ||
            !PeekNamedPipe(system_->output, nullptr, 0, nullptr, &available, nullptr)) {
            return std::nullopt; // the output ended
        }
        if (available == 0) {
            if (std::chrono::steady_clock::now() >= end) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        char buffer[4096];
        DWORD read = 0;
        if (!ReadFile(system_->output, buffer, std::min<DWORD>(available, sizeof buffer), &read,
                      nullptr) ||
            read == 0) {
            return std::nullopt;
        }
        system_->pending.append(buffer, read);
    }
}

std::string ownExecutable() {
    char buffer[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, length);
}

} // namespace cuentas::testing
