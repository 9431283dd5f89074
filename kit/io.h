// io.h - the pending I/O error, the output stream, text and record files,
// the program's own path and its end.
//
// Nothing here reports a failure through its result: a failed operation
// leaves a code in the pending I/O error, and while one is pending every
// write to the output stream and every line read does nothing. So once a
// data file turns out missing or damaged, the page simply stops there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "system.h"
#include "text.h"

// The kit's own codes; any other non-zero value is the system's errno.
enum : std::int32_t {
    ShortRecordRead = 100,
    FileNotOpen = 103,
    FileNotOpenForReading = 104,
    FileNotOpenForWriting = 105,
};

// Returns the pending I/O error (0 for none) and clears it.
std::int32_t TakeIoError();

bool IoErrorPending();

// Records a failure; the operations of this layer are its only callers
// outside of tests.
void SetIoError(std::int32_t code);

enum class FileState : std::uint8_t { Closed, Reading, Writing };

// A file read line by line (the configuration), or the output stream.
struct TextFile {
    Text name;
    System::FileHandle handle = System::NoHandle;
    FileState state = FileState::Closed;
    std::uint8_t position = 0; // next byte to take
    std::uint8_t end = 0;      // end of the valid bytes
    unsigned char buffer[128] = {};
};

// The output stream on standard output, open for writing from the start.
extern TextFile Output;

// Both hand every byte to standard output before they return, unchanged.
void WriteText(const Text& text);
void WriteLine(const Text& text);
void WriteLine();
// The same for bytes composed elsewhere (rows whose fields are escaped).
void WriteText(const char* bytes, std::size_t count);
void WriteLine(const char* bytes, std::size_t count);

// Opens an existing regular file for reading only.
void OpenTextFile(TextFile& file, const Text& path);

// The next line without its line end, at most 255 characters; CR LF and a
// lone LF end a line alike, a CR inside a line is dropped, and a Ctrl-Z ends
// the file for good.
Text ReadLine(TextFile& file);

void CloseFile(TextFile& file);

// A file of fixed-size records, read one record per system call. The BBS
// keeps writing its files while a page reads them.
struct RecordFile {
    Text name;
    System::FileHandle handle = System::NoHandle;
    bool open = false;
    // Set by a read that failed or came up short: nothing after it can be a
    // whole record in its place, so the file counts as ended.
    bool exhausted = false;
    std::size_t recordSize = 0;
    std::uint64_t position = 0;
};

// Opens an existing regular file, read-only, at position 0.
void OpenRecordFile(RecordFile& file, const Text& path, std::size_t recordSize);

// True once the position has reached or passed the file's current size, and
// for a file that is not open, so that every record loop ends.
bool AtEndOfFile(RecordFile& file);

// Reads the next recordSize bytes into record. A short read leaves the bytes
// it got at the start of record and the rest as it was.
void ReadRecord(RecordFile& file, unsigned char* record);

void CloseFile(RecordFile& file);

// The full path of the running executable, cut to 255 characters.
Text ProgramPath();

// Clears the pending error, closes the output stream and ends the process.
[[noreturn]] void ExitProgram(int code);
