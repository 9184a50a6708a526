#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/atomic_output_file.h"
#include "tests/support/temporary_directory.h"

namespace kova {
namespace {

namespace fs = std::filesystem;

std::size_t filesIn(const fs::path& dir) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir)) ++count;
    return count;
}

TEST(AtomicOutputFile, TheTargetAppearsOnlyWhenCommitted) {
    test::TemporaryDirectory dir;
    const fs::path target = dir.file("pass.oem");
    test::writeText(target, "old");
    {
        AtomicOutputFile out(target.string());
        ASSERT_TRUE(out.isOpen()) << out.error();
        const std::string big(3 * AtomicOutputFile::kBufferSize / 2, 'x');  // past the buffer
        out.write("head\n");
        out.write(big);
        EXPECT_EQ(test::readText(target), "old");
        ASSERT_TRUE(out.commit()) << out.error();
        EXPECT_EQ(test::readText(target), "head\n" + big);
    }
    EXPECT_EQ(filesIn(dir.path()), 1u);

    {
        AtomicOutputFile abandoned(target.string());
        abandoned.write("half");
    }  // never committed
    EXPECT_EQ(test::readText(target).substr(0, 5), "head\n");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(AtomicOutputFile, FailuresLeaveNoFileBehind) {
    test::TemporaryDirectory dir;
    AtomicOutputFile nowhere(dir.file("missing/pass.aem").string());
    EXPECT_FALSE(nowhere.isOpen());
    EXPECT_FALSE(nowhere.commit());
    EXPECT_NE(nowhere.error().find("cannot create"), std::string::npos);

    // A target that is a directory cannot be replaced: the rename fails, nothing stays.
    fs::create_directory(dir.file("taken"));
    AtomicOutputFile blocked(dir.file("taken").string());
    ASSERT_TRUE(blocked.isOpen());
    blocked.write("text");
    EXPECT_FALSE(blocked.commit());
    EXPECT_TRUE(blocked.failed());
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace kova
