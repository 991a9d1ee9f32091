// The test suites the MD2, MD4 and MD5 standards publish (RFC 1319, 1320 and 1321, appendix A.5
// each) and the examples of GOST R 34.11-2012 (RFC 6986, section 10), through the engines; the
// Streebog engines' conformance suite.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine_adapters.h"
#include "engine_conformance.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Streebog256, EngineConformance, StreebogEngine<256>);
INSTANTIATE_TYPED_TEST_SUITE_P(Streebog512, EngineConformance, StreebogEngine<512>);

namespace {

TEST(PublishedSuites, Rfc1319Rfc1320Rfc1321) {
    std::string digits;
    for (int i = 0; i < 8; ++i) digits += "1234567890";
    const struct {
        std::string message;
        const char *md2, *md4, *md5;
    } rows[] = {
        {"", "8350e5a3e24c153df2275c9f80692773", "31d6cfe0d16ae931b73c59d7e0c089c0",
         "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "32ec01ec4a6dac72c0ab96fb34c0b5d1", "bde52cb31de33e46245e05fbdbd6fb24",
         "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "da853b0d3f88d99b30283a69e6ded6bb", "a448017aaf21d8525fc10ae87aa6729d",
         "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "ab4f496bfb2a530b219ff33031fe06b0", "d9130a8164549fe818874806e1c7014b",
         "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "4e8ddff3650292ab5a4108c3aa47940b",
         "d79e1c308aa5bbcdeea8ed63df412da9", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "da33def2a42df13975352846c30338cd", "043f8582f241db351ce627e153e7f0e4",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {digits, "d5976f79d83d3a0dc9806c3c66f3efd8", "e33b4ddc9c38f2199c3e7b164fcc0536",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(HashOneShot<Md2Engine>(row.message), row.md2) << row.message;
        EXPECT_EQ(HashOneShot<Md4Engine>(row.message), row.md4) << row.message;
        EXPECT_EQ(HashOneShot<Md5Engine>(row.message), row.md5) << row.message;
    }
}

// RFC 6986 writes messages and digests as numbers, most significant byte first: their byte forms
// are those bytes reversed.
std::string Reversed(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = hex.size(); i >= 2; i -= 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i - 2, 2), nullptr, 16));
    return bytes;
}

TEST(PublishedSuites, Rfc6986Examples) {
    const struct {
        const char *message, *digest512, *digest256;
    } rows[] = {
        {"323130393837363534333231303938373635343332313039383736353433323130393837363534333231"
         "303938373635343332313039383736353433323130",
         "486f64c1917879417fef082b3381a4e211c324f074654c38823a7b76f830ad00fa1fbae42b1285c0352f2275"
         "24bc9ab16254288dd6863dccd5b9f54a1ad0541b",
         "00557be5e584fd52a449b16b0251d05d27f94ab76cbaa6da890b59d8ef1e159d"},
        {"fbe2e5f0eee3c820fbeafaebef20fffbf0e1e0f0f520e0ed20e8ece0ebe5f0f2f120fff0eeec20f120faf2fe"
         "e5e2202ce8f6f3ede220e8e6eee1e8f0f2d1202ce8f0f2e5e220e5d1",
         "28fbc9bada033b1460642bdcddb90c3fb3e56c497ccd0f62b8a2ad4935e85f037613966de4ee00531ae60f3b"
         "5a47f8dae06915d5f2f194996fcabf2622e6881e",
         "508f7e553c06501d749a66fc28c6cac0b005746d97537fa85d9e40904efed29d"},
    };
    for (const auto& row : rows) {
        const std::string m = Reversed(row.message);
        EXPECT_EQ(HashOneShot<StreebogEngine<512>>(m), ToHex(Reversed(row.digest512)));
        EXPECT_EQ(HashOneShot<StreebogEngine<256>>(m), ToHex(Reversed(row.digest256)));
    }
}

// N and Sigma are 512-bit sums: a carry out of a word goes on into the next.
TEST(Streebog, CountersCarryAcrossWords) {
    StreebogContext c;
    StreebogInit(&c, 512);
    c.bitCount[0] = ~uint64_t{0} - 255;
    for (auto& word : c.sum) word = ~uint64_t{0};
    const std::string block = std::string(1, '\x01') + std::string(63, '\0');
    StreebogUpdate(&c, Bytes(block), 64);
    EXPECT_EQ(c.bitCount[0], 256u);
    EXPECT_EQ(c.bitCount[1], 1u);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(c.sum[i], 0u) << i;
}

}  // namespace
