// page.cpp - the page frame and the escaped composition of row writes.
#include "page.h"

#include <cstring>

#include "config.h"
#include "io.h"

// Credit, address and rights notice, as HTML comments.
static const char* const CommentLines[] = {
    "<!-- BBS web pages 1.00, made by the project's contributors, 2026 -->",
    "<!-- https://www.example.org/bbs-web-pages/ -->",
    "<!-- Copyright (c) 2026 the project's contributors. Released under the MIT License. -->",
};

// The frame's lines, gathered so that they reach standard output in one
// write: the same bytes as line by line, at the cost of one system call.
class FrameLines {
public:
    void Line(const Text& text)
    {
        std::memcpy(bytes_ + size_, text.chars, text.length);
        size_ += text.length;
        bytes_[size_++] = '\r';
        bytes_[size_++] = '\n';
    }
    void Write() const { WriteText(bytes_, size_); }

private:
    static constexpr int MaxLines = 18;
    std::size_t size_ = 0;
    char bytes_[MaxLines * (255 + 2)];
};

void WritePageHeader(const ProgramText& program)
{
    const PageFrameText& frame = program.frame;
    FrameLines lines;
    lines.Line("Content-type: text/html");
    lines.Line("");
    lines.Line("<!HTTP/3.2 200 OK>");
    lines.Line("<!Content-Type: text/html>");
    for (const char* comment : CommentLines)
        lines.Line(comment);
    lines.Line("<html>");
    lines.Line("<head>");
    lines.Line(frame.title);
    lines.Line(frame.generator);
    lines.Line(frame.formatter);
    lines.Line("</head><center>");
    lines.Line("<body bgcolor=\"#808080\" text=\"#000000\" link=\"#00ffff\" vlink=\"#00ff00\" alink=\"#ff0000\">");
    lines.Line(frame.tableOpening);
    // The sysop's own board name is written as it stands, markup and all.
    lines.Line(ConcatText(ConcatText(frame.titlePrefix, BoardName), frame.titleSuffix));
    lines.Line(frame.columnHeadings);
    lines.Line("<tr>");
    lines.Write();
}

void WritePageFooter(const ProgramText& program)
{
    FrameLines lines;
    for (int i = 0; i < program.frame.footerLines; ++i)
        lines.Line(program.frame.footer[i]);
    lines.Write();
}

// The entity that stands for a character HTML gives meaning to, or null.
static const char* Entity(char c)
{
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    default:
        return nullptr;
    }
}

RowWrite& RowWrite::Add(const char* chars, std::size_t length, bool escape)
{
    // The cut counts characters as stored, so it is known before any of
    // them is escaped.
    std::size_t room = 255u - stored_;
    std::size_t count = length < room ? length : room;
    stored_ = static_cast<std::uint8_t>(stored_ + count);
    std::size_t plain = 0; // start of the characters not yet copied
    for (std::size_t i = 0; escape && i < count; ++i) {
        const char* entity = Entity(chars[i]);
        if (entity == nullptr)
            continue;
        std::memcpy(bytes_ + size_, chars + plain, i - plain);
        size_ += i - plain;
        std::size_t entityLength = std::strlen(entity);
        std::memcpy(bytes_ + size_, entity, entityLength);
        size_ += entityLength;
        plain = i + 1;
    }
    std::memcpy(bytes_ + size_, chars + plain, count - plain);
    size_ += count - plain;
    return *this;
}

RowWrite& RowWrite::NextWrite()
{
    if (writes_ < MaxWrites) {
        ++writes_;
        stored_ = 0;
    }
    return *this;
}

void WriteText(const RowWrite& row)
{
    WriteText(row.Bytes(), row.Size());
}

void WriteLine(const RowWrite& row)
{
    WriteLine(row.Bytes(), row.Size());
}
