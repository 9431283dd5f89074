// config_reader_fuzzer.cpp - reading a configuration file of any bytes.
//
// The input is the file. Every line read is at most 255 characters and
// holds no CR, LF or Ctrl-Z; a regular file never leaves an error; the
// lines are those of the line rules applied to the bytes in one piece,
// which the reader's 128-byte refills must not change; and once the bytes
// or a Ctrl-Z are reached, every later line is empty.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "io.h"

using namespace FuzzSupport;

namespace {

constexpr char LineFeed = 10;
constexpr char CarriageReturn = 13;
constexpr char ControlZ = 26;

// The line rules over the whole input at once: the lines up to the end of
// the input or a Ctrl-Z, after which every line is empty.
std::vector<std::string> ModelLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size() && bytes[at] != ControlZ) {
        std::string line;
        std::size_t taken = 0;
        while (taken < 255 && at < bytes.size() && bytes[at] != LineFeed && bytes[at] != ControlZ) {
            if (bytes[at] != CarriageReturn)
                line += bytes[at];
            ++at;
            ++taken;
        }
        while (at < bytes.size() && bytes[at] != ControlZ) {
            char c = bytes[at++];
            if (c == LineFeed)
                break;
            if (c == CarriageReturn) {
                if (at < bytes.size() && bytes[at] == LineFeed)
                    ++at;
                break;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path path = ScratchDirectory() / "fuzz.cfg";
    WriteFile(path, bytes);

    TextFile file;
    OpenTextFile(file, ToText(path.string()));
    Check(TakeIoError() == 0, "a regular file did not open");

    // A few calls past the last line must give empty lines and no error.
    std::vector<std::string> model = ModelLines(bytes);
    for (std::size_t call = 0; call < model.size() + 3; ++call) {
        std::string line = FromText(ReadLine(file));
        Check(TakeIoError() == 0, "reading a regular file set an error");
        Check(line.size() <= 255, "a line longer than 255 characters");
        Check(line.find_first_of(std::string_view("\r\n\x1a", 3)) == std::string::npos,
            "a line holds a line end or a Ctrl-Z", line);
        const std::string expected = call < model.size() ? model[call] : std::string();
        Check(line == expected, "a line differs from the line rules", line);
    }
    CloseFile(file);
    Check(TakeIoError() == 0, "closing set an error");
    Check(file.state == FileState::Closed, "the file is still open after closing");
    return 0;
}
