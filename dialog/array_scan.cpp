#include "dialog/array_scan.h"

#include "platform/runtime/arrays.h"
#include "platform/runtime/settings.h"

#include <functional>

namespace cuentas {

// The runtime's memory is reference-counted and never moves or collects an array while it is
// referenced here, so the scan needs no guard against a collector running during the walk.
std::int32_t ArrayScan(const Value& target, const Value& search, const Value& start,
                       const Value& count) {
    if (!target.isArray() || ALen(target) == 0) {
        return 0;
    }
    const auto length = static_cast<std::int32_t>(ALen(target));
    std::int32_t remaining = count.isNumeric() ? count.asInteger() : length;
    std::int32_t position;
    if (start.isNumeric()) {
        position = start.asInteger();
        if (position > length) {
            return 0;
        }
    } else {
        position = remaining < 0 ? length : 1;
    }
    std::int32_t end = length;
    if (remaining < 0) {
        end = 1;
        remaining = -remaining;
    }

    bool exact = SetExact();
    std::function<bool(const Value&)> matches;
    if (search.isCodeBlock()) {
        matches = [&search](const Value& element) { return Eval(search, element).asLogic(); };
    } else if (exact) {
        matches = [&search](const Value& element) { return exactEquals(element, search); };
    } else {
        matches = [&search](const Value& element) { return equals(element, search); };
    }

    const auto& elements = target.asArray()->elements();
    const std::int32_t step = position < end ? 1 : -1;
    for (std::int32_t i = position;; i += step) {
        if (remaining <= 0) {
            break;
        }
        // A start below 1 is outside the contract; stop rather than read before the array.
        if (i < 1 || i > length) {
            break;
        }
        if (matches(elements[static_cast<std::size_t>(i - 1)])) {
            return i;
        }
        --remaining;
        if (i == end) {
            break;
        }
    }
    return 0;
}

} // namespace cuentas
