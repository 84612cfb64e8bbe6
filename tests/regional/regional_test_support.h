#pragma once
// Shared helpers of the regional tests: the settings as one comparable text, and an error
// block that records what reaches it.

#include "errors/error_object.h"
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"

#include <sstream>
#include <string>
#include <vector>

namespace cuentas::testing {

inline std::string describe(const RegionalSettings& r) {
    std::ostringstream out;
    out << "decimal=" << int(static_cast<unsigned char>(r.decimalSeparator))
        << " thousand=" << int(static_cast<unsigned char>(r.thousandSeparator))
        << " time=" << int(static_cast<unsigned char>(r.timeSeparator))
        << " twelveHour=" << r.twelveHourClock << " am='" << r.amSuffix << "' pm='" << r.pmSuffix
        << "' date=" << r.dateFormat << " decimals=" << r.defaultDecimals
        << " century=" << r.centuryShown << " epoch=" << r.epoch << " mode=" << r.modeCode
        << " dict=" << r.dictionaryCode;
    return out.str();
}

inline std::string currentSettings() {
    return describe(runtimeSettings().regional);
}

// Installs a block that records every Error object it is given and answers `answer`;
// the previous block is put back at the end of the scope.
class RecordingErrorBlock {
public:
    explicit RecordingErrorBlock(Value answer = Value::logic(false))
        : previous_(ErrorBlock(Value(makeCodeBlock([this, answer](Arguments arguments) {
              received.push_back(arguments.empty() ? Value() : arguments[0]);
              return answer;
          })))) {
        installed = ErrorBlock();
    }
    ~RecordingErrorBlock() { ErrorBlock(previous_); }
    RecordingErrorBlock(const RecordingErrorBlock&) = delete;
    RecordingErrorBlock& operator=(const RecordingErrorBlock&) = delete;

    std::vector<Value> received;
    Value installed;

private:
    Value previous_;
};

} // namespace cuentas::testing
