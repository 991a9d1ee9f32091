#include "sha256.h"

#include <gtest/gtest.h>

#include "engine_adapters.h"
#include "engine_conformance.h"

using Sha256Engine = Sha2Engine<256>;

TEST(Sha256, FipsExamplesAndPaddingBoundaries) {
    EXPECT_EQ(HashOneShot<Sha256Engine>("abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(HashOneShot<Sha256Engine>("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    for (const char* name : {"ramp-55", "ramp-56", "ramp-59", "ramp-60", "ramp-63", "ramp-64"}) {
        const auto& v = SharedVector(name);
        EXPECT_EQ(HashOneShot<Sha256Engine>(v.message), v.digest.at("sha256")) << name;
    }
}

TEST(Sha256, CountCarriesIntoTheHighWord) {
    Sha256Context c;
    Sha256Init(&c);
    c.byteCount[0] = 0xFFFFFFC0u;
    const std::string block = RampMessage(64);
    Sha256Update(reinterpret_cast<const uint8_t*>(block.data()), 64, &c);
    EXPECT_EQ(c.byteCount[0], 0u);
    EXPECT_EQ(c.byteCount[1], 1u);
}
