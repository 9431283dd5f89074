// oneliner_row.cpp - one oneliner as one table row.
#include "oneliner_row.h"

#include "fields.h"
#include "page.h"
#include "record_fields.h"

void WriteOnelinerRow(const OnelinerRecord& record)
{
    // Two writes, each cut after its own 255th character.
    WriteLine(RowWrite()
                  .Markup("<td  align=\"left\">")
                  .Field(FieldText(record.bytes, OnelinerRecord::HandleOffset))
                  .Markup("</td>")
                  .NextWrite()
                  .Markup("<td  align=\"left\">")
                  .Field(StripPipeCodes(FieldText(record.bytes, OnelinerRecord::WordsOffset)))
                  .Markup("</td></TR>"));
}
