// The output set: files that appear together or not at all, links and devices written
// through, refusals before anything is created, and runs that share a set.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "core/output_set.h"
#include "core/program_shell.h"
#include "core/sync_ahead.h"
#include "tests/support/temporary_directory.h"

namespace kova {
namespace {

namespace fs = std::filesystem;
using test::readText;
using test::writeText;

std::vector<std::string> namesIn(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Writes `text` to every name as one set; the set's outcome.
bool writeSet(const std::vector<std::string>& names, const std::string& text, std::string* problem = nullptr) {
    OutputSet outputs;
    std::vector<OutputMember*> members;
    for (const std::string& name : names) members.push_back(&outputs.addOutput("output", name));
    if (outputs.findConflict() || !outputs.open()) {
        if (problem) *problem = outputs.problem();
        return false;
    }
    for (OutputMember* member : members) member->write(text);
    const bool committed = outputs.commit();
    if (problem) *problem = outputs.problem();
    return committed;
}

TEST(OutputSet, MembersAppearOnlyWhenAllAreCommitted) {
    test::TemporaryDirectory dir;
    writeText(dir.file("a"), "old a");
    {
        OutputSet outputs;
        OutputMember& a = outputs.addOutput("first file", dir.file("a").string());
        OutputMember& b = outputs.addOutput("second file", dir.file("b").string());
        ASSERT_TRUE(outputs.open()) << outputs.problem();
        const std::string big(3 * OutputMember::kBufferSize / 2, 'x');  // past the buffer
        a.write("head\n");
        a.write(big);
        b.stream() << "through a stream " << 42;
        EXPECT_EQ(readText(dir.file("a")), "old a");
        EXPECT_EQ(namesIn(dir.path()).size(), 3u);  // a and two temporary files
        ASSERT_TRUE(outputs.commit()) << outputs.problem();
        EXPECT_EQ(readText(dir.file("a")), "head\n" + big);
        EXPECT_EQ(readText(dir.file("b")), "through a stream 42");
    }
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a", "b"}));
    {
        OutputSet abandoned;
        OutputMember& a = abandoned.addOutput("first file", dir.file("a").string());
        ASSERT_TRUE(abandoned.open());
        a.write("half");
    }  // never committed
    EXPECT_EQ(readText(dir.file("a")).substr(0, 5), "head\n");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a", "b"}));
}

TEST(OutputSet, AFailedMemberLeavesEveryEarlierFileAsItWas) {
    test::TemporaryDirectory dir;
    writeText(dir.file("a"), "old a");
    std::string problem;
    // Cannot be created: nothing is.
    EXPECT_FALSE(writeSet({dir.file("a").string(), dir.file("missing/b").string()}, "new", &problem));
    EXPECT_EQ(problem, "cannot create the output " + dir.file("missing/b").string() + ": No such file or directory");
    // A full disk: the device fails when the set is completed, and nothing is renamed.
    if (fs::exists("/dev/full")) {
        EXPECT_FALSE(writeSet({dir.file("a").string(), "/dev/full"}, "new", &problem));
        EXPECT_EQ(problem, "cannot write the output /dev/full: No space left on device");
    }
    // A target that became a folder while the run wrote fails the set before any rename.
    {
        OutputSet outputs;
        outputs.addOutput("output", dir.file("a").string());
        outputs.addOutput("output", dir.file("c").string());
        ASSERT_TRUE(outputs.open());
        fs::create_directory(dir.file("c"));
        EXPECT_FALSE(outputs.commit());
        EXPECT_NE(outputs.problem().find("Is a directory"), std::string::npos) << outputs.problem();
    }
    EXPECT_EQ(readText(dir.file("a")), "old a");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a", "c"}));
}

TEST(OutputSet, LinksAreFollowedAndKeptAndModesKept) {
    test::TemporaryDirectory dir;
    fs::create_directory(dir.file("real"));
    writeText(dir.file("real/target"), "old");
    ::chmod(dir.file("real/target").c_str(), 0640);
    fs::create_symlink("real/target", dir.file("link"));
    fs::create_symlink(dir.file("real/new"), dir.file("dangling"));
    ASSERT_TRUE(writeSet({dir.file("link").string(), dir.file("dangling").string()}, "new"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link")));
    EXPECT_TRUE(fs::is_symlink(dir.file("dangling")));
    EXPECT_EQ(readText(dir.file("real/target")), "new");
    EXPECT_EQ(readText(dir.file("real/new")), "new");
    struct stat status {};
    ASSERT_EQ(::stat(dir.file("real/target").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(namesIn(dir.file("real")), (std::vector<std::string>{"new", "target"}));
}

TEST(OutputSet, DevicesAndFifosAreWrittenAsTheyAre) {
    test::TemporaryDirectory dir;
    ASSERT_TRUE(writeSet({"/dev/null", "/dev/null"}, "to nowhere"));  // one device, named twice
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = readText(dir.file("fifo")); });
    const bool written = writeSet({dir.file("fifo").string(), dir.file("plain").string()}, "through the pipe");
    reader.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(received, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(dir.file("fifo")));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"fifo", "plain"}));
}

TEST(OutputSet, NamesThatDenoteOneFileAreFoundBeforeAnythingIsCreated) {
    test::TemporaryDirectory dir;
    writeText(dir.file("in.kov"), "input");
    fs::create_hard_link(dir.file("in.kov"), dir.file("hard"));
    fs::create_symlink(dir.file("in.kov"), dir.file("soft"));
    fs::create_symlink(dir.file("later"), dir.file("to-later"));
    struct Case {
        std::vector<std::string> outputs;
        std::string conflictWith;  // empty: none
    };
    const std::string in = dir.file("in.kov").string();
    const Case cases[] = {
        {{dir.file("hard").string()}, "input"},
        {{dir.file("soft").string()}, "input"},
        {{dir.path().string() + "/./in.kov"}, "input"},
        {{dir.file("x").string(), dir.path().string() + "/sub/../x"}, "output"},
        {{dir.file("later").string(), dir.file("to-later").string()}, "output"},
        {{"/dev/null", "/dev/null"}, ""},
        {{dir.file("x").string(), dir.file("y").string()}, ""},
    };
    fs::create_directory(dir.file("sub"));
    for (const Case& c : cases) {
        OutputSet outputs;
        outputs.addInput("input", in);
        for (const std::string& name : c.outputs) outputs.addOutput("output", name);
        const std::optional<NameConflict> conflict = outputs.findConflict();
        EXPECT_EQ(conflict ? conflict->otherRole : "", c.conflictWith) << c.outputs.back();
    }
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"hard", "in.kov", "soft", "sub", "to-later"}));
}

