#include <gtest/gtest.h>
#include "Lib/ZIRur/Util/ByteReader.h"

TEST(ByteReader, ReadsBothByteOrdersAndFailsForGoodPastTheEnd) {
    const uint8_t data[] = {0x12, 0x34, 0x56, 0x78, 0xFF, 0xFE, 'a', 'b', 0, 'x', 'c'};
    bytes::Reader r(data, sizeof data);
    uint32_t be = 0;
    int16_t le = 0;
    std::string s;
    ASSERT_TRUE(r.U32BE(be));
    ASSERT_TRUE(r.S16LE(le));
    EXPECT_EQ(be, 0x12345678u);
    EXPECT_EQ(le, int16_t(0xFEFF));
    EXPECT_EQ(bytes::LoadU32LE(data), 0x78563412u);
    ASSERT_TRUE(r.FixedString(4, s));
    EXPECT_EQ(s, "ab");  // stops at the NUL
    uint32_t v = 99;
    EXPECT_FALSE(r.U32LE(v));
    EXPECT_EQ(v, 99u);
    uint8_t b = 0;
    EXPECT_FALSE(r.U8(b)) << "a failed reader stays failed";
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(bytes::Reader(data, 1).FixedString(2, s));
    EXPECT_TRUE(bytes::Reader(data, 5).Bytes(6).empty());
}
