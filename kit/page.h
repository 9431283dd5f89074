// page.h - the page frame around every table, and the composition of rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "program.h"
#include "text.h"

// The CGI header, the HTML page and the table up to an open row.
void WritePageHeader(const ProgramText& program);

// Closes the open row, the table and the page.
void WritePageFooter(const ProgramText& program);

// A table row's line, composed from fixed markup and from fields out of the
// BBS's files. Callers write these fields, so their characters that HTML
// gives meaning to are written as entities and never become markup.
//
// A line is made of up to three writes. Like any composed text each write
// is cut after its own 255th character, counted as stored before escaping:
// an entity is never split, and the bytes of a write can exceed 255. The
// writes of a line are handed to standard output together, so a row costs
// one system call, and the bytes are those of the writes one after another.
class RowWrite {
public:
    RowWrite& Markup(const Text& text) { return Add(text.chars, text.length, false); }
    RowWrite& Markup(const char* literal) { return Add(literal, std::strlen(literal), false); }
    RowWrite& Field(const Text& text) { return Add(text.chars, text.length, true); }

    // Ends the current write and starts the next one, with a cut of its own.
    // Past the last write, what follows counts towards the last write's cut.
    RowWrite& NextWrite();

    const char* Bytes() const { return bytes_; }
    std::size_t Size() const { return size_; }

private:
    RowWrite& Add(const char* chars, std::size_t length, bool escape);

    static constexpr std::size_t MaxWrites = 3;
    static constexpr std::size_t LongestEntity = 6; // &quot;
    std::uint8_t stored_ = 0; // characters of the current write, as stored
    std::uint8_t writes_ = 1;
    std::size_t size_ = 0;
    char bytes_[MaxWrites * 255 * LongestEntity];
};

void WriteText(const RowWrite& row);
void WriteLine(const RowWrite& row);
