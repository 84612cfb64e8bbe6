#pragma once
// The .dbf table reader: a pure parser of whole file images and the DBSERVER class over it.
// It only ever reads tables, each in one pass; it never writes, locks or keeps a file open.

#include "platform/table/db_server.h"
#include "platform/table/dbf_file.h"
#include "platform/table/dbf_image.h"
#include "platform/table/field_value.h"
