#pragma once
// The runtime under the program: values, symbols, objects, texts, arrays, files, error raising,
// settings, the .dbf table reader and the GUI class library over Qt.
// It knows nothing of the program above it: no dialog, no error handler, no bank.

#include "platform/os/files.h"
#include "platform/os/operating_system.h"
#include "platform/os/os_error.h"
#include "platform/os/paths.h"
#include "platform/os/system_calls.h"
#include "platform/runtime/address_space.h"
#include "platform/runtime/arithmetic.h"
#include "platform/runtime/arrays.h"
#include "platform/runtime/call_stack.h"
#include "platform/runtime/datetime.h"
#include "platform/runtime/error_box.h"
#include "platform/runtime/error_record.h"
#include "platform/runtime/object.h"
#include "platform/runtime/process.h"
#include "platform/runtime/raise.h"
#include "platform/runtime/recovery.h"
#include "platform/runtime/settings.h"
#include "platform/runtime/symbol.h"
#include "platform/runtime/text.h"
#include "platform/runtime/value.h"
