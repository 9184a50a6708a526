#pragma once
// What a file name denotes, as the operating system sees it: the name up to its first NUL
// byte, symbolic links followed.
#include <string>

namespace kova {

// True when `name` names a directory; false for anything else, including a name that does
// not exist. A directory opens for reading like a file and then reads as empty (or fails at
// the first read), so an input that is one is reported as a file that cannot be opened.
bool namesDirectory(const std::string& name);

// True when `name` names a regular file (directly or through symbolic links).
bool namesRegularFile(const std::string& name);

// True when the two names denote one regular file: the same existing regular file (through
// hard or symbolic links too), or, where a name does not exist yet, the same path once
// resolved (x.eph and ./x.eph, or a dangling symbolic link and the name it points to).
// Files of other kinds (/dev/null, a terminal, a pipe) take any number of writers and lose
// nothing to one another: two names of one such file are not "the same file" here. Empty
// names denote no file.
bool namesSameFile(const std::string& a, const std::string& b);

}  // namespace kova
