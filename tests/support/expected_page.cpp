// expected_page.cpp - each program's page text, line by line.
#include "expected_page.h"

#include <cstring>
#include <stdexcept>
#include <vector>

namespace PageFixture {

namespace {

struct ExpectedText {
    const BuiltProgram* program;
    const char* missingConfigMessage;
    const char* title;
    const char* generator;
    const char* formatter;
    const char* tableOpening;
    const char* titlePrefix;
    const char* titleSuffix;
    const char* columnHeadings;
    std::vector<const char*> footer;
};

const ExpectedText& TextOf(const BuiltProgram& program)
{
    static const ExpectedText texts[] = {
        {
            &Tembrix,
            "Oh Crap!! VORPA.CFG not found!!!",
            "<title>mystic last callers cgi displayer v1.00 win32</title>",
            R"(<meta name="GENERATOR" content="pralix 1.00">)",
            R"(<meta name="FORMATTER" content="pralix 1.00">)",
            R"(<table  width="60%" border="1" cellspacing="0" cellpadding="0" bgcolor="#808080">)",
            "<TR><TD colspan=6><center><b>",
            " Last Caller 2 html</b></center></TR></TD>",
            "<tr><th>call #</th><th>Users Name </th><th>Location </th><th>Baud </th><th>N </th><th>Date</th></tr>",
            {
                "</tr>",
                "</table>",
                "</center><br><b>mystic last call cgi v1.00 win32 for Mystic 1.07.3<br> by the project's contributors. Compiled 11/01/02</b>",
                "</body>",
                "</html>",
            },
        },
        {
            &Quandelo,
            "Oh Crap!! QUANDELO.CFG not found!!!",
            "<title>mystic online status cgi displayer v1.00 win32</title>",
            R"(<meta name="GENERATOR" content="quendalo 1.00">)",
            R"(<meta name="FORMATTER" content="quandelo 1.00">)",
            R"(<table width="60%" border="1" cellspacing="0" cellpadding="0" bgcolor="#808080">)",
            "<TR><TD colspan=4><center><b> Mystic BBS WhoisOnline 2 html for ",
            "</b></center></TR></TD>",
            "<tr><th>Node #</th><th>Users Handle</th><th>Location</th><th>Node Activity </th></tr>",
            {
                "</tr>",
                "</table>",
                "</center><br><b>mystic whoisonline cgi v1.00  win32 for Mystic 1.07.3<br> by the project's contributors. ",
                "Compiled on 11/01/02</b><br>",
                R"(<A HREF="https://www.example.org/bbs-web-pages/">Other Kessa related products.</A>)",
                "</body>",
                "</html>",
            },
        },
        {
            &Morvane,
            "Oh Crap!! PRALIX.CFG not found!!!",
            "<title>mystic bbs oneliner cgi displayer v1.00 win32</title>",
            R"(<meta name="GENERATOR" content="pralix 1.00">)",
            R"(<meta name="FORMATTER" content="pralix 1.00">)",
            R"(<table  width="60%" border="1" cellspacing="0" cellpadding="0" bgcolor="#808080">)",
            "<TR><TD colspan=5><center><b>",
            " Mystic BBS Oneliner 2 html</b></center></TR></TD>",
            "<tr><th>Users Handle</th><th>Users Words </th></tr>",
            {
                "</tr>",
                "</table>",
                "</center><br><b>mystic oneliners > cgi v1.00 win32 for Mystic 1.07.3<br> by the project's contributors.  Compiled 11/01/02</b>",
                "</body>",
                "</html>",
            },
        },
    };
    for (const ExpectedText& text : texts) {
        if (std::strcmp(text.program->name, program.name) == 0)
            return text;
    }
    throw std::invalid_argument(std::string("no page text for ") + program.name);
}

std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + LineEnd;
    return text;
}

} // namespace

std::string MissingConfigResponse(const BuiltProgram& program)
{
    return Lines({
        "Status: 500 Internal Server Error",
        "Content-type: text/plain",
        "",
        TextOf(program).missingConfigMessage,
    });
}

std::string TitleRow(const BuiltProgram& program, const std::string& boardName)
{
    const ExpectedText& text = TextOf(program);
    return text.titlePrefix + boardName + text.titleSuffix;
}

std::string PageHeader(const BuiltProgram& program, const std::string& boardName)
{
    const ExpectedText& text = TextOf(program);
    return Lines({
        "Content-type: text/html",
        "",
        "<!HTTP/3.2 200 OK>",
        "<!Content-Type: text/html>",
        "<!-- BBS web pages 1.00, made by the project's contributors, 2026 -->",
        "<!-- https://www.example.org/bbs-web-pages/ -->",
        "<!-- Copyright (c) 2026 the project's contributors. Released under the MIT License. -->",
        "<html>",
        "<head>",
        text.title,
        text.generator,
        text.formatter,
        "</head><center>",
        R"(<body bgcolor="#808080" text="#000000" link="#00ffff" vlink="#00ff00" alink="#ff0000">)",
        text.tableOpening,
        Cut(TitleRow(program, boardName)),
        text.columnHeadings,
        "<tr>",
    });
}

std::string PageFooter(const BuiltProgram& program)
{
    const ExpectedText& text = TextOf(program);
    return Lines(std::vector<std::string>(text.footer.begin(), text.footer.end()));
}

std::string WholePage(const BuiltProgram& program, const std::string& boardName, const std::string& rows)
{
    return PageHeader(program, boardName) + rows + PageFooter(program);
}

std::string Cut(const std::string& composed)
{
    return composed.substr(0, 255);
}

std::string CallerWrite1(const std::string& callNumber, const std::string& userName)
{
    return R"(<td  align="left">)" + callNumber + R"(</td><td  align="left">)" + userName + "</td>";
}

std::string CallerWrite2(const std::string& location, const std::string& baud)
{
    return R"(<td  align="left">)" + location + R"(</td><td  align="left">)" + baud + "</td>";
}

std::string CallerWrite3(const std::string& node, const std::string& date)
{
    return R"(<td  align="left">)" + node + R"(</td><td  align="center">)" + date + "</td></tr>";
}

std::string CallerRow(const std::string& callNumber, const std::string& userName, const std::string& location,
    const std::string& baud, const std::string& node, const std::string& date)
{
    return CallerWrite1(callNumber, userName) + CallerWrite2(location, baud) + CallerWrite3(node, date) + LineEnd;
}

std::string WaitingRow(int node)
{
    return R"(<td align="left">)" + std::to_string(node)
        + R"( </td><td align="left"> N/A </td><td align="left"> N/A </td><td align="left"> Waiting for call </td></TR>)"
        + LineEnd;
}

std::string ActiveRowText(int node, const std::string& handle, const std::string& location,
    const std::string& activity)
{
    return R"(<td align="left">)" + std::to_string(node) + R"(</td><td align="left">)" + handle
        + R"(</td><td align="left">)" + location + R"(</td><td align="left">)" + activity + "</td></TR>";
}

std::string ActiveRow(int node, const std::string& handle, const std::string& location,
    const std::string& activity)
{
    return ActiveRowText(node, handle, location, activity) + LineEnd;
}

std::string OnelinerWrite1(const std::string& handle)
{
    return R"(<td  align="left">)" + handle + "</td>";
}

std::string OnelinerWrite2(const std::string& words)
{
    return R"(<td  align="left">)" + words + "</td></TR>";
}

std::string OnelinerRow(const std::string& handle, const std::string& words)
{
    return OnelinerWrite1(handle) + OnelinerWrite2(words) + LineEnd;
}

} // namespace PageFixture
