#pragma once
// The account dialog: its template, MAINDIALOG with the bank lookup, the control digits and
// the transfer file. It never reads the bank table: the bank directory is handed to it.

#include "dialog/account_globals.h"
#include "dialog/array_scan.h"
#include "dialog/main_dialog.h"
#include "dialog/main_dialog_template.h"
#include "dialog/pasted_account.h"
#include "dialog/transfer_file.h"
