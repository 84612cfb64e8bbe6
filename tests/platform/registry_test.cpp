#include "platform/os/os_error.h"
#include "platform/os/registry.h"

#include "tests/support/recording_os.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace cuentas {
namespace {

namespace fs = std::filesystem;

constexpr const char* kParameters = "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters";

std::string readNative(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeNative(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

HKEY open(HKEY hive, const char* subKey, std::int32_t* error = nullptr,
          std::uint32_t* disposition = nullptr) {
    HKEY key = 0xDEAD;
    std::int32_t result = RegCreateKeyExA(hive, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_QUERY_VALUE, nullptr, &key, disposition);
    if (error) {
        *error = result;
    }
    return key;
}

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        // A fresh folder of its own: the names of parameterised tests hold a slash, which
        // would make a folder inside a folder that TearDown leaves behind.
        std::string pattern = (fs::temp_directory_path() / "cuentas-registry-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        machine = dir / "HKEY_LOCAL_MACHINE.reg";
        user = dir / "HKEY_CURRENT_USER.reg";
        os.environment["CUENTAS_HKEY_LOCAL_MACHINE"] = machine.string();
        os.environment["CUENTAS_HKEY_CURRENT_USER"] = user.string();
    }
    void TearDown() override { fs::remove_all(dir); }

    // The log directory exactly as the log-file object reads it.
    std::string logFileDirectory() {
        HKEY key = 0;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kParameters, 0, nullptr, 0, KEY_QUERY_VALUE,
                            nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return {};
        }
        std::array<std::uint8_t, 260> buffer{};
        buffer[0] = 0;
        std::uint32_t type = 0;
        std::uint32_t size = buffer.size();
        RegQueryValueExA(key, "LogFileDirectory", nullptr, &type, buffer.data(), &size);
        RegCloseKey(key);
        return reinterpret_cast<const char*>(buffer.data());
    }

    fs::path dir;
    fs::path machine;
    fs::path user;
    testing::RecordingOs os;
    ScopedOs scoped{os};
};

TEST_F(Registry, ReadsTheLogFileDirectoryFromAFileWrittenByHand) {
    writeNative(machine, "REGEDIT4\r\n\r\n"
                         "; web server\r\n"
                         "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\W3SVC\\"
                         "Parameters]\r\n"
                         "\"logfiledirectory\"=\"%SystemRoot%\\\\System32\\\\LogFiles\"\r\n");
    EXPECT_EQ(logFileDirectory(), "%SystemRoot%\\System32\\LogFiles");
    EXPECT_EQ(readNative(machine).find("[HKEY_LOCAL_MACHINE\\SYSTEM"), std::string::npos)
        << "an existing key is not written again";
}

TEST_F(Registry, AMissingValueLeavesTheClearedBufferAndTheTypeAlone) {
    writeNative(machine, std::string("[") + kParameters + "]\n");
    HKEY key = open(HKEY_LOCAL_MACHINE, kParameters);
    std::array<std::uint8_t, 8> buffer{0, 'x', 'y'};
    std::uint32_t type = 77;
    std::uint32_t size = buffer.size();
    EXPECT_EQ(RegQueryValueExA(key, "LogFileDirectory", nullptr, &type, buffer.data(), &size),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(buffer, (std::array<std::uint8_t, 8>{0, 'x', 'y'}));
    EXPECT_EQ(type, 77u);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(logFileDirectory(), "");
}

struct Fit {
    std::size_t length;
    std::int32_t result;
    std::uint32_t sizeAfter;
};

void PrintTo(const Fit& c, std::ostream* out) {
    *out << c.length << " characters";
}

class ValueIntoABuffer : public Registry, public ::testing::WithParamInterface<Fit> {};

TEST_P(ValueIntoABuffer, FitsWithItsZeroOrLeavesTheBufferUntouched) {
    const std::string text(GetParam().length, 'D');
    writeNative(machine,
                std::string("[") + kParameters + "]\n\"LogFileDirectory\"=\"" + text + "\"\n");
    HKEY key = open(HKEY_LOCAL_MACHINE, kParameters);
    std::array<std::uint8_t, 260> buffer;
    buffer.fill(0xAB);
    buffer[0] = 0;
    const auto before = buffer;
    std::uint32_t type = 0;
    std::uint32_t size = buffer.size();
    EXPECT_EQ(RegQueryValueExA(key, "LogFileDirectory", nullptr, &type, buffer.data(), &size),
              GetParam().result);
    EXPECT_EQ(size, GetParam().sizeAfter);
    EXPECT_EQ(type, REG_SZ);
    if (GetParam().result == ERROR_SUCCESS) {
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.data())), text);
    } else {
        EXPECT_EQ(buffer, before);
    }
    RegCloseKey(key);
}

