// page.cpp - the page frame and the escaped composition of row writes.
#include "page.h"

#include "config.h"
#include "io.h"

// Credit, address and rights notice, as HTML comments.
static const char* const CommentLines[] = {
    "<!-- BBS web pages 1.00, made by the project's contributors, 2026 -->",
    "<!-- https://www.example.org/bbs-web-pages/ -->",
    "<!-- Copyright (c) 2026 the project's contributors. Released under the MIT License. -->",
};

void WritePageHeader(const ProgramText& program)
{
    const PageFrameText& frame = program.frame;
    WriteLine("Content-type: text/html");
    WriteLine();
    WriteLine("<!HTTP/3.2 200 OK>");
    WriteLine("<!Content-Type: text/html>");
    for (const char* comment : CommentLines)
        WriteLine(comment);
    WriteLine("<html>");
    WriteLine("<head>");
    WriteLine(frame.title);
    WriteLine(frame.generator);
    WriteLine(frame.formatter);
    WriteLine("</head><center>");
    WriteLine("<body bgcolor=\"#808080\" text=\"#000000\" link=\"#00ffff\" vlink=\"#00ff00\" alink=\"#ff0000\">");
    WriteLine(frame.tableOpening);
    // The sysop's own board name is written as it stands, markup and all.
    WriteLine(ConcatText(ConcatText(frame.titlePrefix, BoardName), frame.titleSuffix));
    WriteLine(frame.columnHeadings);
    WriteLine("<tr>");
}

void WritePageFooter(const ProgramText& program)
{
    for (int i = 0; i < program.frame.footerLines; ++i)
        WriteLine(program.frame.footer[i]);
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
    for (int i = 0; i < text.length && stored_ < 255; ++i, ++stored_) {
        const char* entity = escape ? Entity(text.chars[i]) : nullptr;
        if (entity == nullptr) {
            bytes_[size_++] = text.chars[i];
            continue;
        }
        for (; *entity != '\0'; ++entity)
            bytes_[size_++] = *entity;
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
