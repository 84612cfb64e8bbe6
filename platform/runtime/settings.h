#pragma once
// Process-wide runtime settings: exact comparison, sounds, error logging, the network-error
// flag and the regional values that number, date and time rendering reads.

#include <cstdint>
#include <string>

namespace cuentas {

struct RegionalSettings {
    char decimalSeparator = '.';
    char thousandSeparator = ',';
    char timeSeparator = ':';
    bool twelveHourClock = false;
    std::string amSuffix;
    std::string pmSuffix;
    std::string dateFormat = "MM/DD/YY";
    int defaultDecimals = 2;
    bool centuryShown = false;
    int epoch = 1900;
    std::uint32_t modeCode = 0;       // 0 classic, 1 locale, 2 binary
    std::uint32_t dictionaryCode = 0; // how texts are ordered; kept for callers that ask
};

struct RuntimeSettings {
    bool exactComparison = false;
    bool beep = true;
    bool errorLog = true;
    std::string defaultDirectory; // GetDefaultDir / SetDefaultDir
    std::string defaultPath;      // GetDefault / SetDefault
    RegionalSettings regional;
};

// The one settings object of the process; tests put it back with resetRuntimeSettings(), which
// also lowers the network-error flag (kept by the file layer, which raises it).
RuntimeSettings& runtimeSettings();
void resetRuntimeSettings();

// Setting functions of the runtime. Without an argument each reads; with one it sets and
// returns the value it had before.
bool SetExact();
bool SetExact(bool exact);
bool SetBeep();
bool SetBeep(bool beep);
bool SetErrorLog();
bool SetErrorLog(bool log);
bool NetErr();
bool NetErr(bool raised);

// Regional setters, one per setting.
void SetDecimalSep(std::uint32_t characterCode);
void SetThousandSep(std::uint32_t characterCode);
void SetTimeSep(std::uint32_t characterCode);
void SetAmPm(bool twelveHourClock);
void SetAMExt(const std::string& suffix);
void SetPMExt(const std::string& suffix);
void SetDateFrmt(const std::string& format);
void SetDecimal(int decimals);
void SetCentury(bool shown);
void SetEpoch(int year);
// The code of the regional mode (the runtime's _SetIntl) and of the order of texts (_SetDict).
void setInternationalMode(std::uint32_t mode);
std::uint32_t internationalMode();
void setDictionaryCode(std::uint32_t code);
std::uint32_t dictionaryCode();

} // namespace cuentas
