#include "core/input_files.h"

#include <filesystem>
#include <system_error>

namespace kova {

bool namesDirectory(const std::string& name) {
    std::error_code ignored;
    return std::filesystem::is_directory(name.c_str(), ignored);
}

}  // namespace kova
