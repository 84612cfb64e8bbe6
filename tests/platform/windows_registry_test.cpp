// The registry functions on Windows, against the real registry: a key of the test's own under
// HKEY_LOCAL_MACHINE, removed afterwards.
#include "platform/os/registry.h"

#include "platform/os/operating_system.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include <windows.h>

// The system's own handle of the machine hive (inside the namespace, HKEY is the runtime's).
static const ::HKEY kMachine = HKEY_LOCAL_MACHINE;

namespace cuentas {
namespace {

class WindowsRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        path = "SOFTWARE\\cuentas-test-" + std::to_string(GetCurrentProcessId());
        ::HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(kMachine, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                    &key, nullptr),
                  ERROR_SUCCESS);
        const char directory[] = "%SystemRoot%\\System32\\LogFiles";
        ::RegSetValueExA(key, "LogFileDirectory", 0, REG_EXPAND_SZ,
                         reinterpret_cast<const BYTE*>(directory), sizeof directory);
        const char plain[] = "D:\\Logs";
        ::RegSetValueExA(key, "Plain", 0, REG_SZ, reinterpret_cast<const BYTE*>(plain),
                         sizeof plain);
        ::RegCloseKey(key);
    }
    void TearDown() override { ::RegDeleteKeyA(kMachine, path.c_str()); }

    std::string path;
};

TEST_F(WindowsRegistry, AValueUnderTheMachineHiveIsReadAsTheSystemHoldsIt) {
    cuentas::HKEY key = 0;
    std::uint32_t disposition = 0;
    ASSERT_EQ(cuentas::RegCreateKeyExA(0x80000002u, path.c_str(), 0, nullptr, 0, 1, nullptr, &key,
                                       &disposition),
              0);
    EXPECT_NE(key, 0u);
    EXPECT_EQ(disposition, 2u); // it was there
    std::array<std::uint8_t, 260> data{};
    std::uint32_t size = data.size();
    std::uint32_t type = 0;
    ASSERT_EQ(
        cuentas::RegQueryValueExA(key, "LogFileDirectory", nullptr, &type, data.data(), &size), 0);
    EXPECT_EQ(type, 2u); // REG_EXPAND_SZ
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.data())),
              "%SystemRoot%\\System32\\LogFiles");
    EXPECT_EQ(size, 31u); // the text and its zero

    std::uint32_t small = 3;
    EXPECT_EQ(cuentas::RegQueryValueExA(key, "Plain", nullptr, &type, data.data(), &small), 234);
    EXPECT_EQ(small, 8u); // the size needed, the zero included
    EXPECT_EQ(cuentas::RegQueryValueExA(key, "Missing", nullptr, nullptr, nullptr, nullptr), 2);
    EXPECT_EQ(cuentas::RegCloseKey(key), 0);
    EXPECT_EQ(cuentas::RegCloseKey(key), 6) << "closed twice";
    EXPECT_EQ(cuentas::RegQueryValueExA(key, "Plain", nullptr, nullptr, nullptr, nullptr), 6);
}

TEST_F(WindowsRegistry, AMissingKeyIsCreatedAndAHiveNeedsNoClosing) {
    cuentas::HKEY key = 0;
    std::uint32_t disposition = 0;
    const std::string missing = path + "\\New";
    ASSERT_EQ(cuentas::RegCreateKeyExA(0x80000002u, missing.c_str(), 0, nullptr, 0, 1, nullptr,
                                       &key, &disposition),
              0);
    EXPECT_EQ(disposition, 1u); // made
    EXPECT_EQ(cuentas::RegCloseKey(key), 0);
    EXPECT_EQ(cuentas::RegCloseKey(0x80000002u), 0);
    ::RegDeleteKeyA(kMachine, missing.c_str());
}

} // namespace
} // namespace cuentas
