// last_callers_page.cpp - the last-callers page, after the configuration.
#include "last_callers_page.h"

#include "caller_record.h"
#include "caller_row.h"
#include "config.h"
#include "io.h"
#include "page.h"

void WriteLastCallersPage()
{
    // The open comes before the header, so a callers.dat that cannot be
    // opened leaves the error pending and the response empty.
    RecordFile file;
    OpenRecordFile(file, ConcatText(DataPath, "callers.dat"), CallerRecord::Size);
    WritePageHeader(LastCallersProgram);

    static CallerRecord record;
    while (!AtEndOfFile(file)) {
        ReadRecord(file, record.bytes);
        WriteCallerRow(record);
    }

    WritePageFooter(LastCallersProgram);
    CloseFile(file);
}
