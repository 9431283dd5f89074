// node_rows.cpp - a node as one table row.
#include "node_rows.h"

#include "fields.h"
#include "io.h"
#include "page.h"
#include "record_fields.h"

void WriteWaitingRow(std::uint8_t node)
{
    WriteLine(ConcatText(ConcatText("<td align=\"left\">", NumberText(node)),
        " </td><td align=\"left\"> N/A </td><td align=\"left\"> N/A </td><td align=\"left\"> Waiting for call </td></TR>"));
}

void WriteActiveRow(std::uint8_t node, const NodeRecord& record)
{
    WriteLine(RowWrite()
                  .Markup("<td align=\"left\">")
                  .Markup(NumberText(node))
                  .Markup("</td><td align=\"left\">")
                  .Field(FieldText(record.bytes, NodeRecord::HandleOffset))
                  .Markup("</td><td align=\"left\">")
                  .Field(StripPipeCodes(FieldText(record.bytes, NodeRecord::LocationOffset)))
                  .Markup("</td><td align=\"left\">")
                  .Field(FieldText(record.bytes, NodeRecord::ActivityOffset))
                  .Markup("</td></TR>"));
}
