// The tests' main: the tests, or the role another test started this executable in.
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (std::optional<int> role = cuentas::testing::runChildRole(argc, argv)) {
        return *role;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
