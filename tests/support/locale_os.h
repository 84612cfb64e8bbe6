#pragma once
// An operating system for tests that answers the locale queries from a table instead of the
// user's locale, and records each query in order.

#include "platform/os/locale_formats.h"
#include "platform/os/locale_items.h"
#include "tests/support/recording_os.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace cuentas::testing {

class LocaleOs : public RecordingOs {
public:
    std::uint32_t locale = 0x0C0A;
    // Items without an entry have no answer.
    std::map<std::uint32_t, std::string> answers;
    // Results returned as they stand, without writing the buffer (for misbehaving answers).
    std::map<std::uint32_t, int> rawResults;
    // (locale, item) of every query, in order.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> queries;
    // Runs before an item is answered; may raise a runtime error or throw.
    std::function<void(std::uint32_t item)> beforeAnswer;

    std::uint32_t userDefaultLocale() override { return locale; }
    int localeInfo(std::uint32_t asked, std::uint32_t item, char* buffer, int size) override {
        queries.emplace_back(asked, item);
        if (beforeAnswer) {
            beforeAnswer(item);
        }
        if (auto raw = rawResults.find(item); raw != rawResults.end()) {
            return raw->second;
        }
        auto found = answers.find(item);
        return found == answers.end() ? 0 : localeformat::copyAnswer(found->second, buffer, size);
    }

    // What a Spanish (Spain) user's locale answers.
    static std::map<std::uint32_t, std::string> spanish() {
        return {{LOCALE_SDECIMAL, ","}, {LOCALE_STHOUSAND, "."},
                {LOCALE_STIME, ":"},    {LOCALE_ITIME, "1"},
                {LOCALE_S1159, ""},     {LOCALE_S2359, ""},
                {LOCALE_IDATE, "1"},    {LOCALE_SDATE, "/"},
                {LOCALE_IDIGITS, "2"},  {LOCALE_SSHORTDATE, "dd/MM/yyyy"}};
    }
    // What an English (United States) user's locale answers.
    static std::map<std::uint32_t, std::string> american() {
        return {{LOCALE_SDECIMAL, "."}, {LOCALE_STHOUSAND, ","},
                {LOCALE_STIME, ":"},    {LOCALE_ITIME, "0"},
                {LOCALE_S1159, "AM"},   {LOCALE_S2359, "PM"},
                {LOCALE_IDATE, "0"},    {LOCALE_SDATE, "/"},
                {LOCALE_IDIGITS, "2"},  {LOCALE_SSHORTDATE, "M/d/yyyy"}};
    }
};

} // namespace cuentas::testing
