#pragma once
// The error layer: the Error object, the conversion of runtime error records, the error
// message text, the error log and the default error handler DEFERROR.
// It never touches the regional settings, the dialog, the tables or the log-file object.

#include "errors/default_error.h"
#include "errors/error_conversion.h"
#include "errors/error_log.h"
#include "errors/error_object.h"
#include "errors/error_text.h"
#include "errors/hex_text.h"
