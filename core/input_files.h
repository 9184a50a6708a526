#pragma once
// A directory opens for reading like a file and then reads as empty (or fails at the first
// read). None of kova's inputs can be a directory, so one is reported as a file that cannot
// be opened rather than read as an empty configuration, element-set or toolkit file.
#include <string>

namespace kova {

// True when `name` names a directory (following symbolic links); false for anything else,
// including a name that does not exist.
bool namesDirectory(const std::string& name);

}  // namespace kova
