#include "errors/error_text.h"

#include "errors/error_object.h"
#include "platform/runtime/raise.h"
#include "platform/runtime/text.h"

namespace cuentas {
namespace {

std::string decimal(std::uint32_t number) {
    return NTrim(Value::unsignedNumber(number));
}

} // namespace

std::string ERRORTEXT(const Value& error) {
    using P = ErrorProperty;
    std::string text;
    auto line = [&text](const std::string& content) {
        text += content;
        text += "\r\n";
    };

    // One further blank after the prefix: two blanks stand after its colon.
    std::string head =
        errorNumber(error, P::Severity) == kSeverityWarning ? "WARNING : " : "Error Code: ";
    head += " ";
    std::uint32_t genCode = errorNumber(error, P::GenCode);
    std::string description = errorText(error, P::Description);
    if (genCode == 0) {
        head += description;
    } else {
        head += decimal(genCode) + " [ " + Upper(ErrString(genCode)) + " ]";
    }
    line(head);

    if (std::string subsystem = errorText(error, P::SubSystem); !subsystem.empty()) {
        line("Subsystem: " + subsystem);
    }
    if (std::uint32_t subCode = errorNumber(error, P::SubCode); subCode != 0) {
        std::string subCodeText = errorText(error, P::SubCodeText);
        line("Error Subcode: " + decimal(subCode) +
             (subCodeText.empty() ? "" : " (" + subCodeText + ")"));
    }
    if (std::string operation = errorText(error, P::Operation); !operation.empty()) {
        line("Operation: " + operation);
    }
    if (Symbol function = errorGet(error, P::FuncSym).asSymbol(); !function.isNull()) {
        line("Function: " + Symbol2String(function));
    }
    if (std::string fileName = errorText(error, P::FileName); !fileName.empty()) {
        line("Filename: " + SubStr(fileName, 1, 40));
    }
    std::uint32_t argType = errorNumber(error, P::ArgType);
    if (std::string arg = errorText(error, P::Arg); !arg.empty()) {
        line("Argument: " + arg);
        if (argType != 0) {
            line("Type: " + TypeString(argType));
        }
    }
    if (std::uint32_t argNum = errorNumber(error, P::ArgNum); argNum != 0) {
        line("Argument Number: " + decimal(argNum));
    }
    if (std::uint32_t required = errorNumber(error, P::ArgTypeReq);
        required != 0 && required != argType) {
        line("Requested type: " + TypeString(required));
    }
    if (!description.empty()) {
        line("Description: " + description);
    }
    return text;
}

} // namespace cuentas
