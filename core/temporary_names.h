#pragma once
// The names of the temporary files a process has open for writing, kept where a signal
// handler can reach them: a fixed table of fixed-size names in static storage, so that
// removing them allocates nothing and calls nothing but unlink(). A run stopped by SIGINT,
// SIGTERM or SIGHUP then leaves no half-written file behind.
#include <cstddef>
#include <string>

namespace kova::temporary_names {

inline constexpr std::size_t kSlots = 64;           // files open at once in one process
inline constexpr std::size_t kNameCapacity = 4096;  // bytes of a name with its NUL (PATH_MAX)

// Records `name` (a path as given to open()). Returns its slot, or -1 when the table is full
// or the name too long; the file is then not removed by a signal, but works as any other.
int remember(const std::string& name);

// Removes the slot from the table (after the file was renamed or removed). -1 is ignored.
void forget(int slot);

// Unlinks every remembered name. Safe in a signal handler: no allocation, no lock.
void removeAll() noexcept;

}  // namespace kova::temporary_names
