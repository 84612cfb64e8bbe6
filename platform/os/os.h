#pragma once
// The operating-system seam and the file layer over it: files with the path mapping, the
// clock, locale, registry, environment, the code page. Plain C++ types only: it includes
// nothing of the runtime, and no GUI toolkit or sound library.

#include "platform/os/codepage.h"
#include "platform/os/files.h"
#include "platform/os/operating_system.h"
#include "platform/os/os_error.h"
#include "platform/os/paths.h"
#include "platform/os/system_calls.h"
