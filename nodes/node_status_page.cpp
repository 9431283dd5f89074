// node_status_page.cpp - the node status page, after the configuration.
#include "node_status_page.h"

#include <cstdint>

#include "config.h"
#include "io.h"
#include "node_limit.h"
#include "node_record.h"
#include "node_rows.h"
#include "page.h"

void WriteNodeStatusPage()
{
    WritePageHeader(NodeStatusProgram);

    // Nodes 1 up to the limit minus one; the counter wraps from 255 to 0,
    // so a limit of 1 visits node 0 last and 0 stops after node 255.
    const std::uint8_t limit = NodeLoopLimit(NodeLimit);
    static NodeRecord record;
    std::uint8_t node = 1;
    do {
        RecordFile file;
        OpenRecordFile(file, ConcatText(ConcatText(ConcatText(DataPath, "chat"), NumberText(node)), ".dat"),
            NodeRecord::Size);
        ReadRecord(file, record.bytes);
        // A failed open or a short read leaves the error pending, so a row
        // built from what the buffer holds then never reaches the page.
        if (record.bytes[NodeRecord::InUseOffset] == 0)
            WriteWaitingRow(node);
        else
            WriteActiveRow(node, record);
        CloseFile(file);
        ++node;
        // Nothing written after a failure reaches the page: visiting the
        // remaining nodes would only cost system calls.
        if (IoErrorPending())
            break;
    } while (node != limit);

    WritePageFooter(NodeStatusProgram);
}
