// One algorithm's multi-lane engine, as the lane scheduler drives it: the lane function this CPU
// runs for it, the lanes' chaining values, and the one-message engine that each message moves to
// when it has no whole block left, to buffer its tail and pad it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "algorithms.h"
#include "cpu.h"
#include "engine_adapters.h"
#include "lanes.h"

// Per engine adapter: its lane path in the dispatch table and the wider one, the words a lane's
// state takes, and the engine context whose chaining value moves in and out of a lane.
template <class E>
struct LaneTraits;
template <>
struct LaneTraits<Md2Engine> {
    using Word = uint8_t;
    static constexpr std::size_t kWords = 64;
    static LanePath<Word> Path(const CpuDispatch& d) { return d.md2Lanes; }
    static LanePath<Word> Wide(const CpuDispatch&) { return {}; }
    static CMD2& Chain(CMD2& c) { return c; }
};
template <>
struct LaneTraits<Md4Engine> {
    using Word = uint32_t;
    static constexpr std::size_t kWords = 4;
    static LanePath<Word> Path(const CpuDispatch& d) { return d.md4Lanes; }
    static LanePath<Word> Wide(const CpuDispatch& d) { return d.md4Wide; }
    static Md4Context& Chain(Md4Context& c) { return c; }
};
template <>
struct LaneTraits<Md5Engine> {
    using Word = uint32_t;
    static constexpr std::size_t kWords = 4;
    static LanePath<Word> Path(const CpuDispatch& d) { return d.md5Lanes; }
    static LanePath<Word> Wide(const CpuDispatch& d) { return d.md5Wide; }
    static Md5Context& Chain(Md5Context& c) { return c; }
};
template <>
struct LaneTraits<Sha1Engine> {
    using Word = uint32_t;
    static constexpr std::size_t kWords = 5;
    static LanePath<Word> Path(const CpuDispatch& d) { return d.sha1Lanes; }
    static LanePath<Word> Wide(const CpuDispatch& d) { return d.sha1Wide; }
    static Sha1Context& Chain(Sha1Context& c) { return c; }
};
template <>
struct LaneTraits<Sha2Engine<256>> {
    using Word = uint32_t;
    static constexpr std::size_t kWords = 8;
    static LanePath<Word> Path(const CpuDispatch& d) { return d.sha256Lanes; }
    static LanePath<Word> Wide(const CpuDispatch&) { return {}; }
    static Sha256Context& Chain(Sha2Context& c) { return c.engine.sha256; }
};
template <uint32_t Width>
struct LaneTraits<Sha2Engine<Width>> {  // 384 and 512 share the 64-bit lanes
    using Word = uint64_t;
    static constexpr std::size_t kWords = 8;
    static LanePath<Word> Path(const CpuDispatch& d) { return d.sha512Lanes; }
    static LanePath<Word> Wide(const CpuDispatch&) { return {}; }
    static Sha512Context& Chain(Sha2Context& c) { return c.engine.sha512; }
};
template <>
struct LaneTraits<Sha224Engine> {  // the SHA-256 lanes from SHA-224's initial value
    using Word = uint32_t;
    static constexpr std::size_t kWords = 8;
    static LanePath<Word> Path(const CpuDispatch& d) { return d.sha256Lanes; }
    static LanePath<Word> Wide(const CpuDispatch&) { return {}; }
    static Sha256Context& Chain(Sha256Context& c) { return c; }
};
template <uint32_t Bits>
struct LaneTraits<Sha512tEngine<Bits>> {  // the SHA-512 lanes from SHA-512/t's initial values
    using Word = uint64_t;
    static constexpr std::size_t kWords = 8;
    static LanePath<Word> Path(const CpuDispatch& d) { return d.sha512Lanes; }
    static LanePath<Word> Wide(const CpuDispatch&) { return {}; }
    static Sha512Context& Chain(Sha512Context& c) { return c; }
};

// A message that has left its lane, continued by the one-message engine.
class LaneMessageTail {
public:
    virtual ~LaneMessageTail() = default;
    virtual void Update(const uint8_t* data, std::size_t length) = 0;
    virtual std::string Final() = 0;  // the digest as DigestText
};

class LaneEngine {
public:
    virtual ~LaneEngine() = default;
    virtual std::size_t Lanes() const = 0;
    virtual std::size_t BlockSize() const = 0;
    // With this many busy lanes or fewer, the one-message engine finishes their messages sooner.
    virtual std::size_t OneMessageWorth() const = 0;
    // A new message in `lane`.
    virtual void Start(std::size_t lane) = 0;
    // `blocks` whole blocks of every lane, lane l's from data[l].
    virtual void Blocks(const uint8_t* const* data, std::size_t blocks) = 0;
    // Lane `lane`'s message, `bytes` of it hashed, into its one-message engine; the lane is free.
    virtual std::unique_ptr<LaneMessageTail> TakeOut(std::size_t lane, uint64_t bytes) const = 0;
};

// The engine the active dispatch level has for `algorithm`, on its wider lane function if `wide`
// (and ChosenLanes says it pays); null when it has none (one lane).
std::unique_ptr<LaneEngine> MakeLaneEngine(Algorithm algorithm, bool wide = false);

// What lanes are worth for `algorithm` on the running CPU, measured the first time it is asked in
// a process at the active dispatch level (a few milliseconds of hashing in memory), since how
// lanes compare with the one-message engine differs from CPU to CPU far more than by vector width
// (a SHA-NI stream against eight AVX2 lanes, say).
struct LaneChoice {
    const char* path = "single";  // the lane function's name; "single" without one
    std::size_t lanes = 1;
    double speedup = 0;  // the lanes' bytes in all over the one-message engine's, in equal time
    // Many files of the algorithm go in lanes: they hash enough faster to pay for the files
    // juggled.
    bool used = false;
    // With this many busy lanes or fewer, the one-message engine finishes their messages sooner.
    std::size_t oneMessageWorth = 1;
    // The wider lane function, measured the same way where the CPU has one; `wideUsed` when it
    // hashes clearly more in all than `path`. Each message in it advances more slowly, so the lane
    // scheduler takes it only for runs with no file long next to the whole (WideLanesPay).
    const char* widePath = nullptr;
    std::size_t wideLanes = 1;
    double wideSpeedup = 0;
    bool wideUsed = false;
    std::size_t wideWorth = 1;
};
const LaneChoice& ChosenLanes(Algorithm algorithm);
// "md5=avx512x16|avx512x32 (6.7x|9.6x) sha256=single (avx2x8 0.8x) ...": every lane-capable
// algorithm's choice, with the wider function where it pays.
std::string LaneChoicesText();

// Whether a run of files totalling `total` bytes, the largest `largest`, on `groups` lane groups
// goes in the wider lanes: only if a message there, at a lane's share of the group's rate, still
// finishes the largest file within the run's even share of every group's time (largest * lanes *
// groups <= total). Otherwise that file alone outlasts the run.
bool WideLanesPay(const LaneChoice& choice, uint64_t largest, uint64_t total, std::size_t groups);
