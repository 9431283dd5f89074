// temporary_directory.cpp - making and removing the per-case directory.
#include "temporary_directory.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

namespace PageFixture {

TemporaryDirectory::TemporaryDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "bbs-pages-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    path_ = pattern;
}

TemporaryDirectory::~TemporaryDirectory()
{
    // A test may have made a directory unreadable; give every directory its
    // owner's rights back so that nothing is left behind.
    namespace fs = std::filesystem;
    std::error_code error;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
    for (auto entry = fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, error);
         !error && entry != fs::recursive_directory_iterator(); entry.increment(error)) {
        if (entry->is_directory(error) && !entry->is_symlink(error))
            fs::permissions(entry->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
    fs::remove_all(path_, error);
}

} // namespace PageFixture
