#pragma once
// ERRORTEXT: the readable multi-line text of an Error object, as the default handler shows
// it and writes it into the error log.

#include "platform/runtime/value.h"

#include <string>

namespace cuentas {

// The head line ("Error Code:  21 [ OPEN ERROR ]", or "WARNING :  <description>" for a
// warning without a general code) and one line for each property that is set: subsystem,
// subcode, operation, function, file name (its first 40 characters), argument with its type,
// argument number, requested type and description. Every line ends in CR LF. The object is
// only read.
std::string ERRORTEXT(const Value& error);

} // namespace cuentas
