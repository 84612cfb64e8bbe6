#pragma once
// An operating system for tests: it records message boxes, tones, sleeps, debugger output
// and the end of the process instead of doing them, and answers the error box as told. Its
// clock stands still and its local time is UTC, so no test reads the wall clock or depends on
// the machine's time zone.

#include "platform/os/operating_system.h"

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cuentas::testing {

// Thrown where the process would end, so a test can see the exit code.
struct ProcessExit {
    int code;
};

class RecordingOs : public OperatingSystem {
public:
    struct Box {
        std::string text;
        std::string caption;
        std::uint32_t flags = 0;
        ErrorBoxButtons buttons;
    };

    std::vector<Box> messageBoxes;
    std::vector<Box> errorBoxes;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> tones;
    std::vector<std::uint32_t> sleeps;
    std::string debugText;
    // The answer of the error box; by default the give-up code it was offered.
    std::function<std::uint32_t(const ErrorBoxButtons&)> errorBoxAnswer;
    std::optional<std::string> executable;
    // 7 December 2026, 12:00:00 unless a test sets another moment.
    std::chrono::system_clock::time_point clock =
        std::chrono::sys_days(std::chrono::year(2026) / 12 / 7) + std::chrono::hours(12);
    // Variables the test sets or unsets (nullopt); others come from the real environment.
    std::map<std::string, std::optional<std::string>, std::less<>> environment;

    int messageBox(const std::string& text, const std::string& caption,
                   std::uint32_t flags) override {
        messageBoxes.push_back({text, caption, flags, {}});
        return kMessageBoxAnswerOk;
    }
    std::uint32_t errorMessageBox(const std::string& text, const std::string& caption,
                                  ErrorBoxButtons buttons) override {
        errorBoxes.push_back({text, caption, 0, buttons});
        return errorBoxAnswer ? errorBoxAnswer(buttons) : buttons.breakCode;
    }
    void tone(std::uint32_t frequency, std::uint32_t ticks) override {
        tones.emplace_back(frequency, ticks);
    }
    void sleep(std::uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
    void debugOutput(const std::string& text) override { debugText += text; }
    [[noreturn]] void exitProcess(int code) override { throw ProcessExit{code}; }
    std::string executablePath() override {
        return executable ? *executable : OperatingSystem::executablePath();
    }
    std::optional<std::string> environmentVariable(std::string_view name) override {
        auto found = environment.find(name);
        return found != environment.end() ? found->second
                                          : OperatingSystem::environmentVariable(name);
    }
    std::chrono::system_clock::time_point now() override { return clock; }
    LocalTime localTime(std::chrono::system_clock::time_point moment) override {
        auto day = std::chrono::floor<std::chrono::days>(moment);
        std::chrono::year_month_day date(day);
        std::chrono::hh_mm_ss time(std::chrono::floor<std::chrono::seconds>(moment - day));
        return LocalTime{static_cast<int>(date.year()),
                         static_cast<int>(static_cast<unsigned>(date.month())),
                         static_cast<int>(static_cast<unsigned>(date.day())),
                         static_cast<int>(time.hours().count()),
                         static_cast<int>(time.minutes().count()),
                         static_cast<int>(time.seconds().count())};
    }
};

} // namespace cuentas::testing
