// page_shape.cpp - the form of each program's row lines, and the frame around them.
#include "page_shape.h"

#include <string_view>

#include "expected_page.h"

namespace Reliability {

namespace {

// A row's form: fixed text with three kinds of gap. {n} is a decimal
// number, perhaps negative; {2} two digits; {c} a cell's field text, which
// runs to the next < and holds no raw markup character, no line end and no
// & but as an entity.
const char* const CallerForm = R"(<td  align="left">{n}</td><td  align="left">{c}</td>)"
                               R"(<td  align="left">{c}</td><td  align="left">{c}</td>)"
                               R"(<td  align="left">{n}</td><td  align="center">{2}/{2}/{2}</td></tr>)";
const char* const WaitingForm = R"(<td align="left">{n} </td><td align="left"> N/A </td>)"
                                R"(<td align="left"> N/A </td><td align="left"> Waiting for call </td></TR>)";
const char* const ActiveForm = R"(<td align="left">{n}</td><td align="left">{c}</td>)"
                               R"(<td align="left">{c}</td><td align="left">{c}</td></TR>)";
const char* const OnelinerForm = R"(<td  align="left">{c}</td><td  align="left">{c}</td></TR>)";

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsCellText(std::string_view cell)
{
    static constexpr std::string_view Entities[] = {"&amp;", "&lt;", "&gt;", "&quot;"};
    for (std::size_t at = 0; at < cell.size(); ++at) {
        char c = cell[at];
        if (c == '>' || c == '"' || c == '\r' || c == '\n')
            return false;
        if (c == '&') {
            bool entity = false;
            for (std::string_view name : Entities)
                entity = entity || cell.substr(at, name.size()) == name;
            if (!entity)
                return false;
        }
    }
    return true;
}

// Whether line has the form; the first number found goes to firstNumber.
bool Matches(std::string_view line, std::string_view form, std::string& firstNumber)
{
    firstNumber.clear();
    while (!form.empty()) {
        if (form.substr(0, 3) == "{n}") {
            std::size_t length = !line.empty() && line[0] == '-' ? 1 : 0;
            const std::size_t digitsFrom = length;
            while (length < line.size() && IsDigit(line[length]))
                ++length;
            if (length == digitsFrom)
                return false;
            if (firstNumber.empty())
                firstNumber = line.substr(0, length);
            line.remove_prefix(length);
            form.remove_prefix(3);
        } else if (form.substr(0, 3) == "{2}") {
            if (line.size() < 2 || !IsDigit(line[0]) || !IsDigit(line[1]))
                return false;
            line.remove_prefix(2);
            form.remove_prefix(3);
        } else if (form.substr(0, 3) == "{c}") {
            std::size_t length = line.find('<');
            if (length == std::string_view::npos || !IsCellText(line.substr(0, length)))
                return false;
            line.remove_prefix(length);
            form.remove_prefix(3);
        } else {
            if (line.empty() || line[0] != form[0])
                return false;
            line.remove_prefix(1);
            form.remove_prefix(1);
        }
    }
    return line.empty();
}

bool IsRow(const PageFixture::BuiltProgram& program, std::string_view line, std::string& firstNumber)
{
    if (&program == &PageFixture::Tembrix)
        return Matches(line, CallerForm, firstNumber);
    if (&program == &PageFixture::Quandelo)
        return Matches(line, WaitingForm, firstNumber) || Matches(line, ActiveForm, firstNumber);
    return Matches(line, OnelinerForm, firstNumber);
}

} // namespace

PageShape ExaminePage(const PageFixture::BuiltProgram& program, const std::string& boardName,
    const std::string& response)
{
    PageShape shape;
    const std::string header = PageFixture::PageHeader(program, boardName);
    const std::string footer = PageFixture::PageFooter(program);
    if (response.compare(0, header.size(), header) != 0) {
        shape.problem = "the response does not start with the whole header";
        return shape;
    }
    std::string_view rest = std::string_view(response).substr(header.size());
    while (!rest.empty()) {
        if (rest == footer) {
            shape.complete = true;
            return shape;
        }
        std::size_t end = rest.find("\r\n");
        if (end == std::string_view::npos) {
            shape.problem = "the response ends inside a line: " + std::string(rest.substr(0, 200));
            return shape;
        }
        std::string_view line = rest.substr(0, end);
        std::string number;
        if (!IsRow(program, line, number)) {
            shape.problem = "row " + std::to_string(shape.rows + 1) + " is not a whole row: " + std::string(line);
            return shape;
        }
        if (&program == &PageFixture::Quandelo && number != std::to_string(shape.rows + 1)) {
            shape.problem = "row " + std::to_string(shape.rows + 1) + " shows node " + number;
            return shape;
        }
        ++shape.rows;
        rest.remove_prefix(end + 2);
    }
    return shape;
}

} // namespace Reliability