INSTANTIATE_TEST_SUITE_P(Registry, ValueIntoABuffer,
                         ::testing::Values(Fit{0, ERROR_SUCCESS, 1}, Fit{259, ERROR_SUCCESS, 260},
                                           Fit{260, ERROR_MORE_DATA, 261},
                                           Fit{5000, ERROR_MORE_DATA, 5001}));

TEST_F(Registry, QueriesFollowTheWindowsRulesForNullArguments) {
    writeNative(machine, "[K]\n@=\"default\"\n\"V\"=\"abc\"\n");
    HKEY key = open(HKEY_LOCAL_MACHINE, "K");
    std::uint32_t size = 0;
    std::uint32_t type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(RegQueryValueExA(key, "V", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    std::uint8_t data[16] = {};
    EXPECT_EQ(RegQueryValueExA(key, "V", nullptr, nullptr, data, nullptr), ERROR_INVALID_PARAMETER);
    std::uint32_t reserved = 0;
    EXPECT_EQ(RegQueryValueExA(key, "V", &reserved, nullptr, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    for (const char* name : {static_cast<const char*>(nullptr), ""}) {
        size = sizeof data;
        EXPECT_EQ(RegQueryValueExA(key, name, nullptr, nullptr, data, &size), ERROR_SUCCESS);
        EXPECT_STREQ(reinterpret_cast<const char*>(data), "default");
        EXPECT_EQ(size, 8u);
    }
    RegCloseKey(key);
}

TEST_F(Registry, AQueryReadsTheFileAsItIsNow) {
    writeNative(machine, "[K]\n");
    HKEY key = open(HKEY_LOCAL_MACHINE, "K");
    writeNative(machine, "[K]\n\"V\"=\"later\"\n");
    std::uint8_t data[16] = {};
    std::uint32_t size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key, "V", nullptr, nullptr, data, &size), ERROR_SUCCESS);
    EXPECT_STREQ(reinterpret_cast<const char*>(data), "later");
    RegCloseKey(key);
}

TEST_F(Registry, CreatingAKeyAppendsOneSectionAndKeepsEveryOldByte) {
    const std::string admin = "REGEDIT4\r\n; kept as it is\r\n[Other]\r\n\"A\"=\"\xE9t\xE9\"";
    writeNative(machine, admin);
    std::int32_t error = -1;
    std::uint32_t disposition = 0;
    HKEY key = open(HKEY_LOCAL_MACHINE, kParameters, &error, &disposition);
    EXPECT_EQ(error, ERROR_SUCCESS);
    EXPECT_NE(key, 0u);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    const std::string expected = admin + "\r\n\r\n[HKEY_LOCAL_MACHINE\\" + kParameters + "]\r\n";
    EXPECT_EQ(readNative(machine), expected);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

    key = open(HKEY_LOCAL_MACHINE, "system\\CURRENTCONTROLSET\\services\\w3svc\\parameters\\",
               &error, &disposition);
    EXPECT_EQ(error, ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(key);
    // A parent of a listed key exists already.
    key = open(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet", &error, &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(key);
    EXPECT_EQ(readNative(machine), expected);
}

TEST_F(Registry, AMissingHiveFileIsCreatedInAnExistingDirectory) {
    std::uint32_t disposition = 0;
    HKEY key = open(HKEY_CURRENT_USER, "Software\\Cuentas", nullptr, &disposition);
    EXPECT_NE(key, 0u);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(readNative(user), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Cuentas]\n");
    // The same key relative to it, and the key itself through an empty path.
    HKEY same = open(key, "", nullptr, &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    HKEY child = open(key, "Child", nullptr, &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_NE(readNative(user).find("[HKEY_CURRENT_USER\\Software\\Cuentas\\Child]\n"),
              std::string::npos);
    for (HKEY k : {key, same, child}) {
        EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
    }
}

TEST_F(Registry, OpeningAHivesRootWritesNothing) {
    std::uint32_t disposition = 0;
    HKEY key = open(HKEY_LOCAL_MACHINE, "\\", nullptr, &disposition);
    EXPECT_NE(key, 0u);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_FALSE(fs::exists(machine));
    RegCloseKey(key);
}

struct Unwritable {
    const char* label;
    fs::path (*hivePath)(const fs::path& dir);
    std::int32_t error;
};

void PrintTo(const Unwritable& c, std::ostream* out) {
    *out << c.label;
}

class NotWritableHive : public Registry, public ::testing::WithParamInterface<Unwritable> {};

// Holds for root as well: no permission bit is involved.
TEST_P(NotWritableHive, FailsCleanlyAndCreatesNothing) {
    writeNative(dir / "plain", "a regular file");
    const fs::path hive = GetParam().hivePath(dir);
    os.environment["CUENTAS_HKEY_LOCAL_MACHINE"] = hive.string();
    std::int32_t error = -1;
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, kParameters, &error), 0u) << GetParam().label;
    EXPECT_EQ(error, GetParam().error) << GetParam().label;
    EXPECT_FALSE(fs::exists(dir / "missing")) << "no directory is created";
    EXPECT_EQ(logFileDirectory(), "");
}

INSTANTIATE_TEST_SUITE_P(Registry, NotWritableHive,
                         ::testing::Values(Unwritable{"under a regular file",
                                                      [](const fs::path& d) {
                                                          return d / "plain" /
                                                                 "HKEY_LOCAL_MACHINE.reg";
                                                      },
                                                      ERROR_PATH_NOT_FOUND},
                                           Unwritable{"in a missing directory",
                                                      [](const fs::path& d) {
                                                          return d / "missing" /
                                                                 "HKEY_LOCAL_MACHINE.reg";
                                                      },
                                                      ERROR_PATH_NOT_FOUND}));

// Permission bits do not stop root, so the denial comes through the operating-system seam.
struct ReadOnlyFiles : testing::RecordingOs {
    int openFile(const std::string& path, const FileOpening& opening) override {
        if (opening.access != FileOpening::Access::Read) {
            return -systemErrorFor(oserror::kAccessDenied);
        }
        return OperatingSystem::openFile(path, opening);
    }
};

TEST_F(Registry, AReadOnlyHiveOpensExistingKeysAndRefusesNewOnes) {
    const std::string text =
        std::string("[") + kParameters + "]\n\"LogFileDirectory\"=\"D:\\\\Logs\"\n";
    writeNative(machine, text);
    ReadOnlyFiles readOnly;
    readOnly.environment = os.environment;
    ScopedOs denied(readOnly);
    EXPECT_EQ(logFileDirectory(), "D:\\Logs");
    std::int32_t error = -1;
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, "SOFTWARE\\New", &error), 0u);
    EXPECT_EQ(error, ERROR_ACCESS_DENIED);
    EXPECT_EQ(readNative(machine), text);
}

TEST_F(Registry, AFailedAppendTakesBackItsBytes) {
    writeNative(machine, "[Old]\n");
    struct DiskFull : testing::RecordingOs {
        long writeFile(int fd, const void* data, std::size_t) override {
            // Half a section reaches the disk before the disk is full.
            OperatingSystem::writeFile(fd, data, 5);
            return -systemErrorFor(oserror::kDiskFull);
        }
    } full;
    full.environment = os.environment;
    ScopedOs scopedFull(full);
    std::int32_t error = -1;
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, "New", &error), 0u);
    EXPECT_EQ(error, 112); // disk full
    EXPECT_EQ(readNative(machine), "[Old]\n");
}

