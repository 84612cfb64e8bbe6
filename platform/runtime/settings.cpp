#include "platform/runtime/settings.h"

#include "platform/os/files.h"

namespace cuentas {

RuntimeSettings& runtimeSettings() {
    static RuntimeSettings settings;
    return settings;
}

void resetRuntimeSettings() {
    runtimeSettings() = RuntimeSettings();
    setNetworkErrorFlag(false);
}

namespace {
bool exchange(bool& slot, bool value) {
    bool old = slot;
    slot = value;
    return old;
}
RegionalSettings& regional() {
    return runtimeSettings().regional;
}
char characterOf(std::uint32_t code) {
    return static_cast<char>(static_cast<unsigned char>(code));
}
} // namespace

bool SetExact() {
    return runtimeSettings().exactComparison;
}
bool SetExact(bool exact) {
    return exchange(runtimeSettings().exactComparison, exact);
}
bool SetBeep() {
    return runtimeSettings().beep;
}
bool SetBeep(bool beep) {
    return exchange(runtimeSettings().beep, beep);
}
bool SetErrorLog() {
    return runtimeSettings().errorLog;
}
bool SetErrorLog(bool log) {
    return exchange(runtimeSettings().errorLog, log);
}
bool NetErr() {
    return networkErrorFlag();
}
bool NetErr(bool raised) {
    return setNetworkErrorFlag(raised);
}

void SetDecimalSep(std::uint32_t code) {
    regional().decimalSeparator = characterOf(code);
}
void SetThousandSep(std::uint32_t code) {
    regional().thousandSeparator = characterOf(code);
}
void SetTimeSep(std::uint32_t code) {
    regional().timeSeparator = characterOf(code);
}
void SetAmPm(bool twelveHourClock) {
    regional().twelveHourClock = twelveHourClock;
}
void SetAMExt(const std::string& suffix) {
    regional().amSuffix = suffix;
}
void SetPMExt(const std::string& suffix) {
    regional().pmSuffix = suffix;
}
void SetDateFrmt(const std::string& format) {
    regional().dateFormat = format;
}
void SetDecimal(int decimals) {
    regional().defaultDecimals = decimals;
}
void SetCentury(bool shown) {
    regional().centuryShown = shown;
}
void SetEpoch(int year) {
    regional().epoch = year;
}
void setInternationalMode(std::uint32_t mode) {
    regional().modeCode = mode;
}
std::uint32_t internationalMode() {
    return regional().modeCode;
}
void setDictionaryCode(std::uint32_t code) {
    regional().dictionaryCode = code;
}
std::uint32_t dictionaryCode() {
    return regional().dictionaryCode;
}

} // namespace cuentas
