// One shape over the nine engines, so everything that drives them (the digester, the tests'
// conformance suite, the fuzz harnesses) drives them the same way:
//   kAlgorithm, kDigestSize, kBlockSize, Context,
//   Init(Context&), Update(Context&, data, 32-bit length), Final(Context&, digest).
// An algorithm of variable length adds InitWithLength(Context&, bytes), and its Final writes the
// length asked for. Otherwise Final writes kDigestSize bytes; CRC-32's are its value, most
// significant byte first, so their hex is the "%08x" text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "algorithms.h"
#include "bytes.h"
#include "crc32.h"
#include "gost.h"
#include "md2.h"
#include "md4.h"
#include "md5.h"
#include "sha1.h"
#include "sha2.h"

template <Algorithm A, std::size_t BlockSize>
struct EngineTraits {
    static constexpr Algorithm kAlgorithm = A;
    static constexpr std::size_t kDigestSize = DigestLength(A);
    static constexpr std::size_t kBlockSize = BlockSize;
};

struct Crc32Engine : EngineTraits<Algorithm::Crc32, 64> {
    using Context = uint32_t;  // the running register
    static void Init(Context& c) { c = CCrc32Static::kPreset; }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        CCrc32Static::CrcFold(c, data, length);
    }
    static void Final(Context& c, uint8_t* digest) { StoreBe32(digest, c ^ CCrc32Static::kPreset); }
};

struct GostEngine : EngineTraits<Algorithm::Gost, 32> {
    using Context = GostContext;
    static void Init(Context& c) { GostInit(&c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        GostUpdate(&c, data, length);
    }
    static void Final(Context& c, uint8_t* digest) { GostFinal(&c, digest); }
};

struct Md2Engine : EngineTraits<Algorithm::Md2, 16> {
    using Context = CMD2;
    static void Init(Context& c) { c.Init(); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) { c.Update(data, length); }
    static void Final(Context& c, uint8_t* digest) { c.Final(digest, kDigestSize); }
};

struct Md4Engine : EngineTraits<Algorithm::Md4, 64> {
    using Context = Md4Context;
    static void Init(Context& c) { Md4Init(&c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Md4Update(&c, data, length);
    }
    static void Final(Context& c, uint8_t* digest) { Md4Final(digest, &c); }
};

struct Md5Engine : EngineTraits<Algorithm::Md5, 64> {
    using Context = Md5Context;
    static void Init(Context& c) { Md5Init(&c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Md5Update(&c, data, length);
    }
    // The digest stays in the context; the caller's buffer gets a copy.
    static void Final(Context& c, uint8_t* digest) {
        Md5Final(&c);
        std::memcpy(digest, c.digest, kDigestSize);
    }
};

struct Sha1Engine : EngineTraits<Algorithm::Sha1, 64> {
    using Context = Sha1Context;
    static void Init(Context& c) { Sha1Init(&c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Sha1Update(data, length, &c);
    }
    static void Final(Context& c, uint8_t* digest) { Sha1Final(digest, &c); }
};

// The width front at one width: 256, 384 or 512 bits.
template <uint32_t Width>
struct Sha2Engine
    : EngineTraits<Width == 256 ? Algorithm::Sha256
                                : (Width == 384 ? Algorithm::Sha384 : Algorithm::Sha512),
                   Width == 256 ? 64 : 128> {
    static_assert(Width == 256 || Width == 384 || Width == 512);
    using Context = Sha2Context;
    static void Init(Context& c) { Sha2Init(Width, &c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Sha2Update(data, length, &c);
    }
    static void Final(Context& c, uint8_t* digest) { Sha2Final(digest, &c); }
};

// Calls `f` with a value of the adapter type of `algorithm`.
template <class F>
decltype(auto) WithEngine(Algorithm algorithm, F&& f) {
    switch (algorithm) {
        case Algorithm::Crc32:
            return f(Crc32Engine{});
        case Algorithm::Gost:
            return f(GostEngine{});
        case Algorithm::Md2:
            return f(Md2Engine{});
        case Algorithm::Md4:
            return f(Md4Engine{});
        case Algorithm::Md5:
            return f(Md5Engine{});
        case Algorithm::Sha1:
            return f(Sha1Engine{});
        case Algorithm::Sha256:
            return f(Sha2Engine<256>{});
        case Algorithm::Sha384:
            return f(Sha2Engine<384>{});
        case Algorithm::Sha512:
            break;
    }
    return f(Sha2Engine<512>{});
}

// Engines take 32-bit lengths; a longer range goes in pieces.
template <class E>
void UpdateAll(typename E::Context& c, const uint8_t* data, std::size_t length) {
    constexpr std::size_t kPiece = std::size_t{1} << 30;
    while (length > kPiece) {
        E::Update(c, data, static_cast<uint32_t>(kPiece));
        data += kPiece;
        length -= kPiece;
    }
    E::Update(c, data, static_cast<uint32_t>(length));
}
