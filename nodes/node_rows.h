// node_rows.h - a node as one table row: waiting for a call, or in use.
#pragma once

#include <cstdint>

#include "node_record.h"

void WriteWaitingRow(std::uint8_t node);

// The caller's handle, location without pipe codes and activity.
void WriteActiveRow(std::uint8_t node, const NodeRecord& record);
