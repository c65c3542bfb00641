#include <gtest/gtest.h>

#include <string>

#include "store/byteorder.h"

namespace {

using namespace store::endian;

TEST(ByteOrder, ReadsAndWritesBothOrdersOnCharAndUnsignedBuffers) {
    const unsigned char image[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x88};
    EXPECT_EQ(getLE16(image), 0x0201u);
    EXPECT_EQ(getLE32(image), 0x04030201u);
    EXPECT_EQ(getBE16(image), 0x0102u);
    EXPECT_EQ(getBE32(image), 0x01020304u);
    EXPECT_EQ(getBE64(image), 0x0102030405060788ull);
    EXPECT_EQ(getLE(image + 5, 3), 0x880706u); // odd widths, as in compressed index entries

    std::string text(8, '\0');
    putBE64(text.data(), 0x0102030405060788ull);
    EXPECT_EQ(static_cast<unsigned char>(text[7]), 0x88); // high bit survives a signed char buffer
    EXPECT_EQ(getBE64(text.data()), 0x0102030405060788ull);
    putLE32(text.data() + 1, 0xA1B2C3D4u);
    EXPECT_EQ(getLE32(text.data() + 1), 0xA1B2C3D4u);
    EXPECT_EQ(static_cast<unsigned char>(text[1]), 0xD4);
    putBE32(text.data(), 0xFFFFFFFEu);
    EXPECT_EQ(getBE32(text.data()), 0xFFFFFFFEu);
    putLE(text.data(), 0x123456, 3);
    EXPECT_EQ(getLE(text.data(), 3), 0x123456u);
    EXPECT_EQ(text[3], static_cast<char>(0xFE)); // bytes beyond the width stay untouched
}

} // namespace
