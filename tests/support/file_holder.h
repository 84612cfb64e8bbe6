#pragma once
// Another process holding a file without sharing it, for as long as a test wants: started as
// the role "holdExclusively" of the test program (include this header in the test's file).

#include "platform/os/files.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <string>

namespace cuentas::testing {

// Opens the file (its first argument) for reading and writing without sharing it, says "held"
// (or "refused"), and lets go when its input ends.
CUENTAS_CHILD_ROLE(holdExclusively) {
    FileHandle holder = FOpen(arguments.at(0), openmode::kReadWrite | openmode::kShareExclusive);
    std::cout << (holder == kNoFile ? "refused" : "held") << std::endl;
    std::string go;
    std::getline(std::cin, go);
    return 0;
}

// The holder of `runtimeName`, once it holds it; closeInput() lets it go.
inline ChildProcess holdExclusively(const std::string& runtimeName) {
    ChildStreams pipes;
    pipes.pipeInput = pipes.pipeOutput = true;
    ChildProcess holder = startChildRole("holdExclusively", {runtimeName}, pipes);
    const std::optional<std::string> said = holder.readOutputLine(std::chrono::seconds(30));
    if (said != "held") {
        ADD_FAILURE() << "the holder says " << said.value_or("nothing");
    }
    return holder;
}

} // namespace cuentas::testing
