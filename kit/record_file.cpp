// record_file.cpp - files of fixed-size records: the BBS's data files.
#include "io.h"

#include "system.h"

void OpenRecordFile(RecordFile& file, const Text& path, std::size_t recordSize)
{
    // Read-only: a page that only shows the BBS's files needs no right to
    // write them.
    System::FileHandle handle;
    std::int32_t error = System::OpenForReading(path, handle);
    if (error != 0) {
        SetIoError(error);
        return;
    }
    file.name = path;
    file.handle = handle;
    file.open = true;
    file.exhausted = false;
    file.recordSize = recordSize;
    file.position = 0;
}

bool AtEndOfFile(RecordFile& file)
{
    if (!file.open) {
        SetIoError(FileNotOpen);
        return true;
    }
    if (file.exhausted)
        return true;
    // The BBS may append while we read, so the size is asked anew each time;
    // a file it has cut below our position has ended as well.
    std::uint64_t size = 0;
    std::int32_t error = System::FileSize(file.handle, size);
    if (error != 0) {
        SetIoError(error);
        return true;
    }
    return file.position >= size;
}

void ReadRecord(RecordFile& file, unsigned char* record)
{
    if (!file.open) {
        SetIoError(FileNotOpen);
        return;
    }
    std::size_t count = file.recordSize;
    std::int32_t error = System::Read(file.handle, record, count);
    file.position += count;
    if (error != 0) {
        SetIoError(error);
        file.exhausted = true;
    } else if (count < file.recordSize) {
        SetIoError(ShortRecordRead);
        file.exhausted = true;
    }
}

void CloseFile(RecordFile& file)
{
    if (!file.open) {
        SetIoError(FileNotOpen);
        return;
    }
    std::int32_t error = System::Close(file.handle);
    file.open = false;
    file.handle = System::NoHandle;
    if (error != 0)
        SetIoError(error);
}
