// MD4 (RFC 1320) and MD5 (RFC 1321) length counters: the count words start just below a carry,
// and the final block must carry the message length before padding as a 64-bit little-endian
// number. The expected digest is built by hand, padding and length field included, through the
// compression function alone: an independent check of each Final.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bytes.h"
#include "engine_adapters.h"
#include "vectors.h"

namespace {

struct Md4Block : Md4Engine {
    static void Compress(uint32_t* state, const uint8_t* block) { Md4Compress(state, block); }
};

struct Md5Block : Md5Engine {
    static void Compress(uint32_t* state, const uint8_t* block) {
        uint32_t words[16];
        for (int k = 0; k < 16; ++k) words[k] = LoadLe32(block + 4 * k);
        Md5Compress(state, words);
    }
};

template <class E>
std::string HandPadded(const std::string& tail, const std::vector<uint8_t>& lengthField) {
    std::string blocks = tail + '\x80';
    while (blocks.size() % 64 != 56) blocks += '\0';
    blocks.append(lengthField.begin(), lengthField.end());
    uint32_t state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    for (std::size_t at = 0; at < blocks.size(); at += 64) E::Compress(state, Bytes(blocks) + at);
    uint8_t digest[16];
    for (int k = 0; k < 4; ++k) StoreLe32(digest + 4 * k, state[k]);
    return ToHex(digest, 16);
}

template <class E>
class LengthCounter : public ::testing::Test {};
using Engines = ::testing::Types<Md4Block, Md5Block>;
TYPED_TEST_SUITE(LengthCounter, Engines);

TYPED_TEST(LengthCounter, CarriesIntoTheHighWordAndTheLengthField) {
    const struct {
        uint32_t low, high, tail;
        uint32_t expectLow, expectHigh;
        std::vector<uint8_t> lengthField;
    } rows[] = {
        // 2^32 - 64 bytes so far, then 10 more: no carry yet.
        {0xfffffe00, 7, 10, 0xfffffe50, 7, {0x50, 0xfe, 0xff, 0xff, 0x07, 0, 0, 0}},
        // 60 more: the count does not carry, but the padding would; the field must not.
        {0xfffffe00, 7, 60, 0xffffffe0, 7, {0xe0, 0xff, 0xff, 0xff, 0x07, 0, 0, 0}},
        // 64 more: exactly 2^32 bytes, the low word carries into the high one.
        {0xfffffe00, 7, 64, 0x00000000, 8, {0, 0, 0, 0, 0x08, 0, 0, 0}},
        // 74 more: carry with bytes pending; 200 more: carry over several blocks.
        {0xfffffe00, 0, 74, 0x00000050, 1, {0x50, 0, 0, 0, 0x01, 0, 0, 0}},
        {0xfffffe00, 0, 200, 0x00000440, 1, {0x40, 0x04, 0, 0, 0x01, 0, 0, 0}},
        // The whole count wraps modulo 2^64.
        {0xfffffe00, 0xffffffff, 74, 0x00000050, 0, {0x50, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("tail " + std::to_string(row.tail) + " high " + std::to_string(row.high));
        const std::string tail = RampMessage(row.tail);
        typename TypeParam::Context context;
        TypeParam::Init(context);
        context.bitCount[0] = row.low;
        context.bitCount[1] = row.high;
        TypeParam::Update(context, Bytes(tail), row.tail);
        EXPECT_EQ(context.bitCount[0], row.expectLow);
        EXPECT_EQ(context.bitCount[1], row.expectHigh);
        uint8_t digest[16];
        TypeParam::Final(context, digest);
        EXPECT_EQ(ToHex(digest, 16), HandPadded<TypeParam>(tail, row.lengthField));
    }
}

}  // namespace
