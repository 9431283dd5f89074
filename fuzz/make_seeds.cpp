// make_seeds.cpp - writes the fuzzers' starting inputs that hold record
// bytes or control characters, made with the project's record encoder, so
// that no opaque binary has to be kept in the repository.
//
// Usage: make_seeds DIRECTORY; writes DIRECTORY/<fuzzer>/<seed>.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bbs_records.h"

namespace {

std::filesystem::path outputRoot;

void Seed(const char* fuzzer, const char* name, const std::string& bytes)
{
    std::filesystem::path directory = outputRoot / fuzzer;
    std::filesystem::create_directories(directory);
    std::ofstream file(directory / name, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Repeat(const std::string& piece, int count)
{
    std::string bytes;
    for (int i = 0; i < count; ++i)
        bytes += piece;
    return bytes;
}

Caller SampleCaller(int number)
{
    Caller caller;
    caller.userName = "Caller " + std::to_string(number);
    caller.location = "|07Springfield, |15US";
    caller.baud = "33600";
    caller.dateTime = PackDateTime(2003, 11, 1, 21, 4, 30);
    caller.node = static_cast<std::uint8_t>(number % 4 + 1);
    caller.callNumber = 1000 + number;
    return caller;
}

void CallerSeeds()
{
    std::string three;
    for (int i = 0; i < 3; ++i)
        three += EncodeCaller(SampleCaller(i));
    Seed("last_callers", "empty", "");
    Seed("last_callers", "one", EncodeCaller(SampleCaller(1)));
    Seed("last_callers", "three", three);
    Seed("last_callers", "two-and-a-half", three.substr(0, 279 * 2 + 140));

    Caller hostile;
    hostile.userName = "<script>alert(\"x\")</script> & co";
    hostile.location = StoredText("|a5|x|y12 <b>", 255);
    hostile.baud = StoredText("&quot;", 255);
    hostile.dateTime = 0xFFFFFFFFu;
    hostile.node = 255;
    hostile.callNumber = -2147483647 - 1;
    Seed("last_callers", "hostile", EncodeCaller(hostile));

    Caller longName;
    longName.userName = StoredText(std::string(255, '<'), 255);
    Seed("last_callers", "cut-name", EncodeCaller(longName) + EncodeCaller(SampleCaller(2)));
}

void OnelinerSeeds()
{
    Oneliner plain{"Hello |07world|15!", "Sysop"};
    Oneliner hostile{StoredText("<img src=x onerror=\"alert(1)\"> & |1", 255), StoredText("\"Q\" <&>", 255)};
    Seed("oneliners", "empty", "");
    Seed("oneliners", "one", EncodeOneliner(plain));
    Seed("oneliners", "hostile", EncodeOneliner(hostile) + EncodeOneliner(plain));
    Seed("oneliners", "two-and-fifty", EncodeOneliner(plain) + EncodeOneliner(hostile) + std::string(50, 'x'));
}

// A node file as the fuzzer reads it: a length byte, then the bytes.
std::string Piece(const std::string& bytes)
{
    return std::string(1, static_cast<char>(bytes.size())) + bytes;
}

void NodeSeeds()
{
    Node waiting;
    Node active{1, "Caller", "Reading |07messages", "|14Ottawa, ON"};
    Node hostile{255, StoredText("<b>\"Nick\"</b> &", 255), StoredText("<i>", 255), StoredText("|0|12|", 255)};
    std::string waitingPiece = Piece(EncodeNode(waiting));
    std::string activePiece = Piece(EncodeNode(active));

    Seed("node_status", "four-nodes", "5\n" + activePiece + waitingPiece + Piece(EncodeNode(hostile)) + waitingPiece);
    Seed("node_status", "third-missing", "5\n" + activePiece + waitingPiece);
    Seed("node_status", "second-short", "0\n" + activePiece + Piece(EncodeNode(active).substr(0, 60)) + activePiece);
    Seed("node_status", "one-node", "2\n" + Piece(EncodeNode(hostile) + "trailing bytes"));
    Seed("node_status", "blank-limit", " 3 \n" + activePiece + activePiece + activePiece);
    Seed("node_status", "hex-limit", "$4\n" + activePiece + waitingPiece + activePiece);
    // Limits the 8-bit counter never reaches count as 0.
    Seed("node_status", "limit-above-255", "256\n" + activePiece + waitingPiece + activePiece);
    Seed("node_status", "negative-limit", "-7\n" + waitingPiece + activePiece);
    // Limit 1 visits every node and then chat0.dat.
    Seed("node_status", "every-node", "1\n" + Repeat(waitingPiece, 255) + activePiece);
}

void ConfigSeeds()
{
    Seed("config_reader", "crlf", "My BBS\r\n/srv/bbs/data/\r\n5\r\n");
    Seed("config_reader", "cr-only", "My BBS\r/srv/bbs/data/\r5\r");
    Seed("config_reader", "ctrl-z", "My BBS\r\n\x1a/srv/bbs/data/\r\n");
    Seed("config_reader", "cr-in-line", "ab\rcd\nef\r\r\ngh");
    Seed("config_reader", "long-lines",
        std::string(254, 'a') + "\r\n" + std::string(255, 'b') + "\r\n" + std::string(300, 'c') + "\r\nnext\r\n");
    // A line end split across the reader's 128-byte refills.
    Seed("config_reader", "refill-boundary", std::string(127, 'x') + "\r\n" + std::string(126, 'y') + "\r\r\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    outputRoot = argv[1];
    CallerSeeds();
    OnelinerSeeds();
    NodeSeeds();
    ConfigSeeds();
    return 0;
}
