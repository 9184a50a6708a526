#include "core/file_identity.h"

#include <filesystem>
#include <system_error>

namespace kova {

namespace fs = std::filesystem;

namespace {

// A file name as the operating system sees it: the value up to its first NUL byte.
fs::path openedPath(const std::string& name) { return fs::path(std::string(name.c_str())); }

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
    std::error_code ec;
    const bool same = fs::equivalent(first, second, ec);
    if (!ec) return same;
    // One of them is not there (yet): compare the paths they resolve to.
    std::error_code firstError;
    std::error_code secondError;
    const fs::path resolvedFirst = fs::weakly_canonical(fs::absolute(first, firstError), firstError);
    const fs::path resolvedSecond = fs::weakly_canonical(fs::absolute(second, secondError), secondError);
    return !firstError && !secondError && resolvedFirst == resolvedSecond;
}

}  // namespace kova
