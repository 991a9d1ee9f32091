// The test suites the standards publish, through the engines: MD2, MD4 and MD5 (RFC 1319, 1320 and
// 1321, appendix A.5 each), BLAKE2 (RFC 7693 appendices A, B and E), CRC-32C (RFC 3720 B.4), the
// examples NIST publishes for FIPS 180-4 and FIPS 202, those of the SM3 standard
// (GB/T 32905-2016, appendix A) and of GOST R 34.11-2012 (RFC 6986, section 10); the
// conformance suites of SM3 and Streebog.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine_adapters.h"
#include "engine_conformance.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Sm3, EngineConformance, Sm3Engine);
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

// Appendix E's self-test: digests of every listed length over inputs of every listed length,
// unkeyed and keyed, all fed to one 256-bit digest. Inputs and keys come from the appendix's
// Fibonacci-style generator.
std::vector<uint8_t> SelfTestSequence(std::size_t length, uint32_t seed) {
    std::vector<uint8_t> out(length);
    uint32_t a = 0xDEAD4BAD * seed, b = 1;
    for (auto& byte : out) {
        const uint32_t t = a + b;
        a = b;
        b = t;
        byte = static_cast<uint8_t>(t >> 24);
    }
    return out;
}

template <class Context, auto Init, auto Update, auto Final>
std::string Rfc7693SelfTest(std::vector<std::size_t> digestLengths,
                            std::vector<std::size_t> inputLengths) {
    const auto hash = [](std::size_t outLength, const std::vector<uint8_t>& in,
                         const std::vector<uint8_t>& key, uint8_t* out) {
        Context c;
        EXPECT_TRUE(Init(&c, outLength, key.data(), key.size()));
        Update(&c, in.data(), in.size());
        Final(&c, out);
    };
    Context all;
    Init(&all, 32, nullptr, 0);
    for (std::size_t outLength : digestLengths)
        for (std::size_t inLength : inputLengths) {
            const auto in = SelfTestSequence(inLength, static_cast<uint32_t>(inLength));
            uint8_t digest[64];
            hash(outLength, in, {}, digest);
            Update(&all, digest, outLength);
            hash(outLength, in, SelfTestSequence(outLength, static_cast<uint32_t>(outLength)),
                 digest);
            Update(&all, digest, outLength);
        }
    uint8_t result[32];
    Final(&all, result);
    return ToHex(result, sizeof result);
}

TEST(PublishedSuites, Rfc7693) {
    EXPECT_EQ(HashOneShot<Blake2bEngine<>>("abc"),
              "ba80a53f981c4d0d6a2797b69f12f6e94c212f14685ac4b74b12bb6fdbffa2d1"
              "7d87c5392aab792dc252d5de4533cc9518d38aa8dbf1925ab92386edd4009923");
    EXPECT_EQ(HashOneShot<Blake2sEngine>("abc"),
              "508c5e8c327c14e2e1a72ba34eeb452f37458b209ed63a294d999b4c86675982");
    EXPECT_EQ((Rfc7693SelfTest<Blake2bContext, Blake2bInit, Blake2bUpdate, Blake2bFinal>(
                  {20, 32, 48, 64}, {0, 3, 128, 129, 255, 1024})),
              "c23a7800d98123bd10f506c61e29da5603d763b8bbad2e737f5e765a7bccd475");
    EXPECT_EQ((Rfc7693SelfTest<Blake2sContext, Blake2sInit, Blake2sUpdate, Blake2sFinal>(
                  {16, 20, 28, 32}, {0, 3, 64, 65, 255, 1024})),
              "6a411f08ce25adcdfb02aba641451cec53c598b24f4fc787fbdc88797f4c1dfe");
    // Lengths outside the range, and keys longer than the longest digest, are refused.
    Blake2bContext b;
    Blake2sContext s;
    const uint8_t key[65] = {};
    EXPECT_FALSE(Blake2bInit(&b, 0));
    EXPECT_FALSE(Blake2bInit(&b, 65));
    EXPECT_FALSE(Blake2bInit(&b, 64, key, 65));
    EXPECT_FALSE(Blake2sInit(&s, 33));
    EXPECT_FALSE(Blake2sInit(&s, 32, key, 33));
}

INSTANTIATE_TYPED_TEST_SUITE_P(Blake2b, EngineConformance, Blake2bEngine<>);
INSTANTIATE_TYPED_TEST_SUITE_P(Blake2s, EngineConformance, Blake2sEngine);

