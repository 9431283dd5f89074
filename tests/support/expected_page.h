// expected_page.h - the responses the programs must write, built from named
// pieces so that a test states only what differs.
//
// The fixed text here is typed out on its own, not taken from the kit, so a
// slip in the kit's page text shows up as a difference. Row helpers take the
// texts as they must appear in the cell (escaped, cleaned, cut), and add the
// markup around them.
#pragma once

#include <string>

#include "program_sandbox.h"

namespace PageFixture {

// The whole answer to a missing configuration: an error status, a plain
// text type, the empty line and the program's message.
std::string MissingConfigResponse(const BuiltProgram& program);

// The CGI header, the HTML page and the table up to the open "<tr>" line.
std::string PageHeader(const BuiltProgram& program, const std::string& boardName);

// The title row of header line 16 before the 255-character cut; Cut()
// gives the line as written.
std::string TitleRow(const BuiltProgram& program, const std::string& boardName);

// From the closing "</tr>" to "</html>".
std::string PageFooter(const BuiltProgram& program);

// Header, rows (whole lines, CR LF included), footer.
std::string WholePage(const BuiltProgram& program, const std::string& boardName, const std::string& rows);

// A composed write keeps its first 255 characters.
std::string Cut(const std::string& composed);

// The line end of every line of a response.
inline const std::string LineEnd = "\r\n";

// tembrix: three writes to one line.
std::string CallerWrite1(const std::string& callNumber, const std::string& userName);
std::string CallerWrite2(const std::string& location, const std::string& baud);
std::string CallerWrite3(const std::string& node, const std::string& date);
std::string CallerRow(const std::string& callNumber, const std::string& userName, const std::string& location,
    const std::string& baud, const std::string& node, const std::string& date);

// quandelo: one write to one line each.
std::string WaitingRow(int node);
std::string ActiveRowText(int node, const std::string& handle, const std::string& location,
    const std::string& activity);
std::string ActiveRow(int node, const std::string& handle, const std::string& location,
    const std::string& activity);

// 5morvane: two writes to one line.
std::string OnelinerWrite1(const std::string& handle);
std::string OnelinerWrite2(const std::string& words);
std::string OnelinerRow(const std::string& handle, const std::string& words);

} // namespace PageFixture
