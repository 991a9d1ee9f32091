// The test suites the MD2, MD4 and MD5 standards publish (RFC 1319, 1320 and 1321, appendix A.5
// each), through the engines.
#include <gtest/gtest.h>

#include <string>

#include "engine_adapters.h"
#include "engine_conformance.h"

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

}  // namespace