TEST(PublishedSuites, Rfc3720Crc32c) {
    std::string zeros(32, '\0'), ones(32, '\xff'), up, down;
    for (int i = 0; i < 32; ++i) up += static_cast<char>(i), down += static_cast<char>(31 - i);
    const struct {
        std::string message;
        const char* crc;
    } rows[] = {{zeros, "8a9136aa"},
                {ones, "62a8ab43"},
                {up, "46dd794e"},
                {down, "113fdb5c"},
                {"123456789", "e3069283"}};
    for (const auto& row : rows) EXPECT_EQ(HashOneShot<Crc32cEngine>(row.message), row.crc);
}

TEST(PublishedSuites, Fips180Fips202AndSm3Examples) {
    const std::string abc = "abc";
    const std::string two256 = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    const std::string two512 =
        "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqr"
        "lmnopqrsmnopqrstnopqrstu";
    const std::string a3(200, '\xa3');  // FIPS 202's 1600-bit example
    std::string abcd;
    for (int i = 0; i < 16; ++i) abcd += "abcd";
    const struct {
        std::string (*hash)(const std::string&);
        const std::string& message;
        const char* digest;
    } rows[] = {
        {HashOneShot<Sha224Engine>, abc,
         "23097d223405d8228642a477bda255b32aadbce4bda0b3f7e36c9da7"},
        {HashOneShot<Sha224Engine>, two256,
         "75388b16512776cc5dba5da1fd890150b0c6455cb4f58b1952522525"},
        {HashOneShot<Sha512tEngine<224>>, abc,
         "4634270f707b6a54daae7530460842e20e37ed265ceee9a43e8924aa"},
        {HashOneShot<Sha512tEngine<224>>, two512,
         "23fec5bb94d60b23308192640b0c453335d664734fe40e7268674af9"},
        {HashOneShot<Sha512tEngine<256>>, abc,
         "53048e2681941ef99b2e29b76b4c7dabe4c2d0c634fc6d46e0e2f13107e7af23"},
        {HashOneShot<Sha512tEngine<256>>, two512,
         "3928e184fb8690f840da3988121d31be65cb9d3ef83ee6146feac861e19b563a"},
        {HashOneShot<Sha3Engine<224>>, abc,
         "e642824c3f8cf24ad09234ee7d3c766fc9a3a5168d0c94ad73b46fdf"},
        {HashOneShot<Sha3Engine<224>>, a3,
         "9376816aba503f72f96ce7eb65ac095deee3be4bf9bbc2a1cb7e11e0"},
        {HashOneShot<Sha3Engine<256>>, abc,
         "3a985da74fe225b2045c172d6bd390bd855f086e3e9d525b46bfe24511431532"},
        {HashOneShot<Sha3Engine<256>>, a3,
         "79f38adec5c20307a98ef76e8324afbfd46cfd81b22e3973c65fa1bd9de31787"},
        {HashOneShot<Sha3Engine<384>>, abc,
         "ec01498288516fc926459f58e2c6ad8df9b473cb0fc08c2596da7cf0e49be4b298d88cea927ac7f539f1edf2"
         "28376d25"},
        {HashOneShot<Sha3Engine<384>>, a3,
         "1881de2ca7e41ef95dc4732b8f5f002b189cc1e42b74168ed1732649ce1dbcdd76197a31fd55ee989f2d7050"
         "dd473e8f"},
        {HashOneShot<Sha3Engine<512>>, abc,
         "b751850b1a57168a5693cd924b6b096e08f621827444f70d884f5d0240d2712e10e116e9192af3c91a7ec576"
         "47e3934057340b4cf408d5a56592f8274eec53f0"},
        {HashOneShot<Sha3Engine<512>>, a3,
         "e76dfad22084a8b1467fcf2ffa58361bec7628edf5f3fdc0e4805dc48caeeca81b7c13c30adf52a3659584739"
         "a"
         "2df46be589c51ca1a4a8416df6545a1ce8ba00"},
        {HashOneShot<Sm3Engine>, abc,
         "66c7f0f462eeedd9d1f2d46bdc10e4e24167c4875cf2f7a2297da02b8f4ba8e0"},
        {HashOneShot<Sm3Engine>, abcd,
         "debe9ff92275b8a138604889c18e5a4d6fdb70e5387e5765293dcba39c0c5732"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.hash(row.message), row.digest) << row.message.substr(0, 16);
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
