// caller_row.cpp - one caller as one table row.
#include "caller_row.h"

#include <cstdint>

#include "fields.h"
#include "page.h"
#include "record_fields.h"

void WriteCallerRow(const CallerRecord& record)
{
    const auto& bytes = record.bytes;
    auto callNumber = static_cast<std::int32_t>(FieldUint32(bytes, CallerRecord::CallNumberOffset));

    // Three writes, each cut after its own 255th character: a damaged name
    // loses its own closing tag, and the location still follows on the line.
    WriteLine(RowWrite()
                  .Markup("<td  align=\"left\">")
                  .Markup(NumberText(callNumber))
                  .Markup("</td><td  align=\"left\">")
                  .Field(FieldText(bytes, CallerRecord::UserNameOffset))
                  .Markup("</td>")
                  .NextWrite()
                  .Markup("<td  align=\"left\">")
                  .Field(StripPipeCodes(FieldText(bytes, CallerRecord::LocationOffset)))
                  .Markup("</td><td  align=\"left\">")
                  .Field(FieldText(bytes, CallerRecord::BaudOffset))
                  .Markup("</td>")
                  .NextWrite()
                  .Markup("<td  align=\"left\">")
                  .Markup(NumberText(bytes[CallerRecord::NodeOffset]))
                  .Markup("</td><td  align=\"center\">")
                  .Markup(PackedDateText(FieldUint32(bytes, CallerRecord::DateTimeOffset)))
                  .Markup("</td></tr>"));
}
