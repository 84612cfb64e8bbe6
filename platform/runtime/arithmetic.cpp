#include "platform/runtime/arithmetic.h"

#include "platform/runtime/call_stack.h"
#include "platform/runtime/raise.h"

namespace cuentas {
namespace {

double overflowAnswer(const char* operation, double a, double b, Type resultType,
                      const SourceLocation& where) {
    RuntimeError error;
    error.subsystem = "BASE";
    error.genCode = gencode::kNumericOverflow;
    error.operation = operation;
    error.description = "Numeric overflow";
    error.args = {Value::number(a, 0), Value::number(b, 0)};
    error.canSubstitute = true;
    error.substituteType = static_cast<std::uint32_t>(resultType);
    Value answer = raiseError(error, where);
    return answerIsSubstitute(answer, error) ? answer.asNumber() : 0;
}

} // namespace

std::uint32_t subtractUnsigned(std::uint32_t a, std::uint32_t b, SourceLocation where) {
    noteCallSite(where);
    if (b > a) {
        return static_cast<std::uint32_t>(overflowAnswer("-", a, b, Type::Unsigned, where));
    }
    return a - b;
}

std::int32_t addSigned(std::int32_t a, std::int32_t b, SourceLocation where) {
    noteCallSite(where);
    std::int32_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return static_cast<std::int32_t>(overflowAnswer("+", a, b, Type::Integer, where));
    }
    return sum;
}

} // namespace cuentas
