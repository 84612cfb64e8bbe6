#pragma once
// The registry value "LogFileDirectory" that LOGDIRECTORY reads, as a test sets it: on POSIX
// in a hive file of the test's own, on Windows in the real registry of the machine, where the
// value there before the test is put back afterwards.

#include <fstream>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace cuentas::testing {

inline constexpr const char* kW3svcParameters = "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters";

class LogDirectoryValue {
public:
    // `hiveFile`: where the POSIX stand-in keeps the machine's hive for the test.
    explicit LogDirectoryValue(std::string hiveFile) : hiveFile_(std::move(hiveFile)) {
#ifdef _WIN32
        previous_ = read();
        clear();
#endif
    }
    ~LogDirectoryValue() {
#ifdef _WIN32
        if (previous_) {
            set(*previous_);
        } else {
            clear();
        }
#endif
    }
    LogDirectoryValue(const LogDirectoryValue&) = delete;
    LogDirectoryValue& operator=(const LogDirectoryValue&) = delete;

    void set(const std::string& value) {
#ifdef _WIN32
        HKEY key = open(KEY_SET_VALUE);
        RegSetValueExA(key, "LogFileDirectory", 0, REG_EXPAND_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
#else
        std::ofstream(hiveFile_, std::ios::binary)
            << "REGEDIT4\r\n\r\n[" << kW3svcParameters << "]\r\n\"LogFileDirectory\"=\""
            << escaped(value) << "\"\r\n";
#endif
    }
    void clear() {
#ifdef _WIN32
        HKEY key = open(KEY_SET_VALUE);
        RegDeleteValueA(key, "LogFileDirectory");
        RegCloseKey(key);
#else
        std::remove(hiveFile_.c_str());
#endif
    }

private:
#ifdef _WIN32
    static HKEY open(REGSAM access) {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, kW3svcParameters, 0, nullptr, 0, access, nullptr,
                        &key, nullptr);
        return key;
    }
    static std::optional<std::string> read() {
        HKEY key = open(KEY_QUERY_VALUE);
        char buffer[1024] = {};
        DWORD size = sizeof buffer - 1;
        LSTATUS found = RegQueryValueExA(key, "LogFileDirectory", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        return found == ERROR_SUCCESS ? std::optional<std::string>(buffer) : std::nullopt;
    }
    std::optional<std::string> previous_;
#else
    // A .reg string: backslashes and quotes escaped.
    static std::string escaped(const std::string& value) {
        std::string out;
        for (char c : value) {
            if (c == '\\' || c == '"') {
                out.push_back('\\');
            }
            out.push_back(c);
        }
        return out;
    }
#endif
    std::string hiveFile_;
};

} // namespace cuentas::testing
