#include "core/output_set.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "core/file_identity.h"
#include "core/stop_signals.h"

namespace kova {

namespace {

// Holds SIGINT, SIGTERM and SIGHUP back while the members are renamed: a stop then comes
// after the last rename, never between two.
class StopSignalsHeld {
public:
    StopSignalsHeld() {
        const sigset_t stops = stopSignalSet();
        pthread_sigmask(SIG_BLOCK, &stops, &previous_);
    }
    ~StopSignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    StopSignalsHeld(const StopSignalsHeld&) = delete;
    StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

private:
    sigset_t previous_;
};

// Exclusive locks on folders, taken in the order given and released (after a sync of each
// folder, so that the renames are on the disk) when it ends.
class FolderLocks {
public:
    ~FolderLocks() {
        for (const int descriptor : descriptors_) {
            ::fsync(descriptor);
            ::close(descriptor);  // releases the lock
        }
    }
    // 0, or the errno of the failure.
    int lock(const std::string& folder) {
        const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (descriptor < 0) return errno;
        descriptors_.push_back(descriptor);
        while (::flock(descriptor, LOCK_EX) != 0) {
            if (errno != EINTR) return errno;
        }
        return 0;
    }

private:
    std::vector<int> descriptors_;
};

}  // namespace

std::string describeConflict(const NameConflict& conflict) {
    return "the " + conflict.outputRole + " " + conflict.outputName + " names the same file as the " +
           conflict.otherRole;
}

OutputSet::~OutputSet() { discard(); }

void OutputSet::addInput(std::string_view role, const std::string& name) {
    if (!name.empty()) inputs_.push_back({std::string(role), name});
}

OutputMember& OutputSet::addOutput(std::string_view role, const std::string& name) {
    members_.push_back(std::make_unique<OutputMember>(role, name));
    return *members_.back();
}

std::optional<NameConflict> OutputSet::findConflict() const {
    // Only regular files, and names of files not yet there, can be one file with another name:
    // a device, FIFO or terminal may be named any number of times.
    for (std::size_t m = 0; m < members_.size(); ++m) {
        const OutputMember& member = *members_[m];
        for (const NamedInput& input : inputs_) {
            if (namesSameFile(member.name(), input.name)) {
                return NameConflict{member.role(), member.name(), input.role, input.name, false};
            }
        }
        for (std::size_t o = 0; o < m; ++o) {
            if (namesSameFile(member.name(), members_[o]->name())) {
                return NameConflict{member.role(), member.name(), members_[o]->role(), members_[o]->name(), true};
            }
        }
    }
    return std::nullopt;
}

bool OutputSet::open() {
    syncAhead_ = std::make_unique<SyncAhead>(members_.size());
    for (std::size_t m = 0; m < members_.size(); ++m) {
        if (!members_[m]->open(syncAhead_.get(), m)) return failWith("cannot create", *members_[m]);
    }
    return true;
}

bool OutputSet::commit() {
    for (const auto& member : members_) {
        if (!member->complete()) return failWith("cannot write", *member);
    }
    return renameAll();
}

bool OutputSet::renameAll() {
    const StopSignalsHeld held;
    std::vector<std::string> folders;
    for (const auto& member : members_) {
        if (member->writesInPlace()) continue;
        char resolved[PATH_MAX];
        if (::realpath(member->targetDirectory().c_str(), resolved) == nullptr) {
            member->fail("cannot find its folder", errno);
            return failWith("cannot write", *member);
        }
        folders.emplace_back(resolved);
    }
    std::sort(folders.begin(), folders.end());
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    FolderLocks locks;
    for (const std::string& folder : folders) {
        if (const int error = locks.lock(folder); error != 0) {
            problem_ = "cannot lock the folder " + folder + ": " + std::strerror(error);
            discard();
            return false;
        }
    }
    // What a target became since the run began (a folder made under its name, say) fails
    // the set before any member replaces its file.
    for (const auto& member : members_) {
        struct stat status {};
        if (member->writesInPlace() || ::lstat(member->target().c_str(), &status) != 0) continue;
        if (S_ISDIR(status.st_mode)) {
            member->fail("", EISDIR);
            return failWith("cannot write", *member);
        }
    }
    // A rename that fails after others were made puts theirs back: the set leaves every
    // earlier file as it was, whichever member fails.
    for (const auto& member : members_) member->keepPrevious();
    for (const auto& member : members_) {
        if (!member->replaceTarget()) {
            for (const auto& renamed : members_) renamed->restorePrevious();
            for (const auto& kept : members_) kept->dropPrevious();
            return failWith("cannot write", *member);
        }
    }
    for (const auto& member : members_) member->dropPrevious();
    return true;
}

void OutputSet::discard() {
    for (const auto& member : members_) member->discard();
}

bool OutputSet::failWith(std::string_view verb, const OutputMember& member) {
    problem_ = std::string(verb) + " the " + member.role() + " " + member.name() + ": " + member.error();
    discard();
    return false;
}

}  // namespace kova
