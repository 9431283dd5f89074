// system.h - the kit's only contact with the operating system.
//
// Everything that knows about handles, error codes and signals lives behind
// these few calls, with one implementation per platform, so the rest of the
// kit reads the same on every platform.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text.h"

namespace System {

// The separator that ends a directory in a path.
#ifdef _WIN32
constexpr char PathSeparator = '\\';
#else
constexpr char PathSeparator = '/';
#endif

using FileHandle = std::intptr_t;
constexpr FileHandle NoHandle = -1;

// Each call returns 0 or the system's error code.

// Opens an existing regular file for reading only, letting other processes
// go on reading and writing it. Anything that is not a regular file (a
// directory, a FIFO, a device) is refused without waiting on it, and so is a
// path holding a NUL byte.
std::int32_t OpenForReading(const Text& path, FileHandle& handle);

// Reads up to count bytes; count becomes the number read, 0 at the end.
std::int32_t Read(FileHandle handle, void* buffer, std::size_t& count);

std::int32_t FileSize(FileHandle handle, std::uint64_t& size);

// Releases the handle even when it reports a failure.
std::int32_t Close(FileHandle handle);

// Writes head and then tail to standard output, all of both: interrupted
// and partial writes are completed, and a full non-blocking pipe is waited
// on. A reader that has gone away is a failure, not the end of the process.
std::int32_t WriteStandardOutput(const char* head, std::size_t headCount, const char* tail, std::size_t tailCount);

// The executable's full path, cut to 255 characters; empty if unknown.
Text ExecutablePath();

[[noreturn]] void Exit(int code);

} // namespace System
