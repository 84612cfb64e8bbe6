#pragma once
// The diagnostic log-file object LOGFILE: it names, backs up and appends to a plain-text log
// and writes error dumps and debug messages. It never touches the dialog, the tables or the
// regional settings, and holds no file open between calls.

#include "logfile/file_path.h"
#include "logfile/log_directory.h"
#include "logfile/log_file.h"
#include "logfile/open_retry.h"
