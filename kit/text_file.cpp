// text_file.cpp - files read line by line: the configuration.
#include "io.h"

#include "system.h"

static constexpr unsigned char LineFeed = 10;
static constexpr unsigned char CarriageReturn = 13;
static constexpr unsigned char ControlZ = 26;

void OpenTextFile(TextFile& file, const Text& path)
{
    System::FileHandle handle;
    std::int32_t error = System::OpenForReading(path, handle);
    if (error != 0) {
        SetIoError(error);
        return;
    }
    file.name = path;
    file.handle = handle;
    file.state = FileState::Reading;
    file.position = 0;
    file.end = 0;
}

enum class Peek { Byte, EndOfFile, Failed };

// Looks at the next byte without taking it, refilling the buffer when it
// has run empty.
static Peek PeekByte(TextFile& file, unsigned char& byte)
{
    if (file.position == file.end) {
        std::size_t count = sizeof file.buffer;
        std::int32_t error = System::Read(file.handle, file.buffer, count);
        if (error != 0) {
            SetIoError(error);
            return Peek::Failed;
        }
        file.position = 0;
        file.end = static_cast<std::uint8_t>(count);
        if (count == 0)
            return Peek::EndOfFile;
    }
    byte = file.buffer[file.position];
    return Peek::Byte;
}

Text ReadLine(TextFile& file)
{
    Text line;
    if (IoErrorPending())
        return line;
    if (file.state != FileState::Reading) {
        SetIoError(FileNotOpenForReading);
        return line;
    }

    // Take the line: a CR is dropped but counts towards the 255 bytes, an LF
    // or a Ctrl-Z ends it without being taken.
    unsigned char byte = 0;
    Peek peek = Peek::Byte;
    for (int taken = 0; taken < 255; ++taken) {
        peek = PeekByte(file, byte);
        if (peek != Peek::Byte || byte == LineFeed || byte == ControlZ)
            break;
        ++file.position;
        if (byte != CarriageReturn)
            line.Append(static_cast<char>(byte));
    }
    if (peek == Peek::Failed)
        return line;

    // Skip to the start of the next line: past an LF, or past a CR and one
    // LF right after it. A Ctrl-Z stays where it is, so every later call
    // stops at it too.
    while (PeekByte(file, byte) == Peek::Byte && byte != ControlZ) {
        ++file.position;
        if (byte == LineFeed)
            break;
        if (byte == CarriageReturn) {
            if (PeekByte(file, byte) == Peek::Byte && byte == LineFeed)
                ++file.position;
            break;
        }
    }
    return line;
}

void CloseFile(TextFile& file)
{
    if (file.state == FileState::Closed) {
        SetIoError(FileNotOpen);
        return;
    }
    std::int32_t error = System::Close(file.handle);
    file.state = FileState::Closed;
    file.handle = System::NoHandle;
    if (error != 0)
        SetIoError(error);
}
