#pragma once
// The runtime under the program: tagged values, symbols, objects by symbol, texts, arrays,
// error raising and settings. It reaches the system only through platform/os, and knows
// nothing of tables, windows or the program above it.

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
#include "platform/runtime/text_storage.h"
#include "platform/runtime/value.h"
