// io.cpp - the pending I/O error, the output stream, the program's path and end.
#include "io.h"

#include "system.h"

// One code per thread; the programs run one.
static thread_local std::int32_t pendingIoError = 0;

std::int32_t TakeIoError()
{
    std::int32_t code = pendingIoError;
    pendingIoError = 0;
    return code;
}

bool IoErrorPending()
{
    return pendingIoError != 0;
}

void SetIoError(std::int32_t code)
{
    pendingIoError = code;
}

TextFile Output = {Text(), 1, FileState::Writing};

// The stream writes through: each call hands all its bytes to standard
// output before it returns, so nothing waits in a buffer when the program
// stops, and the web server has everything written so far.
static void WriteThrough(const char* bytes, std::size_t count, bool endLine)
{
    if (pendingIoError != 0)
        return;
    if (Output.state != FileState::Writing) {
        SetIoError(FileNotOpenForWriting);
        return;
    }
    std::int32_t error = System::WriteStandardOutput(bytes, count, "\r\n", endLine ? 2 : 0);
    if (error != 0)
        SetIoError(error);
}

void WriteText(const char* bytes, std::size_t count)
{
    WriteThrough(bytes, count, false);
}

void WriteLine(const char* bytes, std::size_t count)
{
    WriteThrough(bytes, count, true);
}

void WriteText(const Text& text)
{
    WriteThrough(text.chars, text.length, false);
}

void WriteLine(const Text& text)
{
    WriteThrough(text.chars, text.length, true);
}

void WriteLine()
{
    WriteThrough(nullptr, 0, true);
}

Text ProgramPath()
{
    return System::ExecutablePath();
}

void ExitProgram(int code)
{
    pendingIoError = 0;
    // The stream holds nothing back, so closing it is only a change of
    // state; the process's end releases standard output.
    Output.state = FileState::Closed;
    System::Exit(code);
}
