#pragma once
// One file of an output set (output_set.h): its bytes go through a 1 MiB buffer to a
// temporary file beside the file the name finally denotes, or, when the name denotes a
// character device, a FIFO or a terminal, straight to that file as it is. Only the set
// opens, commits and discards members; the program writes them.
#include <sys/types.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace kova {

class SyncAhead;

class OutputMember {
public:
    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;

    OutputMember(std::string_view role, const std::string& name);
    OutputMember(const OutputMember&) = delete;
    OutputMember& operator=(const OutputMember&) = delete;
    // Removes the temporary file unless it was renamed.
    ~OutputMember();

    // The role in messages ("OEM output") and the name as given.
    const std::string& role() const { return role_; }
    const std::string& name() const { return name_; }
    // True when the name denotes a device, FIFO or terminal, written as it is. Known once
    // the set is open; bytes written before then wait in the buffer.
    bool writesInPlace() const { return inPlace_; }

    void write(const char* data, std::size_t size) {
        if (size <= kBufferSize - buffered_) {
            std::memcpy(buffer_.get() + buffered_, data, size);
            buffered_ += size;
            return;
        }
        writePastBuffer(data, size);
    }
    void write(std::string_view text) { write(text.data(), text.size()); }
    // The member as a stream, for writers that take one; failed() still tells the outcome.
    std::ostream& stream() { return stream_; }

    // Writes out the buffer; for a regular file gives the temporary file the mode of the file
    // it replaces, syncs and closes it. The set's commit does this for every member; a program
    // that makes several members may call it first, on the thread that wrote a member, so that
    // its sync overlaps the making of the others (only once the set is open, and never while
    // the set commits). Later calls return the first outcome. False with error() set.
    bool complete();

    // True when bytes already written can be written again: a temporary file, once the set is
    // open and until the member is complete (never a device, FIFO or terminal).
    bool canRewrite() const { return !inPlace_ && descriptor_ >= 0 && !completed_; }
    // Writes `size` bytes at `offset`, over bytes written before (offset + size at most the
    // bytes written so far); only where canRewrite(). A failure fails the member.
    void overwrite(std::uint64_t offset, const char* data, std::size_t size);
    // Drops every byte written so far (the file is empty again); only where canRewrite().
    void startOver();

    // True once opening, a write, the flush, the sync or the close failed; error() says why.
    bool failed() const { return failed_; }
    const std::string& error() const { return error_; }

private:
    friend class OutputSet;

    // Resolves the name and creates the temporary file (or opens the device). False with
    // error() set. A file that replaces its target is synced ahead by `syncAhead` (in
    // `syncSlot`) while it grows.
    bool open(SyncAhead* syncAhead, std::size_t syncSlot);
    // Renames the temporary file over the target. False with error() set.
    bool replaceTarget();
    // Before the renames: a second name (a hard link beside it) for the file the target is
    // now, so that the set can put it back if a later member cannot be renamed. Where the file
    // system has no hard links the set goes on without it.
    void keepPrevious();
    // After a later member failed: the target as it was before replaceTarget() (the earlier
    // file back, or no file where there was none).
    void restorePrevious();
    // After the renames: the second name goes.
    void dropPrevious();
    // Closes and removes what was not renamed.
    void discard();
    // The directory the temporary file lives in.
    const std::string& targetDirectory() const { return directory_; }
    const std::string& target() const { return target_; }

    void writePastBuffer(const char* data, std::size_t size);
    bool writeOut(const char* data, std::size_t size);
    // After a block went out: asks the system to start writing it to the disk.
    void startWriteback(std::size_t blockBytes);
    void fail(std::string_view what, int errorNumber);
    // "<folder>/.kova-<pid>-": the start of this process's names beside the target.
    std::string siblingPrefix() const;

    // Hands a stream's bytes to the member.
    class StreamBuffer final : public std::streambuf {
    public:
        explicit StreamBuffer(OutputMember& member) : member_(member) {}

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* data, std::streamsize size) override;

    private:
        OutputMember& member_;
    };

    std::string role_;
    std::string name_;
    std::string target_;     // the file the name denotes once symbolic links are followed
    std::string directory_;  // the target's directory
    std::string temporary_;  // empty when writing in place
    int temporarySlot_ = -1;
    int descriptor_ = -1;
    bool inPlace_ = false;
    bool renamed_ = false;
    bool targetExisted_ = false;  // when keepPrevious() ran
    std::string previous_;        // the second name of the earlier file, if one was made
    bool completed_ = false;  // complete() ran
    SyncAhead* syncAhead_ = nullptr;
    std::size_t syncSlot_ = 0;
    std::uint64_t syncAskedAt_ = 0;  // writtenBytes_ at the last request
    bool failed_ = false;
    std::string error_;
    std::unique_ptr<char[]> buffer_;
    std::size_t buffered_ = 0;
    std::uint64_t writtenBytes_ = 0;  // handed to the system so far
    StreamBuffer streamBuffer_;
    std::ostream stream_;
};

}  // namespace kova
