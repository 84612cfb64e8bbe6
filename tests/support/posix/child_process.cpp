// Other processes for the tests on POSIX: fork and exec.
#include "tests/support/child_process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace cuentas::testing {

struct ChildProcess::System {
    pid_t pid = -1;
    int input = -1;  // our end of the pipe to its input
    int output = -1; // our end of the pipe from its output
    std::optional<int> exitCode;
    std::string pending; // output read past the last line given out
};

namespace {

// Puts a file, or the child's end of a pipe, in place of a standard stream (in the child).
void redirect(const std::string& path, int flags, int pipeEnd, int stream) {
    if (pipeEnd >= 0) {
        ::dup2(pipeEnd, stream);
    } else if (!path.empty()) {
        int fd = ::open(path.c_str(), flags, 0666);
        if (fd < 0) {
            ::_exit(126);
        }
        ::dup2(fd, stream);
        ::close(fd);
    }
}

int statusCode(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::optional<std::vector<std::string>>& environment,
                           const ChildStreams& streams)
    : system_(std::make_unique<System>()) {
    int toChild[2] = {-1, -1};
    int fromChild[2] = {-1, -1};
    if ((streams.pipeInput && ::pipe2(toChild, O_CLOEXEC) != 0) ||
        (streams.pipeOutput && ::pipe2(fromChild, O_CLOEXEC) != 0)) {
        throw std::runtime_error("no pipe for a child process");
    }
    std::vector<std::string> argvText{program};
    argvText.insert(argvText.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argvText) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> environmentText = environment.value_or(std::vector<std::string>{});
    std::vector<char*> envp;
    for (std::string& variable : environmentText) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);

    system_->pid = ::fork();
    if (system_->pid < 0) {
        throw std::runtime_error("no child process");
    }
    if (system_->pid == 0) {
        redirect(streams.input, O_RDONLY, toChild[0], 0);
        redirect(streams.output, O_WRONLY | O_CREAT | O_TRUNC, fromChild[1], 1);
        redirect(streams.error, O_WRONLY | O_CREAT | O_TRUNC, -1, 2);
        ::execve(program.c_str(), argv.data(), environment ? envp.data() : environ);
        ::_exit(127);
    }
    if (streams.pipeInput) {
        ::close(toChild[0]);
        system_->input = toChild[1];
    }
    if (streams.pipeOutput) {
        ::close(fromChild[1]);
        system_->output = fromChild[0];
    }
}

ChildProcess::~ChildProcess() {
    if (!system_) {
        return;
    }
    closeInput();
    if (!system_->exitCode) {
        kill();
    }
    if (system_->output >= 0) {
        ::close(system_->output);
    }
}

ChildProcess::ChildProcess(ChildProcess&&) noexcept = default;
ChildProcess& ChildProcess::operator=(ChildProcess&&) noexcept = default;

std::optional<int> ChildProcess::wait(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!system_->exitCode) {
        int status = 0;
        pid_t done = ::waitpid(system_->pid, &status, WNOHANG);
        if (done == system_->pid) {
            system_->exitCode = statusCode(status);
        } else if (done < 0 && errno != EINTR) {
            system_->exitCode = -1;
        } else if (std::chrono::steady_clock::now() >= end) {
            return std::nullopt;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return system_->exitCode;
}

void ChildProcess::kill() {
    if (!system_->exitCode) {
        ::kill(system_->pid, SIGKILL);
        int status = 0;
        ::waitpid(system_->pid, &status, 0);
        system_->exitCode = statusCode(status);
    }
}

int ChildProcess::id() const {
    return static_cast<int>(system_->pid);
}

bool ChildProcess::writeInput(const std::string& text) {
    std::size_t done = 0;
    while (system_->input >= 0 && done < text.size()) {
        ssize_t n = ::write(system_->input, text.data() + done, text.size() - done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return done == text.size();
}

void ChildProcess::closeInput() {
    if (system_->input >= 0) {
        ::close(system_->input);
        system_->input = -1;
    }
}

std::optional<std::string> ChildProcess::readOutputLine(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (std::optional<std::string> line = takeLine(system_->pending)) {
            return line;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd ready{system_->output, POLLIN, 0};
        if (system_->output < 0 || left.count() <= 0 ||
            ::poll(&ready, 1, static_cast<int>(left.count())) != 1) {
            return std::nullopt;
        }
        char buffer[4096];
        ssize_t n = ::read(system_->output, buffer, sizeof buffer);
        if (n <= 0) {
            return std::nullopt;
        }
        system_->pending.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string ownExecutable() {
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

} // namespace cuentas::testing
