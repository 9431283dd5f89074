// hold_open.cpp - holds a file open for writing, as a running BBS does, until its standard input ends.
//
// Usage: hold_open FILE. Opens FILE for writing, sharing it for reading only
// (the least a BBS can share and still have readers), writes "ready" to
// standard output, then waits; at the end of standard input it closes the
// file and exits 0. A failed open writes "failed <code>" and exits 1.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: hold_open FILE\n", stderr);
        return 2;
    }
    HANDLE file = ::CreateFileA(argv[1], GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("failed %lu\n", ::GetLastError());
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);

    char buffer[64];
    DWORD got = 0;
    HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    while (::ReadFile(input, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    }
    ::CloseHandle(file);
    return 0;
}
