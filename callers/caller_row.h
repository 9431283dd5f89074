// caller_row.h - one caller as one table row.
#pragma once

#include "caller_record.h"

// Call number, name, location without pipe codes, baud, node and date, as
// one line of three writes.
void WriteCallerRow(const CallerRecord& record);
