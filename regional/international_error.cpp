#include "regional/international_error.h"

#include "platform/runtime/object.h"
#include "platform/runtime/raise.h"

namespace cuentas {

void raiseInternationalError(const std::string& rejectedMode) {
    Value error(CreateInstance(Symbol::intern("ERROR")));
    IVarPut(error, Symbol::intern("SUBSYSTEM"), Value("International"));
    IVarPut(error, Symbol::intern("GENCODE"), Value::unsignedNumber(gencode::kIllegalArgument));
    IVarPut(error, Symbol::intern("CANDEFAULT"), Value::logic(true));
    IVarPut(error, Symbol::intern("ARG"), Value(rejectedMode));
    // The mode stays as it was whatever the block answers: there is nothing to retry.
    raiseErrorObject(error);
}

} // namespace cuentas
