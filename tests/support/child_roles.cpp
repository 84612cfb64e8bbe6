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

} // namespace cuentas::testing
