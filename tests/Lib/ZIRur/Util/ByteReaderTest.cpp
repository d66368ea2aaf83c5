#include <gtest/gtest.h>

#include "Lib/ZIRur/Util/ByteReader.h"

TEST(ByteReader, ReadsBothByteOrdersFromBytes) {
    const uint8_t data[] = {0x12, 0x34, 0x56, 0x78, 0xFF, 0xFE};
    bytes::Reader r(data, sizeof data);
    uint32_t be = 0;
    int16_t le = 0;
    ASSERT_TRUE(r.U32BE(be));
    ASSERT_TRUE(r.S16LE(le));
    EXPECT_EQ(be, 0x12345678u);
    EXPECT_EQ(le, int16_t(0xFEFF));
    EXPECT_EQ(bytes::LoadU32LE(data), 0x78563412u);
}

TEST(ByteReader, ReadPastEndFailsForGoodAndLeavesOutput) {
    const uint8_t data[] = {1, 2, 3};
    bytes::Reader r(data, sizeof data);
    uint32_t v = 99;
    EXPECT_FALSE(r.U32LE(v));
    EXPECT_EQ(v, 99u);
    uint8_t b = 0;
    EXPECT_FALSE(r.U8(b)) << "a failed reader stays failed";
    EXPECT_FALSE(r.ok());
}

TEST(ByteReader, FixedStringStopsAtNulAndChecksWidth) {
    const uint8_t data[] = {'a', 'b', 0, 'x', 'c'};
    bytes::Reader r(data, sizeof data);
    std::string s;
    ASSERT_TRUE(r.FixedString(4, s));
    EXPECT_EQ(s, "ab");
    EXPECT_FALSE(r.FixedString(2, s));
    EXPECT_TRUE(bytes::Reader(data, 5).Bytes(6).empty());
}
