// tembrix - the BBS's last callers as a web page, from callers.dat.
#include "caller_record.h"
#include "caller_row.h"
#include "config.h"
#include "io.h"
#include "page.h"

int main()
{
    LoadConfig(LastCallersProgram);

    // A callers.dat that cannot be opened leaves the error pending, and the
    // response stays empty.
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
    ExitProgram(0);
}
