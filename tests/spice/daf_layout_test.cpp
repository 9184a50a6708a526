#include <gtest/gtest.h>

#include <cmath>

#include "spice/ephemeris_time.h"
#include "spice/naif_ids.h"
#include "spice/spice_export.h"
#include "tests/spice/daf_reader.h"
#include "tests/spice/synthetic_pass.h"

namespace kova {
namespace {

using test::DafReader;
using test::passRecord;
using test::passTag;
using test::StringSink;

struct WrittenKernels {
    DafReader spk;
    DafReader ck;
};

// Writes the SPK and CK of stretches of `lengths` records at 1 s steps, 100 s apart.
WrittenKernels writeStretches(const std::vector<std::size_t>& lengths, std::string packetFile = "three.kov") {
    SpiceKernelSet set(test::maruSettings(packetFile), 0);
    std::uint64_t number = 0;
    std::int64_t second = 0;
    for (const std::size_t length : lengths) {
        for (std::size_t i = 0; i < length; ++i) set.add(passRecord(number++, passTag(second++)));
        second += 100;
    }
    EXPECT_TRUE(set.finish()) << set.error();
    StringSink spk, ck;
    EXPECT_TRUE(set.writeSpk(spk));
    EXPECT_TRUE(set.writeCk(ck));
    WrittenKernels kernels;
    EXPECT_TRUE(kernels.spk.parse(spk.bytes)) << kernels.spk.error();
    EXPECT_TRUE(kernels.ck.parse(ck.bytes)) << kernels.ck.error();
    return kernels;
}

// One comment record and one SPK segment of three states: the worked example of the layout,
// file record bytes included.
TEST(DafLayout, ThreeRecordExample) {
    const WrittenKernels kernels = writeStretches({3}, "some/dir/three.kov");
    const DafReader& spk = kernels.spk;
    const unsigned char expected[96] = {
        'D', 'A', 'F', '/', 'S', 'P', 'K', ' ', 2, 0, 0, 0, 6, 0, 0, 0,
        'k', 'o', 'v', 'a', 'e', 'x', 'p', 'o', 'r', 't', ' ', '1', '.', '0', '.', '0',
        ' ', 't', 'h', 'r', 'e', 'e', '.', 'k', 'o', 'v', ' ', ' ', ' ', ' ', ' ', ' ',
        ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
        ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 3, 0, 0, 0,
        3, 0, 0, 0, 0x18, 0x02, 0, 0, 'L', 'T', 'L', '-', 'I', 'E', 'E', 'E'};
    for (std::size_t i = 0; i < sizeof expected; ++i) EXPECT_EQ(spk.byte(i), expected[i]) << "byte " << i;
    for (std::size_t i = 96; i < 699; ++i) ASSERT_EQ(spk.byte(i), 0) << "byte " << i;
    for (std::size_t i = 727; i < 1024; ++i) ASSERT_EQ(spk.byte(i), 0) << "byte " << i;
    EXPECT_TRUE(spk.ftpIntact);
    EXPECT_EQ(spk.fileBytes(), 5120u);
    ASSERT_EQ(spk.arrays.size(), 1u);
    const test::DafArrayEntry& array = spk.arrays[0];
    EXPECT_EQ(array.summaryRecord, 3);
    EXPECT_EQ(array.integers[4], 513);
    EXPECT_EQ(array.integers[5], 535);
    EXPECT_EQ(array.name, "kova stretch 1 of 1" + std::string(21, ' '));
    EXPECT_EQ(spk.word(534), 1.0);  // window size less one
    EXPECT_EQ(spk.word(535), 3.0);
    // The name record's characters after the names are blanks, its last 24 bytes zero.
    for (std::size_t i = 3 * 1024 + 40; i < 3 * 1024 + 1000; ++i) ASSERT_EQ(spk.byte(i), ' ') << i;
    for (std::size_t i = 3 * 1024 + 1000; i < 4 * 1024; ++i) ASSERT_EQ(spk.byte(i), 0) << i;
    // The comment record: bytes 1000 to 1023 zero.
    for (std::size_t i = 1024 + 1000; i < 2048; ++i) ASSERT_EQ(spk.byte(i), 0) << i;

    // The CK of the same stretch: quaternions 513 ... 524, times 525 ... 527, start 528, 1, 3.
    const DafReader& ck = kernels.ck;
    EXPECT_EQ(ck.idWord, "DAF/CK  ");
    ASSERT_EQ(ck.arrays.size(), 1u);
    EXPECT_EQ(ck.arrays[0].integers[4], 513);
    EXPECT_EQ(ck.arrays[0].integers[5], 530);
    EXPECT_EQ(ck.word(528), ck.word(525));
    EXPECT_EQ(ck.word(529), 1.0);
    EXPECT_EQ(ck.word(530), 3.0);
    EXPECT_EQ(ck.freeAddress, 531);
    EXPECT_EQ(ck.fileBytes(), 5120u);
}

// 27 stretches need two summary records chained by NEXT and PREV; the arrays follow both
// summary/name pairs, contiguous; one stretch of 201 records carries a directory of two
// epochs (numbers 100 and 200) and of two clock times.
TEST(DafLayout, SummaryChainAndDirectories) {
    std::vector<std::size_t> lengths(27, 2);
    lengths[5] = 201;
    const WrittenKernels kernels = writeStretches(lengths);
    for (const DafReader* file : {&kernels.spk, &kernels.ck}) {
        ASSERT_EQ(file->arrays.size(), 27u);
        const std::int32_t c = file->commentRecords;
        EXPECT_EQ(file->forward, c + 2);
        EXPECT_EQ(file->backward, c + 4);
        EXPECT_EQ(file->arrays[24].summaryRecord, c + 2);
        EXPECT_EQ(file->arrays[25].summaryRecord, c + 4);
        std::int64_t next = 128 * (c + 1 + 4) + 1;
        for (std::size_t k = 0; k < file->arrays.size(); ++k) {
            EXPECT_EQ(file->arrays[k].integers[4], next) << k;
            next = file->arrays[k].integers[5] + 1;
            std::string name = "kova stretch " + std::to_string(k + 1) + " of 27";
            name.resize(40, ' ');
            EXPECT_EQ(file->arrays[k].name, name);
        }
        EXPECT_EQ(file->freeAddress, next);
        EXPECT_EQ(file->fileBytes(), 1024 * static_cast<std::size_t>((next - 1 + 127) / 128));
    }
    const std::vector<double> spk = kernels.spk.arrayWords(kernels.spk.arrays[5]);
    ASSERT_EQ(spk.size(), 7u * 201 + 2 + 2);
    EXPECT_EQ(spk[1206 + 99], spk[1407]);
    EXPECT_EQ(spk[1206 + 199], spk[1408]);
    EXPECT_EQ(spk[1409], 1.0);
    EXPECT_EQ(spk[1410], 201.0);
    const std::vector<double> ck = kernels.ck.arrayWords(kernels.ck.arrays[5]);
    ASSERT_EQ(ck.size(), 5u * 201 + 2 + 3);
    EXPECT_EQ(ck[804 + 99], ck[804 + 201]);
    EXPECT_EQ(ck[804 + 199], ck[804 + 202]);
    EXPECT_EQ(ck[804 + 203], ck[804]);  // the interval starts at the first time
}

// The comment area gives back the kernel set's lines, made printable and cut to 132
// characters, however many records they fill.
TEST(DafLayout, CommentAreaKeepsTheLines) {
    const std::string longName = std::string(200, 'x').append("\x01\xff");
    const WrittenKernels kernels = writeStretches({2, 1, 2, 3}, longName);
    SpiceKernelSet set(test::maruSettings(longName), 0);
    for (int i = 0; i < 2000; ++i) set.add(passRecord(static_cast<std::uint64_t>(i), passTag(0)));  // 1999 repeats
    set.add(passRecord(2000, passTag(1)));
    ASSERT_TRUE(set.finish());
    StringSink sink;
    ASSERT_TRUE(set.writeSpk(sink));
    DafReader spk;
    ASSERT_TRUE(spk.parse(sink.bytes)) << spk.error();
    EXPECT_GT(spk.commentRecords, 50);
    std::string joined;
    for (const std::string& line : spk.comments) {
        EXPECT_LE(line.size(), 132u);
        for (const char c : line) ASSERT_TRUE(c >= ' ' && c <= '~');
        joined += line + "\n";
    }
    EXPECT_EQ(joined, set.comments());
    EXPECT_EQ(spk.comments[1], "packet file: " + std::string(119, 'x'));
    EXPECT_EQ(spk.internalName, "kovaexport 1.0.0 " + std::string(43, 'x'));
    EXPECT_EQ(kernels.spk.comments, kernels.ck.comments);
}

}  // namespace
}  // namespace kova
