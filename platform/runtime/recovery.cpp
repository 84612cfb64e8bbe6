#include "platform/runtime/recovery.h"

#include "platform/runtime/process.h"

namespace cuentas {
namespace {

thread_local int openPoints = 0;

// Not derived from std::exception, so that no handler meant for failures swallows a jump.
struct RecoveryJump {
    Value error;
};

class OpenPoint {
public:
    OpenPoint() { ++openPoints; }
    ~OpenPoint() { --openPoints; }
    OpenPoint(const OpenPoint&) = delete;
    OpenPoint& operator=(const OpenPoint&) = delete;
};

} // namespace

bool CanBreak() {
    return openPoints > 0;
}

void LabelJump(const Value& error) {
    if (openPoints == 0) {
        internalError(1, 1, "LabelJump without a recovery point");
        if (ErrorLevel() == 0) {
            ErrorLevel(1);
        }
        closeAllTables();
        quitApplication();
    }
    throw RecoveryJump{error};
}

std::optional<Value> recoverFrom(const std::function<void()>& operation) {
    try {
        OpenPoint point;
        operation();
    } catch (RecoveryJump& jump) {
        return std::move(jump.error);
    }
    return std::nullopt;
}

} // namespace cuentas
