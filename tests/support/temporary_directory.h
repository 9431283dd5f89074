// temporary_directory.h - a fresh directory per test case, removed after it.
#pragma once

#include <filesystem>

namespace PageFixture {

// Made under the system's temporary directory (TMPDIR is honoured) with a
// unique name, mode 0700; removed with all it holds when the object goes,
// even where a test has taken permissions away.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

} // namespace PageFixture
