#include "dialog/array_scan.h"

#include "platform/runtime/arrays.h"
#include "platform/runtime/settings.h"

#include <algorithm>
#include <span>

namespace cuentas {
namespace {

// Visits positions from `position` towards `end` (both 1-based; upwards when position < end,
// else downwards), at most `remaining` of them, and answers the first whose element matches.
// The stretch is worked out first, so that each element costs one call of the test (a
// template argument) and nothing else.
template <class Matches>
std::int32_t walk(std::span<const Value> elements, std::int32_t position, std::int32_t end,
                  std::int32_t remaining, const Matches& matches) {
    // A start below 1 is outside the contract; it finds nothing rather than read before the
    // array.
    if (remaining <= 0 || position < 1) {
        return 0;
    }
    const std::int64_t from = position;
    if (from < end) {
        const std::int64_t to = std::min<std::int64_t>(end, from + remaining - 1);
        for (std::int64_t i = from; i <= to; ++i) {
            if (matches(elements[static_cast<std::size_t>(i - 1)])) {
                return static_cast<std::int32_t>(i);
            }
        }
    } else {
        const std::int64_t to = std::max<std::int64_t>(end, from - remaining + 1);
        for (std::int64_t i = from; i >= to; --i) {
            if (matches(elements[static_cast<std::size_t>(i - 1)])) {
                return static_cast<std::int32_t>(i);
            }
        }
    }
    return 0;
}

} // namespace

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

    const std::span<const Value> elements = target.asArray()->elements();
    if (search.isCodeBlock()) {
        const CodeBlock& block = *search.asCodeBlock();
        return walk(elements, position, end, remaining,
                    [&block](const Value& element) { return block.test(element); });
    }
    if (SetExact()) {
        return walk(elements, position, end, remaining,
                    [&search](const Value& element) { return exactEquals(element, search); });
    }
    return walk(elements, position, end, remaining,
                [&search](const Value& element) { return equals(element, search); });
}

} // namespace cuentas
