#include "bytes.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Bytes, LoadsAndStoresAreHostIndependent) {
    const uint8_t bytes[8] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
    EXPECT_EQ(LoadLe32(bytes), 0x04030201u);
    EXPECT_EQ(LoadBe32(bytes), 0x01020304u);
    EXPECT_EQ(LoadLe64(bytes), 0x0807060504030201ull);
    EXPECT_EQ(LoadBe64(bytes), 0x0102030405060708ull);

    uint8_t out[8] = {};
    StoreLe32(out, 0x04030201u);
    EXPECT_EQ(0, memcmp(out, bytes, 4));
    StoreBe32(out, 0x01020304u);
    EXPECT_EQ(0, memcmp(out, bytes, 4));
    StoreLe64(out, 0x0807060504030201ull);
    EXPECT_EQ(0, memcmp(out, bytes, 8));
    StoreBe64(out, 0x0102030405060708ull);
    EXPECT_EQ(0, memcmp(out, bytes, 8));

    uint32_t word;
    memcpy(&word, bytes, 4);
    EXPECT_EQ(FromBe32(word), 0x01020304u);
    EXPECT_EQ(Rotl32(0x80000001u, 1), 0x00000003u);
    EXPECT_EQ(Rotr64(1, 1), 0x8000000000000000ull);
}
