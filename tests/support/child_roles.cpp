#include "tests/support/child_process.h"

#include <cstring>
#include <map>

namespace cuentas::testing {
namespace {

std::map<std::string, ChildRole>& roles() {
    static std::map<std::string, ChildRole> registered;
    return registered;
}

} // namespace

bool registerChildRole(const char* name, ChildRole role) {
    roles()[name] = role;
    return true;
}

std::optional<int> runChildRole(int argc, char** argv) {
    if (argc < 3 || std::strcmp(argv[1], "--child") != 0) {
        return std::nullopt;
    }
    auto found = roles().find(argv[2]);
    if (found == roles().end()) {
        return 125;
    }
    return found->second(std::vector<std::string>(argv + 3, argv + argc));
}

ChildProcess startChildRole(const std::string& role, const std::vector<std::string>& arguments,
                            const ChildStreams& streams) {
    std::vector<std::string> all{"--child", role};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return ChildProcess(ownExecutable(), all, std::nullopt, streams);
}

std::optional<std::string> takeLine(std::string& pending) {
    const auto newline = pending.find('\n');
    if (newline == std::string::npos) {
        return std::nullopt;
    }
    std::string line = pending.substr(0, newline);
    pending.erase(0, newline + 1);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back(); // a text stream's CR LF
    }
    return line;
}

} // namespace cuentas::testing
