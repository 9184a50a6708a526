#include "core/output_member.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <string>

#include "core/sync_ahead.h"
#include "core/temporary_names.h"

namespace kova {

namespace {

// Distinct temporary names for the files one process writes at once.
std::atomic<unsigned> temporaryCounter{0};

// A file is synced ahead each time this much more of it went out (sync_ahead.h): the sync at
// its end then waits for at most about this much.
constexpr std::uint64_t kSyncAheadBytes = std::uint64_t{8} << 20;

// Symbolic links followed before a name counts as a loop, as the system's own limit.
constexpr int kMostLinksFollowed = 40;

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The path a name finally denotes: the symbolic links of its last component followed (a
// dangling link gives the path it points to). 0, or the errno of the failure.
int followLinks(const std::string& name, std::string& target) {
    std::string path = name;
    for (int hops = 0; hops < kMostLinksFollowed; ++hops) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0) {
            if (errno != ENOENT) return errno;
            target = path;
            return 0;
        }
        if (!S_ISLNK(status.st_mode)) {
            target = path;
            return 0;
        }
        char link[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
        if (length < 0) return errno;
        if (static_cast<std::size_t>(length) == sizeof link) return ENAMETOOLONG;
        const std::string pointsTo(link, static_cast<std::size_t>(length));
        if (pointsTo.front() == '/' || path.find('/') == std::string::npos) {
            path = pointsTo;
        } else {
            path = path.substr(0, path.rfind('/') + 1) + pointsTo;
        }
    }
    return ELOOP;
}

// Writes all of [data, data + size): at the file's offset, or at `*offset` (which then moves
// past the bytes) when given. 0, or the errno of the failure.
int writeWhole(int descriptor, const char* data, std::size_t size, std::uint64_t* offset) {
    while (size > 0) {
        const ssize_t written = offset == nullptr ? ::write(descriptor, data, size)
                                                  : ::pwrite(descriptor, data, size, static_cast<off_t>(*offset));
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
        if (offset != nullptr) *offset += static_cast<std::uint64_t>(written);
    }
    return 0;
}

}  // namespace

OutputMember::OutputMember(std::string_view role, const std::string& name)
    : role_(role), name_(name), buffer_(new char[kBufferSize]), streamBuffer_(*this), stream_(&streamBuffer_) {}

OutputMember::~OutputMember() { discard(); }

bool OutputMember::open(SyncAhead* syncAhead, std::size_t syncSlot) {
    syncAhead_ = syncAhead;
    syncSlot_ = syncSlot;
    if (const int error = followLinks(name_, target_); error != 0) {
        fail("", error);
        return false;
    }
    directory_ = directoryOf(target_);
    struct stat status {};
    if (::stat(target_.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        if (S_ISDIR(status.st_mode)) {
            fail("", EISDIR);
            return false;
        }
        // A device, FIFO or terminal takes the bytes as they come; it is never replaced.
        inPlace_ = true;
        descriptor_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (descriptor_ < 0) fail("", errno);
        return descriptor_ >= 0;
    }
    // A short name of its own, so that a target name of any length that the system takes
    // leaves room for it. Created new, never opened over something that is there: 0666 less
    // the umask, the mode any newly written file gets.
    const std::string prefix = siblingPrefix();
    for (int tries = 0; tries < 100; ++tries) {
        temporary_ = prefix + std::to_string(temporaryCounter.fetch_add(1)) + ".tmp";
        // Remembered before it exists, so that a signal cannot come between the two.
        temporarySlot_ = temporary_names::remember(temporary_);
        descriptor_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ >= 0) return true;
        const int error = errno;
        temporary_names::forget(temporarySlot_);
        temporarySlot_ = -1;
        if (error != EEXIST) {
            temporary_.clear();
            fail("", error);
            return false;
        }
    }
    temporary_.clear();
    fail("", EEXIST);
    return false;
}

void OutputMember::writePastBuffer(const char* data, std::size_t size) {
    if (!writeOut(buffer_.get(), buffered_)) return;
    buffered_ = 0;
    if (size >= kBufferSize) {
        writeOut(data, size);
        return;
    }
    std::memcpy(buffer_.get(), data, size);
    buffered_ = size;
}

bool OutputMember::writeOut(const char* data, std::size_t size) {
    if (failed_) return false;
    if (descriptor_ < 0) {
        fail("not open", EBADF);
        return false;
    }
    if (const int error = writeWhole(descriptor_, data, size, nullptr); error != 0) {
        fail("", error);
        return false;
    }
    startWriteback(size);
    return true;
}

void OutputMember::overwrite(std::uint64_t offset, const char* data, std::size_t size) {
    // The buffer goes out first: the bytes written over may still be in it.
    if (!canRewrite() || !writeOut(buffer_.get(), buffered_)) return;
    buffered_ = 0;
    if (offset + size > writtenBytes_) {
        fail("cannot write over bytes not written yet", EINVAL);
        return;
    }
    if (const int error = writeWhole(descriptor_, data, size, &offset); error != 0) fail("", error);
}

void OutputMember::startOver() {
    if (!canRewrite() || failed_) return;
    buffered_ = 0;
    if (::ftruncate(descriptor_, 0) != 0 || ::lseek(descriptor_, 0, SEEK_SET) != 0) {
        fail("", errno);
        return;
    }
    writtenBytes_ = 0;
    syncAskedAt_ = 0;
}

void OutputMember::startWriteback([[maybe_unused]] std::size_t blockBytes) {
    const std::uint64_t start = writtenBytes_;
    writtenBytes_ += blockBytes;
#ifdef SYNC_FILE_RANGE_WRITE
    // A file of the set is synced before it replaces its target. Sent to the disk block by
    // block while the rest is still being made, its bytes are mostly there by then, and the
    // sync waits for the last blocks only instead of the whole file. Only advice: a system
    // that cannot start the writing early syncs all of it at the end.
    if (!inPlace_ && blockBytes >= kBufferSize / 2) {
        ::sync_file_range(descriptor_, static_cast<off_t>(start), static_cast<off_t>(blockBytes),
                          SYNC_FILE_RANGE_WRITE);
    }
#else
    static_cast<void>(start);
#endif
    if (!inPlace_ && syncAhead_ != nullptr && writtenBytes_ - syncAskedAt_ >= kSyncAheadBytes) {
        syncAskedAt_ = writtenBytes_;
        syncAhead_->request(syncSlot_, descriptor_);
    }
}

bool OutputMember::complete() {
    if (completed_) return !failed_;
    completed_ = true;
    const bool written = writeOut(buffer_.get(), buffered_);
    buffered_ = 0;
    if (!written) return false;
    if (!inPlace_) {
        // The file keeps the permissions it had: a replaced file is still the same file to
        // whoever reads it.
        struct stat status {};
        if (::stat(target_.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            ::fchmod(descriptor_, status.st_mode & 07777) != 0) {
            fail("cannot give it the mode of the file it replaces", errno);
            return false;
        }
        if (syncAhead_ != nullptr) {
            if (const int error = syncAhead_->settle(syncSlot_); error != 0) {
                fail("sync failed", error);
                return false;
            }
        }
        if (::fsync(descriptor_) != 0) {
            fail("sync failed", errno);
            return false;
        }
    }
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0 && errno != EINTR) {
        fail("", errno);
        return false;
    }
    return true;
}

bool OutputMember::replaceTarget() {
    if (inPlace_) return true;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        fail("cannot rename the temporary file to it", errno);
        return false;
    }
    renamed_ = true;
    temporary_names::forget(temporarySlot_);
    temporarySlot_ = -1;
    temporary_.clear();
    return true;
}

