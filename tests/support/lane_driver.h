// Messages in memory through a multi-lane block function the way a scheduler runs them, for the
// lane tests and the lane fuzz harness: each lane takes the next message as soon as its own has no
// whole block left, whose tail its one-message context then finishes; idle lanes read another
// lane's data. One kind adapter per algorithm: Md4Kind, Md5Kind, Sha1Kind, Sha2Kind<width>.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "cpu.h"
#include "lanes.h"
#include "sha2.h"

template <class Ctx, class W, std::size_t Block>
struct LaneKindBase {
    using Context = Ctx;
    using Word = W;
    static constexpr std::size_t kBlock = Block;
};

// Final returns the digest bytes as a string.
struct Md4Kind : LaneKindBase<Md4Context, uint32_t, 64> {
    static constexpr const char* kColumn = "md4";
    static LanePath<Word> Path(const CpuDispatch& d) { return d.md4Lanes; }
    static void Init(Context& c) { Md4Init(&c); }
    static Context& Engine(Context& c) { return c; }
    static void Update(Context& c, const uint8_t* p, uint32_t n) { Md4Update(&c, p, n); }
    static std::string Final(Context& c) {
        uint8_t out[16];
        Md4Final(out, &c);
        return std::string(out, out + sizeof out);
    }
};

struct Md5Kind : LaneKindBase<Md5Context, uint32_t, 64> {
    static constexpr const char* kColumn = "md5";
    static LanePath<Word> Path(const CpuDispatch& d) { return d.md5Lanes; }
    static void Init(Context& c) { Md5Init(&c); }
    static Context& Engine(Context& c) { return c; }
    static void Update(Context& c, const uint8_t* p, uint32_t n) { Md5Update(&c, p, n); }
    static std::string Final(Context& c) {
        Md5Final(&c);
        return std::string(c.digest, c.digest + sizeof c.digest);
    }
};

struct Sha1Kind : LaneKindBase<Sha1Context, uint32_t, 64> {
    static constexpr const char* kColumn = "sha1";
    static LanePath<Word> Path(const CpuDispatch& d) { return d.sha1Lanes; }
    static void Init(Context& c) { Sha1Init(&c); }
    static Context& Engine(Context& c) { return c; }
    static void Update(Context& c, const uint8_t* p, uint32_t n) { Sha1Update(p, n, &c); }
    static std::string Final(Context& c) {
        uint8_t out[20];
        Sha1Final(out, &c);
        return std::string(out, out + sizeof out);
    }
};

// The three SHA-2 widths through the width front; 384 and 512 share the 64-bit lanes.
template <uint32_t Width>
struct Sha2Kind : LaneKindBase<Sha2Context, std::conditional_t<Width == 256, uint32_t, uint64_t>,
                               Width == 256 ? 64 : 128> {
    static constexpr const char* kColumn = Width == 256   ? "sha256"
                                           : Width == 384 ? "sha384"
                                                          : "sha512";
    static auto Path(const CpuDispatch& d) {
        if constexpr (Width == 256)
            return d.sha256Lanes;
        else
            return d.sha512Lanes;
    }
    static void Init(Sha2Context& c) { Sha2Init(Width, &c); }
    static auto& Engine(Sha2Context& c) {
        if constexpr (Width == 256)
            return c.engine.sha256;
        else
            return c.engine.sha512;
    }
    static void Update(Sha2Context& c, const uint8_t* p, uint32_t n) { Sha2Update(p, n, &c); }
    static std::string Final(Sha2Context& c) {
        uint8_t out[64];
        Sha2Final(out, &c);
        return std::string(out, out + Width / 8);
    }
};

struct LaneMessage {
    const uint8_t* data;
    std::size_t length;
};

template <class K>
std::string OneMessage(const LaneMessage& m) {
    typename K::Context c;
    K::Init(c);
    K::Update(c, m.data, static_cast<uint32_t>(m.length));
    return K::Final(c);
}

// The digests of `messages` in their order. pickRun(most) gives how many blocks the next call
// hashes, 1 to `most` (the fewest whole blocks any busy lane has left).
template <class K, class PickRun>
std::vector<std::string> ThroughLanes(const LanePath<typename K::Word>& path,
                                      const std::vector<LaneMessage>& messages, PickRun pickRun) {
    constexpr std::size_t kIdle = SIZE_MAX;
    const std::size_t lanes = path.lanes;
    std::vector<typename K::Word> state(8 * lanes);
    std::vector<std::size_t> message(lanes, kIdle), done(lanes, 0);
    std::vector<const uint8_t*> data(lanes);
    std::vector<std::string> digests(messages.size());
    std::size_t next = 0;
    for (;;) {
        std::size_t most = SIZE_MAX;
        const uint8_t* spare = nullptr;
        for (std::size_t lane = 0; lane < lanes; ++lane) {
            while (message[lane] != kIdle || next < messages.size()) {
                if (message[lane] == kIdle) {
                    typename K::Context c;
                    K::Init(c);
                    ChainToLane(K::Engine(c), state.data(), lanes, lane);
                    message[lane] = next++;
                    done[lane] = 0;
                }
                const LaneMessage& m = messages[message[lane]];
                if (m.length - done[lane] >= K::kBlock) {
                    most = std::min(most, (m.length - done[lane]) / K::kBlock);
                    spare = data[lane] = m.data + done[lane];
                    break;
                }
                typename K::Context c;
                K::Init(c);
                ChainFromLane(K::Engine(c), state.data(), lanes, lane);
                SetFedBytes(K::Engine(c), done[lane]);
                K::Update(c, m.data + done[lane], static_cast<uint32_t>(m.length - done[lane]));
                digests[message[lane]] = K::Final(c);
                message[lane] = kIdle;
            }
        }
        if (spare == nullptr) return digests;
        const std::size_t run = pickRun(most);
        for (std::size_t lane = 0; lane < lanes; ++lane) {
            if (message[lane] == kIdle)
                data[lane] = spare;
            else
                done[lane] += run * K::kBlock;
        }
        path.blocks(state.data(), data.data(), run);
    }
}
