#include <gtest/gtest.h>

#include <sstream>

#include "core/option_table.h"

namespace kova {
namespace {

TEST(OptionTable, SetGetAndIsOn) {
    OptionTable table;
    EXPECT_EQ(table.getOption("-diag_1"), "");
    EXPECT_TRUE(table.entries().empty());  // reading never creates an entry
    table.setOption("-diag_1", "yes");
    EXPECT_TRUE(table.isOn("-diag_1"));
    for (const char* off : {"YES", "y", "yes ", "", "no"}) {
        table.setOption("-diag_1", off);
        EXPECT_FALSE(table.isOn("-diag_1")) << off;
    }
    EXPECT_FALSE(table.isOn("-absent"));
    table.setOption("-diag_1", "yes");
    EXPECT_EQ(table.getOption("-diag_1"), "yes");
    EXPECT_EQ(table.entries().size(), 1u);
}

TEST(OptionTable, ListsInByteOrderOfTheKeywords) {
    OptionTable table;
    table.setOption("-b", "2");
    table.setOption("-B", "upper");
    table.setOption("-a", "");
    std::ostringstream out;
    table.listOptions(out);
    EXPECT_EQ(out.str(), "-B\t\tupper\n-a\t\t\n-b\t\t2\n");
}

}  // namespace
}  // namespace kova
