#include "core/file_identity.h"

#include <filesystem>
#include <system_error>

namespace kova {

namespace fs = std::filesystem;

namespace {

// A file name as the operating system sees it: the value up to its first NUL byte.
fs::path openedPath(const std::string& name) { return fs::path(std::string(name.c_str())); }

// Where a name leads once every symbolic link on it is followed, as far as the links exist:
// a dangling link leads to the name it holds, which the run may be about to create.
fs::path resolvedPath(const fs::path& name, std::error_code& error) {
    fs::path path = fs::absolute(name, error);
    if (error) return path;
    // A cycle of links is no path at all; the system gives up after as many.
    constexpr int kMostLinksFollowed = 40;
    for (int followed = 0; followed < kMostLinksFollowed; ++followed) {
        std::error_code notALink;
        if (!fs::is_symlink(fs::symlink_status(path, notALink)) || fs::exists(path, notALink)) {
            return fs::weakly_canonical(path, error);
        }
        const fs::path target = fs::read_symlink(path, error);
        if (error) return path;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return path;
}

}  // namespace

bool namesDirectory(const std::string& name) {
    std::error_code ignored;
    return fs::is_directory(openedPath(name), ignored);
}

bool namesRegularFile(const std::string& name) {
    std::error_code ignored;
    return fs::is_regular_file(openedPath(name), ignored);
}

bool namesSameFile(const std::string& a, const std::string& b) {
    if (std::string(a.c_str()).empty() || std::string(b.c_str()).empty()) return false;
    const fs::path first = openedPath(a);
    const fs::path second = openedPath(b);
    // Only regular files count: a device or a pipe on either side is never "the same file".
    std::error_code firstMissing;
    std::error_code secondMissing;
    const fs::file_status firstStatus = fs::status(first, firstMissing);
    const fs::file_status secondStatus = fs::status(second, secondMissing);
    if ((fs::exists(firstStatus) && !fs::is_regular_file(firstStatus)) ||
        (fs::exists(secondStatus) && !fs::is_regular_file(secondStatus))) {
        return false;
    }
    std::error_code ec;
    const bool same = fs::equivalent(first, second, ec);
    if (!ec) return same;
    // One of them is not there (yet): compare the paths they resolve to.
    std::error_code firstError;
    std::error_code secondError;
    const fs::path resolvedFirst = resolvedPath(first, firstError);
    const fs::path resolvedSecond = resolvedPath(second, secondError);
    return !firstError && !secondError && resolvedFirst == resolvedSecond;
}

}  // namespace kova
