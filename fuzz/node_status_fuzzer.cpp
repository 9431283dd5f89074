// node_status_fuzzer.cpp - the node status page over any node limit and
// any set of chat<N>.dat files.
//
// Input: the node limit's text up to the first LF, then one piece per node
// file, each a length byte and that many bytes (the last piece may be cut
// short by the input's end). Piece k is chat<k>.dat for k up to 255; a
// 256th piece is chat0.dat. The page must visit the nodes in the counter's
// order, show one row per node up to the first file that is missing or
// shorter than a record, and show the footer only when there is none.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config.h"
#include "fuzz_support.h"
#include "io.h"
#include "node_record.h"
#include "node_status_page.h"
#include "page_checks.h"
#include "program.h"

using namespace FuzzSupport;

namespace {

std::string NodeFileName(int node)
{
    return "chat" + std::to_string(node) + ".dat";
}

// Index in the list of pieces of the file for a node number.
std::size_t PieceOf(int node)
{
    return node == 0 ? 255 : static_cast<std::size_t>(node - 1);
}

std::vector<std::string_view> SplitPieces(std::string_view rest)
{
    std::vector<std::string_view> pieces;
    while (!rest.empty() && pieces.size() < 256) {
        std::size_t length = static_cast<unsigned char>(rest[0]);
        rest.remove_prefix(1);
        if (length > rest.size())
            length = rest.size();
        pieces.push_back(rest.substr(0, length));
        rest.remove_prefix(length);
    }
    return pieces;
}

// The limit as the loop uses it: the number, or 0 for text that is none
// and for numbers the 8-bit counter never reaches.
int ExpectedLimit(const Text& limitText)
{
    std::int32_t value = ParseNumber(limitText).value;
    return value < 0 || value > 255 ? 0 : value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = [] {
        BoardName = "Fuzz BBS";
        DataPath = ScratchDataPath();
        return true;
    }();
    (void)ready;
    static const std::string header = CapturedHeader(NodeStatusProgram);
    static const std::string footer = CapturedFooter(NodeStatusProgram);
    // What each chat<N>.dat holds now; a file is written only when it
    // changes, since most inputs differ from the last in a few pieces.
    static std::vector<std::string> written;

    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t lineEnd = input.find('\n');
    std::string_view limitText = input.substr(0, lineEnd);
    std::string_view rest = lineEnd == std::string_view::npos ? std::string_view() : input.substr(lineEnd + 1);
    std::vector<std::string_view> pieces = SplitPieces(rest);

    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i < written.size() && written[i] == pieces[i])
            continue;
        WriteFile(ScratchDirectory() / NodeFileName(static_cast<int>((i + 1) % 256)), pieces[i]);
    }
    for (std::size_t i = pieces.size(); i < written.size(); ++i)
        std::filesystem::remove(ScratchDirectory() / NodeFileName(static_cast<int>((i + 1) % 256)));
    written.assign(pieces.begin(), pieces.end());

    NodeLimit = ToText(limitText);
    BeginCapture();
    WriteNodeStatusPage();
    std::int32_t error = TakeIoError();
    std::string page = TakeCapture();

    Check(page.compare(0, header.size(), header) == 0, "the page does not start with its header", page);
    std::string_view rows = std::string_view(page).substr(header.size());

    // The nodes the loop visits, up to the first whose file is missing or
    // shorter than a record.
    const int limit = ExpectedLimit(NodeLimit);
    std::vector<int> shown;
    bool stopped = false;
    int node = 1;
    do {
        std::size_t piece = PieceOf(node);
        if (piece >= pieces.size() || pieces[piece].size() < NodeRecord::Size) {
            stopped = true;
            break;
        }
        shown.push_back(node);
        node = (node + 1) % 256;
    } while (node != limit);

    if (stopped) {
        Check(error != 0, "a missing or short node file left no error");
    } else {
        Check(error == 0, "an error after every node was shown");
        Check(rows.size() >= footer.size() && rows.substr(rows.size() - footer.size()) == footer,
            "a page of every node lacks its footer", rows);
        rows.remove_suffix(footer.size());
    }

    const std::string rowStart = "<td align=\"left\">";
    for (std::size_t i = 0; i < shown.size(); ++i) {
        std::string opening = rowStart + std::to_string(shown[i]);
        Check(rows.substr(0, opening.size()) == opening, "a row of another node, or none", rows.substr(0, 80));
        // Field text holds no raw <, so a row ends where the next one starts.
        std::size_t length = rows.size();
        if (i + 1 < shown.size()) {
            std::size_t next = rows.find("\r\n" + rowStart + std::to_string(shown[i + 1]));
            Check(next != std::string_view::npos, "a row is missing", rows);
            length = next + 2;
        }
        std::string_view row = rows.substr(0, length);
        if (pieces[PieceOf(shown[i])][NodeRecord::InUseOffset] == 0) {
            Check(row == opening
                        + " </td><td align=\"left\"> N/A </td><td align=\"left\"> N/A </td>"
                          "<td align=\"left\"> Waiting for call </td></TR>\r\n",
                "a waiting node's row is not the waiting row", row);
        } else {
            Check(row.substr(opening.size(), 22) == "</td><td align=\"left\">", "an active row opens wrongly", row);
            Check(row.size() >= 2 && row.substr(row.size() - 2) == "\r\n", "an active row ends without CR LF", row);
        }
        CheckRowMarkup(row, {rowStart, "</td>", "</TR>"});
        rows.remove_prefix(length);
    }
    Check(rows.empty(), "more after the last row than the footer", rows);
    return 0;
}
