// row_write_fuzzer.cpp - a row write of markup and one field of any bytes.
//
// The first byte chooses how many of the following bytes are markup; the
// rest is the field. The write keeps its first 255 characters as stored:
// the markup as it is, then the field with &, <, > and " as entities, so
// that the field part holds no raw <, > or " and reads back to the field's
// first characters.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "page.h"

using namespace FuzzSupport;

namespace {

// Undoes the four entities; any other & fails.
std::string Unescape(std::string_view bytes)
{
    static constexpr struct {
        std::string_view entity;
        char character;
    } Entities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
    std::string text;
    std::size_t at = 0;
    while (at < bytes.size()) {
        char c = bytes[at];
        Check(c != '<' && c != '>' && c != '"', "a raw <, > or \" in escaped field text", bytes);
        if (c != '&') {
            text += c;
            ++at;
            continue;
        }
        bool known = false;
        for (const auto& entry : Entities) {
            if (bytes.substr(at, entry.entity.size()) == entry.entity) {
                text += entry.character;
                at += entry.entity.size();
                known = true;
                break;
            }
        }
        Check(known, "a & that starts no entity", bytes.substr(at, 16));
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::size_t markupLength = data[0] < rest.size() ? data[0] : rest.size();
    std::string_view markup = rest.substr(0, markupLength);
    std::string_view field = rest.substr(markupLength, 255);

    RowWrite row;
    row.Markup(ToText(markup)).Field(ToText(field));
    std::string_view written(row.Bytes(), row.Size());

    const std::size_t keptMarkup = markup.size() < 255 ? markup.size() : 255;
    const std::size_t keptField = 255 - keptMarkup < field.size() ? 255 - keptMarkup : field.size();
    Check(written.substr(0, keptMarkup) == markup.substr(0, keptMarkup), "the markup is not kept as it is", written);
    Check(Unescape(written.substr(keptMarkup)) == field.substr(0, keptField),
        "the field does not read back from its escaped text", written);
    return 0;
}
