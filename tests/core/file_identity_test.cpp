#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/file_identity.h"
#include "tests/support/temporary_directory.h"

namespace kova {
namespace {

namespace fs = std::filesystem;

TEST(FileIdentity, NamesDenoteOneFileThroughLinksAndUnresolvedPaths) {
    test::TemporaryDirectory dir;
    const std::string file = dir.file("x.eph").string();
    test::writeText(file, "data");
    fs::create_symlink(file, dir.file("soft"));
    fs::create_hard_link(file, dir.file("hard"));
    fs::create_directory(dir.file("sub"));
    const std::string missing = dir.file("new.att").string();
    // Dangling links, to a name not yet there and through a second link.
    fs::create_symlink("new.att", dir.file("dangling"));
    fs::create_symlink(dir.file("dangling"), dir.file("to-dangling"));
    fs::create_symlink("loop", dir.file("loop"));
    struct Case {
        std::string a, b;
        bool same;
    };
    const Case cases[] = {
        {file, file, true},
        {file, dir.file("soft").string(), true},
        {file, dir.file("hard").string(), true},
        {file, dir.file("sub/../x.eph").string(), true},
        {missing, dir.file("./new.att").string(), true},      // neither there yet
        {missing, dir.file("sub/../new.att").string(), true},
        {missing, file, false},
        {file, dir.file("sub").string(), false},
        {file, "", false},
        {"", "", false},
        {file + std::string(1, '\0') + "tail", file, true},  // the name ends at its NUL
        {dir.file("dangling").string(), missing, true},
        {dir.file("to-dangling").string(), missing, true},
        {dir.file("loop").string(), missing, false},
        // Devices take any number of writers: never "the same file", not even as themselves.
        {"/dev/null", "/dev/null", false},
        {"/dev/null", "/dev/../dev/null", false},
        {"/dev/null", missing, false},
    };
    for (const Case& c : cases) EXPECT_EQ(namesSameFile(c.a, c.b), c.same) << c.a << " | " << c.b;

    EXPECT_TRUE(namesRegularFile(file));
    EXPECT_TRUE(namesRegularFile(dir.file("soft").string()));
    EXPECT_FALSE(namesRegularFile(dir.file("sub").string()));
    EXPECT_FALSE(namesRegularFile(missing));
    EXPECT_FALSE(namesRegularFile("/dev/null"));
    EXPECT_TRUE(namesDirectory(dir.file("sub").string()));
    EXPECT_FALSE(namesDirectory(file));
}

}  // namespace
}  // namespace kova
