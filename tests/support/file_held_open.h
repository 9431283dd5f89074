// file_held_open.h - a data file that another process holds open for writing, as the BBS holds its files.
#pragma once

#include <filesystem>
#include <string>

namespace PageFixture {

// For as long as the object lives, another process holds the file open for
// writing. On Linux that process opens it write-only; in Windows mode it is
// hold_open.exe under Wine, which opens it for writing and shares it for
// reading only, so a page that asked to share less than reading and writing
// could not open it.
class FileHeldOpen {
public:
    explicit FileHeldOpen(const std::filesystem::path& file);
    ~FileHeldOpen();
    FileHeldOpen(const FileHeldOpen&) = delete;
    FileHeldOpen& operator=(const FileHeldOpen&) = delete;

    // True once the holder has the file open; otherwise Failure says why.
    bool Holding() const { return failure_.empty(); }
    const std::string& Failure() const { return failure_; }

private:
    int child_ = -1;
    int release_ = -1; // closing it lets the holder close the file and exit
    std::string failure_;
};

} // namespace PageFixture
