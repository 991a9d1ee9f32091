// One shape over the engines, so everything that drives them (the digester, the tests'
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
#include <string_view>

#include "algorithms.h"
#include "blake2.h"
#include "blake3.h"
#include "blake3_mode.h"
#include "bytes.h"
#include "crc32.h"
#include "crc32c.h"
#include "gost.h"
#include "md2.h"
#include "md4.h"
#include "md5.h"
#include "sha1.h"
#include "sha2.h"
#include "sha3.h"
#include "sm3.h"
#include "streebog.h"
#include "xxhash.h"

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

// BLAKE2b (any whole-byte length, 512 bits by default), BLAKE2s-256 and CRC-32C. CRC-32C's digest
// is its value, most significant byte first, as for CRC-32.
template <std::size_t Bits = 512>
struct Blake2bEngine {
    static_assert(Bits % 8 == 0 && Bits >= 8 && Bits <= 512);
    static constexpr Algorithm kAlgorithm = Algorithm::Blake2b;
    static constexpr std::size_t kDigestSize = Bits / 8;
    static constexpr std::size_t kBlockSize = 128;
    using Context = Blake2bContext;
    static void Init(Context& c) { Blake2bInit(&c, kDigestSize); }
    static void InitWithLength(Context& c, std::size_t bytes) { Blake2bInit(&c, bytes); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Blake2bUpdate(&c, data, length);
    }
    static void Final(Context& c, uint8_t* digest) { Blake2bFinal(&c, digest); }
};

struct Blake2sEngine : EngineTraits<Algorithm::Blake2s, 64> {
    using Context = Blake2sContext;
    static void Init(Context& c) { Blake2sInit(&c, kDigestSize); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Blake2sUpdate(&c, data, length);
    }
    static void Final(Context& c, uint8_t* digest) { Blake2sFinal(&c, digest); }
};

struct Crc32cEngine : EngineTraits<Algorithm::Crc32c, 64> {
    using Context = uint32_t;  // the running register
    static void Init(Context& c) { c = kCrc32cPreset; }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        c = Crc32cFold(c, data, length);
    }
    static void Final(Context& c, uint8_t* digest) { StoreBe32(digest, c ^ kCrc32cPreset); }
};

// BLAKE3 (engines/blake3.h): 32 bytes, or any length asked for; plain, keyed or key derivation.
struct Blake3Engine : EngineTraits<Algorithm::Blake3, kBlake3BlockSize> {
    struct Context {
        Blake3Context state;
        std::size_t digestBytes;
    };
    static void Init(Context& c) { InitWithLength(c, kDigestSize); }
    static void InitWithLength(Context& c, std::size_t bytes, const Blake3Mode& mode = {}) {
        Blake3Start(&c.state, mode);
        c.digestBytes = bytes;
    }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Blake3Update(&c.state, data, length);
    }
    static void Final(Context& c, uint8_t* digest) { Blake3Final(&c.state, digest, c.digestBytes); }
};

