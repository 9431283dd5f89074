// system_win32.cpp - the operating system calls of the kit, for Windows.
#include "system.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <bit>
#include <cstring>

namespace System {

// The kit keeps a handle as an integer on every platform.
static HANDLE ToSystemHandle(FileHandle handle)
{
    return std::bit_cast<HANDLE>(handle);
}

static std::int32_t LastError()
{
    return static_cast<std::int32_t>(::GetLastError());
}

std::int32_t OpenForReading(const Text& path, FileHandle& handle)
{
    handle = NoHandle;
    // A NUL would silently cut the path short and open another file.
    if (std::memchr(path.chars, '\0', path.length) != nullptr)
        return ERROR_INVALID_NAME;
    char name[256];
    std::memcpy(name, path.chars, path.length);
    name[path.length] = '\0';
    // Configuration text is in the OEM code page, a DOS editor's; the file
    // system's narrow calls take the ANSI one. Same length, done in place.
    ::OemToCharBuffA(name, name, path.length);

    // Reading only, while the BBS goes on reading, writing and replacing
    // its files. Without FILE_FLAG_BACKUP_SEMANTICS a directory fails here.
    HANDLE file = ::CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastError();

    // Pipes, consoles and character devices are no data file: a read from
    // one could wait for ever.
    std::int32_t error = 0;
    BY_HANDLE_FILE_INFORMATION information;
    if (::GetFileType(file) != FILE_TYPE_DISK)
        error = ERROR_NOT_SUPPORTED;
    else if (!::GetFileInformationByHandle(file, &information))
        error = LastError();
    else if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        error = ERROR_DIRECTORY;
    if (error != 0) {
        ::CloseHandle(file);
        return error;
    }
    handle = std::bit_cast<FileHandle>(file);
    return 0;
}

std::int32_t Read(FileHandle handle, void* buffer, std::size_t& count)
{
    std::size_t wanted = count;
    count = 0;
    // A disk file gives less than asked only at its end; go on until that
    // is certain.
    while (count < wanted) {
        std::size_t left = wanted - count;
        DWORD asked = left < MAXDWORD ? static_cast<DWORD>(left) : MAXDWORD;
        DWORD got = 0;
        if (!::ReadFile(ToSystemHandle(handle), static_cast<char*>(buffer) + count, asked, &got, nullptr)) {
            if (::GetLastError() == ERROR_HANDLE_EOF)
                break;
            return LastError();
        }
        if (got == 0)
            break;
        count += got;
    }
    return 0;
}

std::int32_t FileSize(FileHandle handle, std::uint64_t& size)
{
    LARGE_INTEGER bytes;
    if (!::GetFileSizeEx(ToSystemHandle(handle), &bytes))
        return LastError();
    size = static_cast<std::uint64_t>(bytes.QuadPart);
    return 0;
}

std::int32_t Close(FileHandle handle)
{
    return ::CloseHandle(ToSystemHandle(handle)) ? 0 : LastError();
}

// WriteFile on the handle sends the bytes as they are: no C runtime stream
// stands in between to turn LF into CR LF. A reader that has gone away
// fails the write with ERROR_BROKEN_PIPE or ERROR_NO_DATA.
static std::int32_t WriteAll(HANDLE output, const char* bytes, std::size_t count)
{
    while (count > 0) {
        DWORD asked = count < MAXDWORD ? static_cast<DWORD>(count) : MAXDWORD;
        DWORD written = 0;
        if (!::WriteFile(output, bytes, asked, &written, nullptr))
            return LastError();
        // A pipe in no-wait mode takes nothing while it is full: let the
        // reader catch up, then try again.
        if (written == 0)
            ::Sleep(1);
        bytes += written;
        count -= written;
    }
    return 0;
}

std::int32_t WriteStandardOutput(const char* head, std::size_t headCount, const char* tail, std::size_t tailCount)
{
    HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == INVALID_HANDLE_VALUE)
        return LastError();
    if (output == nullptr)
        return ERROR_INVALID_HANDLE;

    // A line and its end in one write, so the web server gets whole lines.
    char joined[1024];
    if (headCount + tailCount <= sizeof joined) {
        if (headCount > 0)
            std::memcpy(joined, head, headCount);
        if (tailCount > 0)
            std::memcpy(joined + headCount, tail, tailCount);
        return WriteAll(output, joined, headCount + tailCount);
    }
    std::int32_t error = WriteAll(output, head, headCount);
    if (error == 0)
        error = WriteAll(output, tail, tailCount);
    return error;
}

Text ExecutablePath()
{
    // A longer path is cut to the buffer, its last place going to the NUL,
    // which leaves the first 255 characters.
    char path[256];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    Text result;
    if (length > 0)
        result.Assign(path, length < sizeof path ? length : sizeof path - 1);
    return result;
}

void Exit(int code)
{
    ::ExitProcess(static_cast<UINT>(code));
}

} // namespace System
