// oneliner_row.h - one oneliner as one table row.
#pragma once

#include "oneliner_record.h"

// The handle as stored and the words without pipe codes, in two writes.
void WriteOnelinerRow(const OnelinerRecord& record);
