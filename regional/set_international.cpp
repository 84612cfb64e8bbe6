#include "regional/set_international.h"

#include "platform/os/locale_items.h"
#include "platform/os/operating_system.h"
#include "platform/runtime/call_stack.h"
#include "platform/runtime/raise.h"
#include "platform/runtime/settings.h"
#include "platform/runtime/text.h"
#include "regional/date_format.h"
#include "regional/international_error.h"
#include "regional/locale_answers.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace cuentas {
namespace {

constexpr std::uint32_t kClassicCode = 0;
constexpr std::uint32_t kWindowsCode = 1;
constexpr std::uint32_t kBinaryCode = 2;

// Thrown out of the temporary error block to leave the settings half-way.
struct SettingsAbandoned {};

// Installs the block that abandons the settings, and puts the previous one back on every
// way out, an exception included.
class AbandoningErrorBlock {
public:
    AbandoningErrorBlock()
        : previous_(ErrorBlock(
              Value(makeCodeBlock([](Arguments) -> Value { throw SettingsAbandoned{}; })))) {}
    ~AbandoningErrorBlock() { ErrorBlock(std::move(previous_)); }
    AbandoningErrorBlock(const AbandoningErrorBlock&) = delete;
    AbandoningErrorBlock& operator=(const AbandoningErrorBlock&) = delete;

private:
    Value previous_;
};

Symbol modeOfCode(std::uint32_t code) {
    switch (code) {
    case kWindowsCode:
        return windowsModeSymbol();
    case kBinaryCode:
        return binaryModeSymbol();
    default:
        return classicModeSymbol();
    }
}

int clampedToInt(std::int64_t number) {
    return static_cast<int>(std::clamp<std::int64_t>(number, INT_MIN, INT_MAX));
}

void applyWindowsSettings() {
    setInternationalMode(kWindowsCode);
    LocaleAnswers locale(operatingSystem().userDefaultLocale());

    SetDecimalSep(locale.firstCharacter(LOCALE_SDECIMAL, '.'));
    SetThousandSep(locale.firstCharacter(LOCALE_STHOUSAND, ','));
    SetTimeSep(locale.firstCharacter(LOCALE_STIME, ':'));
    SetAmPm(locale.number(LOCALE_ITIME, 0) == 0);
    SetAMExt(" " + locale.text(LOCALE_S1159).value_or("am"));
    SetPMExt(" " + locale.text(LOCALE_S2359).value_or("pm"));

    auto order = static_cast<std::int16_t>(locale.number(LOCALE_IDATE, 0));
    auto separator = static_cast<char>(locale.firstCharacter(LOCALE_SDATE, '/'));
    std::string picture = locale.text(LOCALE_SSHORTDATE).value_or("mm/dd/yy");
    SetDateFrmt(dateFormatFrom(order, separator, picture));

    SetDecimal(clampedToInt(locale.number(LOCALE_IDIGITS, 2)));
    setDictionaryCode(kWindowsCode);
    SetCentury(true);
    SetEpoch(1910);
}

void applyFixedSettings(std::uint32_t code) {
    SetDecimalSep('.');
    SetThousandSep(',');
    SetTimeSep(':');
    SetAmPm(false);
    SetAMExt("");
    SetPMExt("");
    SetDateFrmt("MM/DD/YY");
    SetDecimal(2);
    setDictionaryCode(code);
    setInternationalMode(code);
    SetCentury(false);
    // The epoch stays: a program that chose one keeps it across a change of mode.
}

// The symbol a mode argument names; the null symbol for a value that names none.
Symbol symbolOf(const Value& mode) {
    if (mode.isString()) {
        return Symbol::intern(mode.asString());
    }
    return mode.asSymbol();
}

} // namespace

Symbol windowsModeSymbol() {
    static const Symbol symbol = Symbol::intern("WINDOWS");
    return symbol;
}
Symbol binaryModeSymbol() {
    static const Symbol symbol = Symbol::intern("BINARY");
    return symbol;
}
Symbol classicModeSymbol() {
    static const Symbol symbol = Symbol::intern("CLASSIC");
    return symbol;
}

Symbol SETINTERNATIONAL(const Value& mode) {
    RoutineFrame frame("SETINTERNATIONAL");
    Symbol previous = modeOfCode(internationalMode());
    if (mode.isNil()) {
        return previous;
    }

    Symbol wanted = symbolOf(mode);
    bool known = wanted == windowsModeSymbol() || wanted == classicModeSymbol() ||
                 wanted == binaryModeSymbol();
    if (!known) {
        raiseInternationalError(mode.isSymbol() ? wanted.name() : AsString(mode));
        return previous;
    }

    try {
        AbandoningErrorBlock temporaryBlock;
        if (wanted == windowsModeSymbol()) {
            applyWindowsSettings();
        } else {
            applyFixedSettings(wanted == binaryModeSymbol() ? kBinaryCode : kClassicCode);
        }
    } catch (const SettingsAbandoned&) {
        // A runtime error stopped the settings; the rest are skipped without a word.
    }
    return previous;
}

} // namespace cuentas
