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
#include <filesystem>
#include <system_error>

namespace kova {

namespace {

namespace fs = std::filesystem;

// What a name denotes for the same-file checks. Only regular files, and names of files not
// yet there, can be one file with another name: a device, FIFO or terminal may be named any
// number of times, and a folder is refused when it is opened.
struct NameIdentity {
    enum class Kind { kNothing, kRegular, kNotYetThere } kind = Kind::kNothing;
    dev_t device = 0;
    ino_t inode = 0;
    fs::path resolved;
};

NameIdentity identify(const std::string& name) {
    NameIdentity identity;
    if (name.empty()) return identity;
    struct stat status {};
    if (::stat(name.c_str(), &status) == 0) {
        if (S_ISREG(status.st_mode)) {
            identity.kind = NameIdentity::Kind::kRegular;
            identity.device = status.st_dev;
            identity.inode = status.st_ino;
        }
        return identity;
    }
    if (errno != ENOENT) return identity;
    // Not there: the path its links lead to, with "." and ".." and the folders' links resolved.
    std::string path = name;
    for (int hops = 0; hops < 40; ++hops) {
        char link[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), link, sizeof link);
        if (length < 0 || static_cast<std::size_t>(length) == sizeof link) break;
        const std::string pointsTo(link, static_cast<std::size_t>(length));
        const std::size_t slash = path.rfind('/');
        path = (pointsTo.front() == '/' || slash == std::string::npos) ? pointsTo : path.substr(0, slash + 1) + pointsTo;
    }
    std::error_code error;
    identity.resolved = fs::weakly_canonical(fs::absolute(path, error), error);
    if (!error) identity.kind = NameIdentity::Kind::kNotYetThere;
    return identity;
}

bool sameFile(const NameIdentity& a, const NameIdentity& b) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
        case NameIdentity::Kind::kRegular:
            return a.device == b.device && a.inode == b.inode;
        case NameIdentity::Kind::kNotYetThere:
            return a.resolved == b.resolved;
        case NameIdentity::Kind::kNothing:
            return false;
    }
    return false;
}

// Holds SIGINT, SIGTERM and SIGHUP back while the members are renamed: a stop then comes
// after the last rename, never between two.
class StopSignalsHeld {
public:
    StopSignalsHeld() {
        sigset_t stops;
        sigemptyset(&stops);
        sigaddset(&stops, SIGINT);
        sigaddset(&stops, SIGTERM);
        sigaddset(&stops, SIGHUP);
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
    std::vector<NameIdentity> inputs;
    for (const NamedInput& input : inputs_) inputs.push_back(identify(input.name));
    std::vector<NameIdentity> outputs;
    for (const auto& member : members_) {
        const NameIdentity identity = identify(member->name());
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            if (sameFile(identity, inputs[i])) {
                return NameConflict{member->role(), member->name(), inputs_[i].role, inputs_[i].name, false};
            }
        }
        for (std::size_t o = 0; o < outputs.size(); ++o) {
            if (sameFile(identity, outputs[o])) {
                return NameConflict{member->role(), member->name(), members_[o]->role(), members_[o]->name(), true};
            }
        }
        outputs.push_back(identity);
    }
    return std::nullopt;
}

bool OutputSet::open() {
    for (const auto& member : members_) {
        if (!member->open()) return failWith("cannot create", *member);
    }
    return true;
}

bool OutputSet::commit() {
    for (const auto& member : members_) {
        if (!member->finishWriting()) return failWith("cannot write", *member);
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
    for (const auto& member : members_) {
        if (!member->replaceTarget()) return failWith("cannot write", *member);
    }
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
