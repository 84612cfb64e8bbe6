#include "regional/international_error.h"

#include "errors/error_object.h"
#include "platform/runtime/object.h"
#include "platform/runtime/raise.h"

namespace cuentas {

void raiseInternationalError(const std::string& rejectedMode) {
    using P = ErrorProperty;
    Value error(CreateInstance(errorClassSymbol()));
    errorPut(error, P::SubSystem, Value("International"));
    errorPut(error, P::GenCode, Value::unsignedNumber(gencode::kIllegalArgument));
    errorPut(error, P::CanDefault, Value::logic(true));
    errorPut(error, P::Arg, Value(rejectedMode));
    // The mode stays as it was whatever the block answers: there is nothing to retry.
    raiseErrorObject(error);
}

} // namespace cuentas
