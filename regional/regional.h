#pragma once
// Regional settings: SETINTERNATIONAL switches the runtime's separators, clock, am/pm texts,
// date format, decimals, century and epoch to the user's locale or to fixed values.
// It never renders a number or a date itself and never touches files, the dialog or the log.

#include "regional/date_format.h"
#include "regional/locale_answers.h"
#include "regional/set_international.h"