struct Refused {
    const char* label;
    void (*make)(const fs::path& hive);
};

void PrintTo(const Refused& c, std::ostream* out) {
    *out << c.label;
}

class RefusedHiveFile : public Registry, public ::testing::WithParamInterface<Refused> {};

TEST_P(RefusedHiveFile, IsABadDatabaseNotAHang) {
    GetParam().make(machine);
    std::int32_t error = -1;
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, kParameters, &error), 0u) << GetParam().label;
    EXPECT_EQ(error, ERROR_BADDB) << GetParam().label;
    std::uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(HKEY_LOCAL_MACHINE, "X", nullptr, nullptr, nullptr, &size),
              ERROR_BADDB);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, RefusedHiveFile,
    ::testing::Values(Refused{"FIFO", [](const fs::path& p) { ::mkfifo(p.c_str(), 0666); }},
                      Refused{"directory", [](const fs::path& p) { fs::create_directory(p); }},
                      Refused{"above one mebibyte", [](const fs::path& p) {
                                  writeNative(p, "[K]\n" + std::string(1u << 20, ';'));
                              }}));

TEST_F(Registry, UnknownHivesAndKeysAreInvalidHandles) {
    for (HKEY bad : {HKEY(0), HKEY(0x80000000), HKEY(0x80000003), HKEY(0x12345)}) {
        HKEY key = 0xDEAD;
        EXPECT_EQ(RegCreateKeyExA(bad, "A", 0, nullptr, 0, KEY_QUERY_VALUE, nullptr, &key, nullptr),
                  ERROR_INVALID_HANDLE);
        EXPECT_EQ(key, 0u);
        EXPECT_EQ(RegQueryValueExA(bad, "A", nullptr, nullptr, nullptr, nullptr),
                  ERROR_INVALID_HANDLE);
        EXPECT_EQ(RegCloseKey(bad), ERROR_INVALID_HANDLE);
    }
    EXPECT_FALSE(fs::exists(machine));
}

