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

RowWrite& RowWrite::Add(const Text& text, bool escape)
{
    // The cut counts characters as stored, so it is known before any of
    // them is escaped.
    std::size_t room = 255u - stored_;
    std::size_t count = text.length < room ? text.length : room;
    stored_ = static_cast<std::uint8_t>(stored_ + count);
    if (!escape) {
        std::memcpy(bytes_ + size_, text.chars, count);
        size_ += count;
        return *this;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const char* entity = Entity(text.chars[i]);
        if (entity == nullptr) {
            bytes_[size_++] = text.chars[i];
            continue;
        }
        for (; *entity != '\0'; ++entity)
            bytes_[size_++] = *entity;
    }
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
