// One shape over the nine engines, so the runners and the Digester drive them all the same way:
// Init (with the SHA-2 width), Update in pieces, Final into a digest area returning its length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "bytes.h"
#include "crc32.h"
#include "gost.h"
#include "md2.h"
#include "md4.h"
#include "md5.h"
#include "sha1.h"
#include "sha2.h"

// Large enough for every digest here.
inline constexpr std::size_t kDigestArea = 256;

struct Crc32Engine {
    using Context = uint32_t;  // the running register
    static void Init(Context& c, int32_t) { c = CCrc32Static::kPreset; }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        CCrc32Static::CrcFold(c, data, length);
    }
    // The value most significant byte first, so its hex is the "%08x" text.
    static std::size_t Final(Context& c, uint8_t* digest) {
        StoreBe32(digest, c ^ CCrc32Static::kPreset);
        return 4;
    }
};

struct GostEngine {
    using Context = GostContext;
    static void Init(Context& c, int32_t) { GostInit(&c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        GostUpdate(&c, data, length);
    }
    static std::size_t Final(Context& c, uint8_t* digest) {
        GostFinal(&c, digest);
        return 32;
    }
};

struct Md2Engine {
    using Context = CMD2;
    static void Init(Context& c, int32_t) { c.Init(); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) { c.Update(data, length); }
    static std::size_t Final(Context& c, uint8_t* digest) {
        c.Final(digest, 16);
        return 16;
    }
};

struct Md4Engine {
    using Context = Md4Context;
    static void Init(Context& c, int32_t) { Md4Init(&c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Md4Update(&c, data, length);
    }
    static std::size_t Final(Context& c, uint8_t* digest) {
        Md4Final(digest, &c);
        return 16;
    }
};

struct Md5Engine {
    using Context = Md5Context;
    static void Init(Context& c, int32_t) { Md5Init(&c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Md5Update(&c, data, length);
    }
    static std::size_t Final(Context& c, uint8_t* digest) {
        Md5Final(&c);
        std::memcpy(digest, c.digest, 16);
        return 16;
    }
};

struct Sha1Engine {
    using Context = Sha1Context;
    static void Init(Context& c, int32_t) { Sha1Init(&c); }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Sha1Update(data, length, &c);
    }
    static std::size_t Final(Context& c, uint8_t* digest) {
        Sha1Final(digest, &c);
        return 20;
    }
};

// The width front: 256, 384 or 512 bits.
struct Sha2Engine {
    using Context = Sha2Context;
    static void Init(Context& c, int32_t width) {
        if (Sha2Init(static_cast<uint32_t>(width), &c) != 0) Sha2Init(256, &c);
    }
    static void Update(Context& c, const uint8_t* data, uint32_t length) {
        Sha2Update(data, length, &c);
    }
    static std::size_t Final(Context& c, uint8_t* digest) {
        const std::size_t length = c.digestLength;  // read first: Final may wipe the context
        Sha2Final(digest, &c);
        return length;
    }
};

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