// The xxHash family (seed 0). XXH3-64 and XXH128 share a context and differ in the finish.
struct Xxh32Engine : EngineTraits<Algorithm::Xxh32, 16> {
    using Context = Xxh32Context;
    static void Init(Context& c) { Xxh32Init(&c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Xxh32Update(&c, data, length);
    }
    static void Final(Context& c, uint8_t* digest) { Xxh32Final(&c, digest); }
};

struct Xxh64Engine : EngineTraits<Algorithm::Xxh64, 32> {
    using Context = Xxh64Context;
    static void Init(Context& c) { Xxh64Init(&c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Xxh64Update(&c, data, length);
    }
    static void Final(Context& c, uint8_t* digest) { Xxh64Final(&c, digest); }
};

// Block size 256, the context's buffer: three of them pass the 240-byte short-input limit, so
// the conformance splits reach the long-input path and its buffer boundaries.
template <std::size_t DigestSize>
struct Xxh3Engine : EngineTraits<DigestSize == 8 ? Algorithm::Xxh3 : Algorithm::Xxh128, 256> {
    static_assert(DigestSize == 8 || DigestSize == 16);
    using Context = Xxh3Context;
    static void Init(Context& c) { Xxh3Init(&c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Xxh3Update(&c, data, length);
    }
    static void Final(Context& c, uint8_t* digest) {
        if constexpr (DigestSize == 8)
            Xxh3Final(&c, digest);
        else
            Xxh128Final(&c, digest);
    }
};

struct Sha224Engine : EngineTraits<Algorithm::Sha224, 64> {
    using Context = Sha256Context;
    static void Init(Context& c) { Sha224Init(&c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Sha256Update(data, length, &c);
    }
    static void Final(Context& c, uint8_t* digest) { Sha224Final(digest, &c); }
};

// SHA-512/t for t = 224 or 256.
template <uint32_t Bits>
struct Sha512tEngine
    : EngineTraits<Bits == 224 ? Algorithm::Sha512_224 : Algorithm::Sha512_256, 128> {
    static_assert(Bits == 224 || Bits == 256);
    using Context = Sha512Context;
    static void Init(Context& c) { Sha512Init(Bits / 8, &c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Sha512Update(data, length, &c);
    }
    static void Final(Context& c, uint8_t* digest) { Sha512Final(digest, Bits / 8, &c); }
};

// SHA3-224 to SHA3-512; the block is the sponge's rate.
template <uint32_t Bits>
struct Sha3Engine : EngineTraits<Bits == 224   ? Algorithm::Sha3_224
                                 : Bits == 256 ? Algorithm::Sha3_256
                                 : Bits == 384 ? Algorithm::Sha3_384
                                               : Algorithm::Sha3_512,
                                 200 - 2 * Bits / 8> {
    static_assert(Bits == 224 || Bits == 256 || Bits == 384 || Bits == 512);
    using Context = Sha3Context;
    static void Init(Context& c) { Sha3Init(Bits, &c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Sha3Update(data, length, &c);
    }
    static void Final(Context& c, uint8_t* digest) { Sha3Final(digest, &c); }
};

struct Sm3Engine : EngineTraits<Algorithm::Sm3, 64> {
    using Context = Sm3Context;
    static void Init(Context& c) { Sm3Init(&c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Sm3Update(data, length, &c);
    }
    static void Final(Context& c, uint8_t* digest) { Sm3Final(digest, &c); }
};

// GOST R 34.11-94 with CryptoPro's S-box set.
struct GostCryptoProEngine : EngineTraits<Algorithm::Gost94CryptoPro, 32> {
    using Context = GostContext;
    static void Init(Context& c) { GostInitWithSBoxes(&c, GostSBoxes::kCryptoPro); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        GostUpdate(&c, data, length);
    }
    static void Final(Context& c, uint8_t* digest) { GostFinal(&c, digest); }
};

// GOST R 34.11-2012 (Streebog) at one width, 256 or 512 bits.
template <uint32_t Width>
struct StreebogEngine
    : EngineTraits<Width == 256 ? Algorithm::Streebog256 : Algorithm::Streebog512, 64> {
    static_assert(Width == 256 || Width == 512);
    using Context = StreebogContext;
    static void Init(Context& c) { StreebogInit(&c, Width); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        StreebogUpdate(&c, data, length);
    }
    static void Final(Context& c, uint8_t* digest) { StreebogFinal(&c, digest); }
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
        case Algorithm::Blake2b:
            return f(Blake2bEngine<>{});
        case Algorithm::Blake2s:
            return f(Blake2sEngine{});
        case Algorithm::Crc32c:
            return f(Crc32cEngine{});
        case Algorithm::Blake3:
            return f(Blake3Engine{});
        case Algorithm::Streebog256:
            return f(StreebogEngine<256>{});
        case Algorithm::Streebog512:
            return f(StreebogEngine<512>{});
        case Algorithm::Gost94CryptoPro:
            return f(GostCryptoProEngine{});
        case Algorithm::Sha512:
            return f(Sha2Engine<512>{});
        case Algorithm::Sha224:
            return f(Sha224Engine{});
        case Algorithm::Sha512_224:
            return f(Sha512tEngine<224>{});
        case Algorithm::Sha512_256:
            return f(Sha512tEngine<256>{});
        case Algorithm::Sha3_224:
            return f(Sha3Engine<224>{});
        case Algorithm::Sha3_256:
            return f(Sha3Engine<256>{});
        case Algorithm::Sha3_384:
            return f(Sha3Engine<384>{});
        case Algorithm::Sha3_512:
            return f(Sha3Engine<512>{});
        case Algorithm::Sm3:
            break;
        case Algorithm::Xxh32:
            return f(Xxh32Engine{});
        case Algorithm::Xxh64:
            return f(Xxh64Engine{});
        case Algorithm::Xxh3:
            return f(Xxh3Engine<8>{});
        case Algorithm::Xxh128:
            return f(Xxh3Engine<16>{});
    }
    return f(Sm3Engine{});
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
