#include "errors/default_error.h"

#include "errors/error_conversion.h"
#include "errors/error_log.h"
#include "errors/error_object.h"
#include "errors/error_text.h"
#include "platform/os/operating_system.h"
#include "platform/os/os_error.h"
#include "platform/runtime/address_space.h"
#include "platform/runtime/call_stack.h"
#include "platform/runtime/error_box.h"
#include "platform/runtime/error_record.h"
#include "platform/runtime/process.h"
#include "platform/runtime/raise.h"
#include "platform/runtime/recovery.h"
#include "platform/runtime/settings.h"
#include "platform/runtime/text.h"

#include <exception>

namespace cuentas {
namespace {

constexpr std::uint32_t kMaxStackLevels = 5;

// The module's record buffer, used only to describe a value that is not an Error object.
Address recordBuffer() {
    static const Address buffer = addressSpace().allocate(kRecordSize);
    return buffer;
}

Value wrongClassError(const Value& received) {
    static const Symbol handlerSymbol = Symbol::intern("DEFERROR");
    AddressScope scope;
    RecordView record(addressSpace().bytes(recordBuffer()).first<kRecordSize>());
    record.clear();
    record.set(RecordField::GenCode, gencode::kWrongClass);
    record.set(RecordField::Severity, kSeverityError);
    record.set(RecordField::FuncSym, handlerSymbol.number());
    record.set(RecordField::Arg, scope.keep(addressSpace().storeText(AsString(received))));
    record.set(RecordField::ArgNum, 1);
    record.set(RecordField::CanDefault, 1);
    Value error = ErrorBuild(recordBuffer());
    if (!IsInstanceOf(error, errorClassSymbol())) {
        // No conversion installed (or another one that failed): convert it here.
        error = DefErrorGen(Value::pointer(recordBuffer()));
    }
    return error;
}

bool isQuietSharingFailure(const Value& error) {
    std::uint32_t osCode = errorNumber(error, ErrorProperty::OsCode);
    return errorFlag(error, ErrorProperty::CanDefault) &&
           errorNumber(error, ErrorProperty::GenCode) == gencode::kOpen &&
           (osCode == oserror::kSharingViolation || osCode == oserror::kLockViolation);
}

std::string callStack() {
    if (ProcLine(1) == 0) {
        return {};
    }
    std::string text = "CallStack: \r\n";
    for (std::uint32_t level = 1; level <= kMaxStackLevels && ProcLine(level) != 0; ++level) {
        text +=
            ProcName(level) + " (Line: " + NTrim(Value::unsignedNumber(ProcLine(level))) + ")\r\n";
    }
    return text;
}

void appendToErrorLog(const std::string& text, const Value& error) {
    // The log is a record for later; a failure to write it must not change the handling.
    try {
        appendErrorLogRecord(text, error);
    } catch (const std::exception& failure) {
        operatingSystem().debugOutput(std::string("error log: ") + failure.what() + "\n");
    }
}

} // namespace

Value DEFERROR(const Value& received) {
    RoutineFrame frame("DEFERROR");
    if (!findClass(errorClassSymbol())) {
        declareErrorClass(); // the handler cannot work without its class
    }
    using P = ErrorProperty;
    Value error = IsInstanceOf(received, errorClassSymbol()) ? received : wrongClassError(received);

    if (isQuietSharingFailure(error)) {
        NetErr(true);
        return Value::logic(false);
    }

    std::string caption = errorNumber(error, P::Severity) == kSeverityWarning ? "WARNING" : "ERROR";
    if (errorNumber(error, P::SubstituteType) == static_cast<std::uint32_t>(Type::Pointer)) {
        errorPut(error, P::Severity, Value::unsignedNumber(kSeverityCatastrophic));
    }
    std::string text = ERRORTEXT(error) + callStack();

    if (SetBeep()) {
        for (std::uint32_t frequency : {440u, 494u, 523u}) {
            Tone(frequency, 1);
        }
    }

    std::uint32_t defaultCode =
        errorFlag(error, P::CanDefault) || errorFlag(error, P::CanSubstitute) ? kDefaultButtonCode
                                                                              : 0;
    std::uint32_t retryCode = 0;
    if (errorFlag(error, P::CanRetry)) {
        if (errorNumber(error, P::GenCode) == gencode::kInternal) {
            errorPut(error, P::CanRetry, Value::logic(false)); // retrying never helps
        } else {
            retryCode = kRetryButtonCode;
        }
    }
    std::uint32_t breakCode = CanBreak() ? kBreakToRecoveryCode : kBreakFlag;

    if (SetErrorLog()) {
        appendToErrorLog(text, error);
    }

    std::uint32_t choice = ErrorMessageBox(text, caption, defaultCode, retryCode, breakCode);
    if (choice == kDefaultButtonCode) {
        if (errorFlag(error, P::CanSubstitute)) {
            return EmptyUsual(errorNumber(error, P::SubstituteType));
        }
        return Value::logic(false);
    }
    if (choice == kRetryButtonCode) {
        return Value::logic(true);
    }
    MathInit();
    if (CanBreak()) {
        LabelJump(error);
    }
    ErrorLevel(errorNumber(error, P::GenCode));
    closeAllTables();
    quitApplication();
}

Value defaultErrorBlock() {
    static const Value block(makeCodeBlock(
        [](Arguments arguments) { return DEFERROR(arguments.empty() ? Value() : arguments[0]); },
        1));
    return block;
}

bool installDefaultErrorBlock() {
    if (!ErrorBlock().isNil()) {
        return false;
    }
    ErrorBlock(defaultErrorBlock());
    return true;
}

} // namespace cuentas
