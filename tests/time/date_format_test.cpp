#include <gtest/gtest.h>

#include <string>

#include "time/julian_date.h"

namespace kova {
namespace {

// 2003-07-30 (a Wednesday) 13:05:09.25. A Julian date near 2.45e6 resolves about 40 us, so
// the seconds read back lie a little above or below what was given; at this time of day
// they come back at or above 9.25.
JulianDate wednesdayAfternoon() {
    JulianDate date;
    date.fromCalendar(2003, 7, 30, 13, 5, 9.25);
    return date;
}

TEST(DateFormat, EveryCode) {
    struct Case {
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {"%Y4/%Mn/%Dn %hh:%mm:%ss", "2003/07/30 13:05:09"},
        {"%Y2", "03"},
        {"%MA %Ma", "July Jul"},
        {"%Wn %WA %Wa", "4 Wednesday Wed"},
        {"%S.", "09.250"},
        {"%sx%Sx", "0909.250"},
        {"plain text", "plain text"},
        {"", ""},
        // Unknown letters, and known letters with another second character, write nothing.
        {"[%Qx][%Dx][%Y3][%hm][%Wz][%MB]", "[][][][][][]"},
        {"100%%% done", "100 done"},
    };
    for (const Case& c : cases) {
        JulianDate date = wednesdayAfternoon();
        EXPECT_EQ(date.format(c.pattern), c.text) << c.pattern;
    }
}

TEST(DateFormat, ListingStampFromSystemTime) {
    EXPECT_EQ(JulianDate::fromSystemTime(1059573905).format("%Y4/%Mn/%Dn %hh:%mm:%ss"),
              "2003/07/30 14:05:05");
    // Whole seconds are truncated, never rounded: 14:05:09 UTC becomes a Julian date a few
    // microseconds early and prints as 08.
    EXPECT_EQ(JulianDate::fromSystemTime(1059573909).format("%hh:%mm:%ss"), "14:05:08");
    EXPECT_EQ(JulianDate::fromSystemTime(0).format("%Y4/%Mn/%Dn %hh:%mm:%ss %WA"),
              "1970/01/01 00:00:00 Thursday");
}

TEST(DateFormat, SequenceCutShortByTheEndWritesNothing) {
    // The pattern is a view into a longer buffer: nothing past its end may be read.
    const std::string buffer = "ab%Y4cd";
    JulianDate date = wednesdayAfternoon();
    EXPECT_EQ(date.format(std::string_view(buffer.data(), 3)), "ab");
    EXPECT_EQ(date.format(std::string_view(buffer.data(), 4)), "ab");
    EXPECT_EQ(date.format(std::string_view(buffer.data(), 5)), "ab2003");
}

TEST(DateFormat, YearsOfOtherWidths) {
    JulianDate early;
    early.fromCalendar(1905, 3, 2, 0, 0, 0.0);
    EXPECT_EQ(early.format("%Y2|%Y4|%Ma"), "05|1905|Mar");
    // The Julian date 0 falls in the year -4712 of the Julian calendar.
    EXPECT_EQ(JulianDate(0.0).format("%Y4-%Mn-%Dn %hh"), "-4712-01-01 12");
}

}  // namespace
}  // namespace kova
