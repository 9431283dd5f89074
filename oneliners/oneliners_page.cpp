// oneliners_page.cpp - the oneliners page, after the configuration.
#include "oneliners_page.h"

#include "config.h"
#include "io.h"
#include "oneliner_record.h"
#include "oneliner_row.h"
#include "page.h"

void WriteOnelinersPage()
{
    // The open comes before the header, so an oneliner.dat that cannot be
    // opened leaves the error pending and the response empty.
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
}