TEST(OutputSet, AnyNameTheSystemTakesWorks) {
    test::TemporaryDirectory dir;
    const std::vector<std::string> names = {
        std::string(250, 'n'),                 // near the limit of one name: no room to append to it
        std::string("caf\xE9-\xFF\x01.oem"),  // not UTF-8, a control byte
        "-leading-dash",
    };
    for (const std::string& name : names) {
        ASSERT_TRUE(writeSet({dir.file(name).string()}, "bytes")) << name.size();
        EXPECT_EQ(readText(dir.file(name)), "bytes");
    }
    EXPECT_EQ(namesIn(dir.path()).size(), names.size());
}

// Several processes commit sets of the same two names at once: every time, both files come
// from one of them.
TEST(OutputSet, RunsSharingASetNeverMixItsMembers) {
    test::TemporaryDirectory dir;
    const std::string first = dir.file("pass.oem").string();
    const std::string second = dir.file("pass.aem").string();
    constexpr int kWriters = 4;
    constexpr int kRounds = 12;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<pid_t> children;
        for (int writer = 0; writer < kWriters; ++writer) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                const std::string mark = "run " + std::to_string(writer) + std::string(200000, '.');
                _exit(writeSet({first, second}, mark) ? 0 : 1);
            }
            children.push_back(child);
        }
        for (const pid_t child : children) {
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        EXPECT_EQ(readText(first).substr(0, 6), readText(second).substr(0, 6)) << "round " << round;
    }
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"pass.aem", "pass.oem"}));
}

// A process stopped by a signal while its set is open leaves no temporary file, and its
// parent sees the signal.
TEST(OutputSet, AStopBySignalRemovesTheTemporaryFiles) {
    test::TemporaryDirectory dir;
    writeText(dir.file("a"), "old");
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            prepareProgramProcess();
            OutputSet outputs;
            outputs.addOutput("output", dir.file("a").string());
            outputs.addOutput("output", dir.file("b").string());
            if (!outputs.open()) _exit(3);
            ::raise(signalNumber);
            _exit(4);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << status;
        EXPECT_EQ(WTERMSIG(status), signalNumber);
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"a"});
        EXPECT_EQ(readText(dir.file("a")), "old");
    }
}