TEST_F(Registry, BadArgumentsAreRefusedBeforeTheFileIsTouched) {
    HKEY key = 0xDEAD;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "A", 0, nullptr, 0, 1, nullptr, nullptr, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, nullptr, 0, nullptr, 0, 1, nullptr, &key, nullptr),
        ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "A", 0, nullptr, 1, 1, nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    // A line end in a name would put a line of its own into the file.
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "A]\n\"LogFileDirectory\"=\"x\"\n[B", 0, nullptr,
                              0, 1, nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(key, 0u);
    EXPECT_FALSE(fs::exists(machine));
}

TEST_F(Registry, AClosedKeyStaysClosedEvenWhenItsSlotIsReused) {
    writeNative(machine, "[K]\n");
    HKEY first = open(HKEY_LOCAL_MACHINE, "K");
    EXPECT_EQ(RegCloseKey(first), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(first), ERROR_INVALID_HANDLE);
    HKEY second = open(HKEY_LOCAL_MACHINE, "K");
    EXPECT_NE(second, first);
    EXPECT_EQ(RegQueryValueExA(first, "", nullptr, nullptr, nullptr, nullptr),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(first), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(second), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

TEST_F(Registry, OpenKeysAreBoundedAndAFullTableCreatesNothing) {
    writeNative(machine, "[K]\n");
    std::vector<HKEY> keys;
    for (int i = 0; i < kMaxOpenRegistryKeys; ++i) {
        keys.push_back(open(HKEY_LOCAL_MACHINE, "K"));
        ASSERT_NE(keys.back(), 0u) << i;
    }
    std::int32_t error = -1;
    EXPECT_EQ(open(HKEY_LOCAL_MACHINE, "New", &error), 0u);
    EXPECT_EQ(error, ERROR_TOO_MANY_OPEN_FILES);
    EXPECT_EQ(readNative(machine), "[K]\n");
    EXPECT_EQ(RegCloseKey(keys.back()), ERROR_SUCCESS);
    keys.back() = open(HKEY_LOCAL_MACHINE, "New", &error);
    EXPECT_EQ(error, ERROR_SUCCESS);
    for (HKEY key : keys) {
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
}

struct HiveLocation {
    const char* label;
    std::optional<std::string> own;
    std::optional<std::string> xdg; // relative to the test's directory when not absolute
    std::optional<std::string> home;
    const char* expectedFile; // relative to the test's directory
};

void PrintTo(const HiveLocation& c, std::ostream* out) {
    *out << c.label;
}

class CurrentUserHive : public Registry, public ::testing::WithParamInterface<HiveLocation> {};

TEST_P(CurrentUserHive, FollowsTheEnvironment) {
    const HiveLocation& c = GetParam();
    auto under = [&](const std::optional<std::string>& v) -> std::optional<std::string> {
        if (!v || v->empty() || (*v)[0] != '/') {
            return v;
        }
        return (dir.string() + *v);
    };
    os.environment["CUENTAS_HKEY_CURRENT_USER"] = under(c.own);
    os.environment["XDG_CONFIG_HOME"] = under(c.xdg);
    os.environment["HOME"] = under(c.home);
    const fs::path expected = dir / c.expectedFile;
    fs::create_directories(expected.parent_path());
    writeNative(expected, "[Software]\n\"Where\"=\"here\"\n");
    HKEY key = open(HKEY_CURRENT_USER, "Software");
    std::uint8_t data[8] = {};
    std::uint32_t size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key, "Where", nullptr, nullptr, data, &size), ERROR_SUCCESS)
        << c.label;
    RegCloseKey(key);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, CurrentUserHive,
    ::testing::Values(HiveLocation{"own variable", "/own.reg", "/xdg", "/home", "own.reg"},
                      HiveLocation{"XDG configuration", "", "/xdg", "/home",
                                   "xdg/cuentas/HKEY_CURRENT_USER.reg"},
                      HiveLocation{"home", std::nullopt, std::nullopt, "/home",
                                   "home/.config/cuentas/HKEY_CURRENT_USER.reg"},
                      HiveLocation{"relative XDG is ignored", std::nullopt, "xdg", "/home",
                                   "home/.config/cuentas/HKEY_CURRENT_USER.reg"}));

TEST_F(Registry, WithoutAnyHomeTheCurrentUserHiveFailsCleanly) {
    os.environment["CUENTAS_HKEY_CURRENT_USER"] = std::nullopt;
    os.environment["XDG_CONFIG_HOME"] = std::nullopt;
    os.environment["HOME"] = std::nullopt;
    std::int32_t error = -1;
    EXPECT_EQ(open(HKEY_CURRENT_USER, "Software", &error), 0u);
    EXPECT_EQ(error, ERROR_PATH_NOT_FOUND);
}

// Waits for the lock it meets as a real program would.
struct SleepingOs : testing::RecordingOs {
    void sleep(std::uint32_t milliseconds) override { OperatingSystem::sleep(milliseconds); }
};

TEST_F(Registry, TwoProcessesCreatingKeysAtOnceLoseNothingAndWriteNothingTwice) {
    writeNative(machine, "[Old]\n");
    SleepingOs sleeping;
    sleeping.environment = os.environment;
    ScopedOs scopedSleeping(sleeping);
    constexpr int kKeys = 60;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = ::fork();
        ASSERT_GE(children[child], 0);
        if (children[child] == 0) {
            ::close(start[1]);
            char go;
            [[maybe_unused]] auto n = ::read(start[0], &go, 1); // returns when the pipe closes
            int failures = 0;
            for (int i = 0; i < kKeys; ++i) {
                for (std::string name :
                     {"Child" + std::to_string(child) + "\\K" + std::to_string(i),
                      "Shared\\K" + std::to_string(i)}) {
                    HKEY key = 0;
                    failures +=
                        RegCreateKeyExA(HKEY_LOCAL_MACHINE, name.c_str(), 0, nullptr, 0,
                                        KEY_QUERY_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS;
                    RegCloseKey(key);
                }
            }
            ::_exit(failures);
        }
    }
    ::close(start[0]);
    ::close(start[1]);
    for (pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    const std::string text = readNative(machine);
    EXPECT_EQ(text.rfind("[Old]\n", 0), 0u);
    auto count = [&](const std::string& section) {
        std::size_t found = 0;
        for (auto at = text.find(section); at != std::string::npos;
             at = text.find(section, at + 1)) {
            ++found;
        }
        return found;
    };
    for (int i = 0; i < kKeys; ++i) {
        for (std::string name : {"Child0\\K", "Child1\\K", "Shared\\K"}) {
            std::string section = "[HKEY_LOCAL_MACHINE\\" + name + std::to_string(i) + "]\n";
            EXPECT_EQ(count(section), 1u) << section;
        }
    }
}

} // namespace
} // namespace cuentas