void OutputMember::keepPrevious() {
    struct stat status {};
    targetExisted_ = !inPlace_ && ::lstat(target_.c_str(), &status) == 0;
    if (!targetExisted_ || !S_ISREG(status.st_mode)) return;
    const std::string prefix = siblingPrefix();
    for (int tries = 0; tries < 100; ++tries) {
        std::string name = prefix + std::to_string(temporaryCounter.fetch_add(1)) + ".old";
        if (::link(target_.c_str(), name.c_str()) == 0) {
            previous_ = std::move(name);
            return;
        }
        if (errno != EEXIST) return;
    }
}

void OutputMember::restorePrevious() {
    if (!renamed_) return;
    if (!previous_.empty()) {
        if (::rename(previous_.c_str(), target_.c_str()) == 0) previous_.clear();
    } else if (!targetExisted_) {
        ::unlink(target_.c_str());
    }
}

void OutputMember::dropPrevious() {
    if (previous_.empty()) return;
    ::unlink(previous_.c_str());
    previous_.clear();
}

void OutputMember::discard() {
    if (descriptor_ >= 0) {
        if (syncAhead_ != nullptr) syncAhead_->settle(syncSlot_);
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_names::forget(temporarySlot_);
        temporarySlot_ = -1;
        temporary_.clear();
    }
}

std::string OutputMember::siblingPrefix() const {
    return (directory_ == "/" ? std::string() : directory_) + "/.kova-" + std::to_string(::getpid()) + "-";
}

void OutputMember::fail(std::string_view what, int errorNumber) {
    if (failed_) return;
    failed_ = true;
    error_ = what.empty() ? std::string(std::strerror(errorNumber))
                          : std::string(what) + ": " + std::strerror(errorNumber);
}

OutputMember::StreamBuffer::int_type OutputMember::StreamBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char character = traits_type::to_char_type(c);
    member_.write(&character, 1);
    return c;
}

std::streamsize OutputMember::StreamBuffer::xsputn(const char* data, std::streamsize size) {
    member_.write(data, static_cast<std::size_t>(size));
    return size;
}

}  // namespace kova