// A member whose rename fails after earlier members were renamed (its target made immutable, so
// that even root cannot replace it): the earlier renames are undone, a file that was there comes
// back and one that was not is gone again.
TEST(OutputSet, ARenameThatFailsPutsBackTheFilesRenamedBeforeIt) {
    test::TemporaryDirectory dir;
    writeText(dir.file("a"), "old a");
    writeText(dir.file("b"), "old b");
    struct Immutable {
        int descriptor = -1;
        int flags = 0;
        ~Immutable() {
            if (descriptor < 0) return;
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags);
            ::close(descriptor);
        }
    } immutable;
    immutable.descriptor = ::open(dir.file("b").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(immutable.descriptor, 0);
    int flags = 0;
    if (::ioctl(immutable.descriptor, FS_IOC_GETFLAGS, &flags) != 0) GTEST_SKIP() << "no file flags here";
    immutable.flags = flags | FS_IMMUTABLE_FL;
    if (::ioctl(immutable.descriptor, FS_IOC_SETFLAGS, &immutable.flags) != 0) {
        immutable.flags = flags;
        GTEST_SKIP() << "no immutable files here (they need root and a file system that has them)";
    }
    std::string problem;
    EXPECT_FALSE(writeSet({dir.file("c").string(), dir.file("a").string(), dir.file("b").string()}, "new", &problem));
    EXPECT_NE(problem.find("cannot rename the temporary file to it"), std::string::npos) << problem;
    EXPECT_EQ(readText(dir.file("a")), "old a");
    EXPECT_EQ(readText(dir.file("b")), "old b");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a", "b"}));
}

// A file large enough to be synced several times while it grows, finished on the thread that
// wrote it while another member is written here, as kovaexport writes its kernels.
TEST(OutputSet, AMemberSyncedWhileItGrowsAndFinishedOnItsOwnThreadIsWhole) {
    test::TemporaryDirectory dir;
    constexpr int kBlocks = 20;  // MiB
    OutputSet outputs;
    OutputMember& big = outputs.addOutput("big file", dir.file("big").string());
    OutputMember& small = outputs.addOutput("small file", dir.file("small").string());
    ASSERT_TRUE(outputs.open()) << outputs.problem();
    std::thread writer([&big] {
        for (int block = 0; block < kBlocks; ++block) {
            big.write(std::string(OutputMember::kBufferSize, static_cast<char>('a' + block)));
        }
        EXPECT_TRUE(big.complete()) << big.error();
    });
    small.write("small");
    writer.join();
    EXPECT_FALSE(fs::exists(dir.file("big")));  // complete, but renamed only with the set
    ASSERT_TRUE(outputs.commit()) << outputs.problem();
    const std::string bytes = readText(dir.file("big"));
    ASSERT_EQ(bytes.size(), kBlocks * OutputMember::kBufferSize);
    for (int block = 0; block < kBlocks; ++block) {
        EXPECT_EQ(bytes.find_first_not_of(static_cast<char>('a' + block), block * OutputMember::kBufferSize),
                  block + 1 == kBlocks ? std::string::npos : (block + 1) * OutputMember::kBufferSize);
    }
    EXPECT_EQ(readText(dir.file("small")), "small");
}

// A file whose start is known last: bytes written again where they are, in the buffer or
// already in the file, and a file started over; a device cannot be.
TEST(OutputSet, AMemberWritesOverItsStartAndStartsOver) {
    test::TemporaryDirectory dir;
    const std::string tail(OutputMember::kBufferSize, 'z');
    {
        OutputSet outputs;
        OutputMember& file = outputs.addOutput("file", dir.file("file").string());
        OutputMember& device = outputs.addOutput("device", "/dev/null");
        EXPECT_FALSE(file.canRewrite());  // not open yet
        ASSERT_TRUE(outputs.open()) << outputs.problem();
        EXPECT_FALSE(device.canRewrite());
        ASSERT_TRUE(file.canRewrite());
        file.write(std::string(OutputMember::kBufferSize + 10, 'a'));  // partly in the file
        file.startOver();
        file.write("abcdef");
        file.overwrite(1, "XY", 2);  // still in the buffer
        file.write(tail);
        file.overwrite(4, "W", 1);  // in the file by now
        ASSERT_TRUE(outputs.commit()) << outputs.problem();
        EXPECT_FALSE(file.canRewrite());
    }
    EXPECT_EQ(readText(dir.file("file")), "aXYdWf" + tail);
    // Bytes not written yet cannot be written over: the member fails, the set with it.
    OutputSet outputs;
    OutputMember& file = outputs.addOutput("file", dir.file("file").string());
    ASSERT_TRUE(outputs.open()) << outputs.problem();
    file.write("abc");
    file.overwrite(2, "XY", 2);
    EXPECT_NE(file.error().find("not written yet"), std::string::npos) << file.error();
    EXPECT_FALSE(outputs.commit());
    EXPECT_EQ(readText(dir.file("file")), "aXYdWf" + tail);
}

// The system reports a failed write-back to one sync only: when that is a sync made ahead,
// the writer still hears of it.
TEST(SyncAhead, ASyncThatFailedAheadIsReportedToTheWriter) {
    SyncAhead syncs(2);
    syncs.request(1, -1);  // no such descriptor: the sync fails
    EXPECT_EQ(syncs.settle(1), EBADF);
    EXPECT_EQ(syncs.settle(0), 0);
    EXPECT_EQ(syncs.settle(1), EBADF);  // kept
}

}  // namespace
}  // namespace kova
