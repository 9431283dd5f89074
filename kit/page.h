// page.h - the page frame around every table, and the composition of rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "program.h"
#include "text.h"

// The CGI header, the HTML page and the table up to an open row.
void WritePageHeader(const ProgramText& program);

// Closes the open row, the table and the page.
void WritePageFooter(const ProgramText& program);

// One write of a table row, composed from fixed markup and from fields out
// of the BBS's files. Callers write these fields, so their characters that
// HTML gives meaning to are written as entities and never become markup.
// Like any composed text the write is cut after its 255th character, counted
// as stored before escaping: an entity is never split, and the bytes written
// can exceed 255.
class RowWrite {
public:
    RowWrite& Markup(const Text& text) { return Add(text, false); }
    RowWrite& Field(const Text& text) { return Add(text, true); }

    const char* Bytes() const { return bytes_; }
    std::size_t Size() const { return size_; }

private:
    RowWrite& Add(const Text& text, bool escape);

    static constexpr std::size_t LongestEntity = 6; // &quot;
    std::uint8_t stored_ = 0;
    std::size_t size_ = 0;
    char bytes_[255 * LongestEntity];
};

void WriteText(const RowWrite& row);
void WriteLine(const RowWrite& row);
