// 5morvane - the BBS's oneliners wall as a web page, from oneliner.dat.
#include "config.h"
#include "io.h"
#include "oneliner_record.h"
#include "oneliner_row.h"
#include "page.h"

int main()
{
    LoadConfig(OnelinersProgram);

    // An oneliner.dat that cannot be opened leaves the error pending, and
    // the response stays empty.
    RecordFile file;
    OpenRecordFile(file, ConcatText(DataPath, "oneliner.dat"), OnelinerRecord::Size);
    WritePageHeader(OnelinersProgram);

    static OnelinerRecord record;
    while (!AtEndOfFile(file)) {
        ReadRecord(file, record.bytes);
        WriteOnelinerRow(record);
    }

    WritePageFooter(OnelinersProgram);
    CloseFile(file);
    ExitProgram(0);
}
