// In-memory throughput of every engine through its public operations (init, one update over the
// whole buffer, final), and of the CRC-32 bulk functions, at 64 B, 1 KiB, 16000 B (the runners'
// chunk) and 1 MiB, on every path this CPU has. Run: build/bench/bench/corvane_bench
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "algorithms.h"
#include "blake3.h"
#include "cpu.h"
#include "crc32_slicing.h"
#include "engine_adapters.h"
#if defined(__x86_64__) || defined(__i386__)
#include "x86/x86_blocks.h"
#endif

namespace {

using Hash = std::function<void(const uint8_t*, uint32_t, uint8_t*)>;

// One whole message through an engine adapter: init, one update, final.
template <class E>
void OneShot(const uint8_t* data, uint32_t length, uint8_t* out) {
    typename E::Context c;
    E::Init(c);
    E::Update(c, data, length);
    E::Final(c, out);
}

const char* LevelName(CpuLevel level) {
    switch (level) {
        case CpuLevel::kPortable:
            return "portable";
        case CpuLevel::kSse:
            return "sse";
        case CpuLevel::kAvx2:
            return "avx2";
        case CpuLevel::kAvx512:
            return "avx512";
    }
    return "?";
}

void AddSizes(benchmark::internal::Benchmark* b) {
    for (int64_t size : {64, 1024, 16000, 1 << 20}) b->Arg(size);
}

// An engine at one dispatch level: the level only matters to engines with accelerated paths.
void AddEngine(const std::string& name, Hash hash, CpuLevel level) {
    benchmark::RegisterBenchmark(
        (name + "/" + LevelName(level)).c_str(),
        [hash, level](benchmark::State& state) {
            ForceCpuLevel(level);
            const std::vector<uint8_t> data(static_cast<std::size_t>(state.range(0)), 0x5a);
            uint8_t digest[64];
            for (auto _ : state) {
                hash(data.data(), static_cast<uint32_t>(data.size()), digest);
                benchmark::DoNotOptimize(digest);
            }
            state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
            ResetCpuLevel();
        })
        ->Apply(AddSizes);
}

void AddCrc(const std::string& name, uint32_t (*bulk)(uint32_t, const uint8_t*, std::size_t),
            const std::string& kind = "crc32") {
    benchmark::RegisterBenchmark((kind + "/" + name).c_str(), [bulk](benchmark::State& state) {
        const std::vector<uint8_t> data(static_cast<std::size_t>(state.range(0)), 0x5a);
        uint32_t reg = 0xFFFFFFFF;
        for (auto _ : state) {
            reg = bulk(reg, data.data(), data.size());
            benchmark::DoNotOptimize(reg);
        }
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    })->Apply(AddSizes);
}

// A whole SHA-512 message through one block function, padded here as the engine pads it, so the
// block functions compare at the same sizes as the engines.
using Sha512Blocks = void (*)(uint64_t*, const uint8_t*, std::size_t);
void AddSha512Blocks(const std::string& name, Sha512Blocks blocks) {
    benchmark::RegisterBenchmark(("sha512-blocks/" + name).c_str(), [blocks](
                                                                        benchmark::State& state) {
        const std::vector<uint8_t> data(static_cast<std::size_t>(state.range(0)), 0x5a);
        uint64_t h[8] = {};
        for (auto _ : state) {
            const std::size_t whole = data.size() / 128, rest = data.size() % 128;
            blocks(h, data.data(), whole);
            uint8_t last[256] = {};
            std::memcpy(last, data.data() + 128 * whole, rest);
            last[rest] = 0x80;
            const std::size_t tail = rest < 112 ? 1 : 2;
            const uint64_t bits = uint64_t{data.size()} * 8;
            for (int i = 0; i < 8; ++i)
                last[128 * tail - 1 - static_cast<std::size_t>(i)] =
                    static_cast<uint8_t>(bits >> (8 * i));
            blocks(h, last, tail);
            benchmark::DoNotOptimize(h);
        }
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    })->Apply(AddSizes);
}

// A multi-lane function over `lanes` buffers of the given size each (whole blocks), all lanes busy;
// the bytes counted are those of every lane.
template <class Word>
void AddLanes(const std::string& kind, CpuLevel level, LanePath<Word> (*pick)(const CpuDispatch&),
              std::size_t block) {
    ForceCpuLevel(level);
    const LanePath<Word> path = pick(ActiveCpuDispatch());
    ResetCpuLevel();
    if (path.blocks == nullptr) return;
    benchmark::RegisterBenchmark(
        (kind + "-lanes/" + path.name).c_str(),
        [path, block](benchmark::State& state) {
            const std::size_t size = static_cast<std::size_t>(state.range(0)) / block * block;
            const std::vector<uint8_t> data(size * path.lanes, 0x5a);
            std::vector<const uint8_t*> lanes(path.lanes);
            for (std::size_t l = 0; l < path.lanes; ++l) lanes[l] = data.data() + l * size;
            std::vector<Word> h(64 * path.lanes);  // MD2 takes 64 words a lane, others 8
            for (auto _ : state) {
                path.blocks(h.data(), lanes.data(), size / block);
                benchmark::DoNotOptimize(h.data());
            }
            state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size * path.lanes));
        })
        ->Arg(1024)
        ->Arg(64 * 1024);
}

void AddAllLanes() {
    for (CpuLevel level : {CpuLevel::kAvx2, CpuLevel::kAvx512}) {
        if (level > SupportedCpuLevel()) continue;
        // The 64-byte-block functions on 32-bit words, in 16 lanes and the wider ones.
        const struct {
            const char* kind;
            LanePath<uint32_t> (*pick)(const CpuDispatch&);
        } words32[] = {
            {"md4", [](const CpuDispatch& d) { return d.md4Lanes; }},
            {"md5", [](const CpuDispatch& d) { return d.md5Lanes; }},
            {"sha1", [](const CpuDispatch& d) { return d.sha1Lanes; }},
            {"sha256", [](const CpuDispatch& d) { return d.sha256Lanes; }},
            {"md4", [](const CpuDispatch& d) { return d.md4Wide; }},
            {"md5", [](const CpuDispatch& d) { return d.md5Wide; }},
            {"sha1", [](const CpuDispatch& d) { return d.sha1Wide; }},
        };
        for (const auto& w : words32) AddLanes<uint32_t>(w.kind, level, w.pick, 64);
        AddLanes<uint64_t>(
            "sha512", level, [](const CpuDispatch& d) { return d.sha512Lanes; }, 128);
        AddLanes<uint8_t>(
            "md2", level, [](const CpuDispatch& d) { return d.md2Lanes; }, 16);
    }
}

// BLAKE3's whole subtrees (chunks and parents on the many-input function) at each level.
void AddBlake3Subtrees() {
    for (CpuLevel level : kCpuLevels) {
        if (level > SupportedCpuLevel() || level == CpuLevel::kSse) continue;
        benchmark::RegisterBenchmark(
            (std::string("blake3-subtree/") + LevelName(level)).c_str(),
            [level](benchmark::State& state) {
                ForceCpuLevel(level);
                const std::vector<uint8_t> data(static_cast<std::size_t>(state.range(0)), 0x5a);
                Blake3Context c;
                Blake3Init(&c);
                uint8_t cv[32];
                for (auto _ : state) {
                    Blake3SubtreeCv(&c, data.data(), data.size() / kBlake3ChunkSize, 0, cv);
                    benchmark::DoNotOptimize(cv);
                }
                state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
                ResetCpuLevel();
            })
            ->Arg(16 * 1024)
            ->Arg(1 << 20);
    }
}

int Register() {
    AddAllLanes();
    AddBlake3Subtrees();
    const CpuFeatures f = DetectCpuFeatures();
    AddCrc("slicing-16", Crc32Slicing16);
    AddCrc("slicing-16", Crc32cSlicing16, "crc32c");
#if defined(__x86_64__) || defined(__i386__)
    if (f.pclmul && f.sse41) AddCrc("pclmulqdq", Crc32FoldPclmul);
    if (f.pclmul && f.vpclmul && f.avx2) AddCrc("vpclmulqdq-256", Crc32FoldVpclmul256);
    if (f.pclmul && f.vpclmul && f.avx2 && f.avx512) AddCrc("vpclmulqdq-512", Crc32FoldVpclmul512);
    if (f.sse42 && f.pclmul) AddCrc("sse4.2x3", Crc32cSse42, "crc32c");
    if (f.pclmul && f.vpclmul && f.avx2 && f.avx512)
        AddCrc("vpclmulqdq-512", Crc32cFoldVpclmul512, "crc32c");
    if (f.bmi2) AddSha512Blocks("bmi2", Sha512BlocksBmi2);
    if (f.bmi2 && f.avx2) AddSha512Blocks("avx2", Sha512BlocksAvx2);
#endif
    (void)f;
    const struct {
        Algorithm algorithm;
        Hash hash;
        bool accelerated;
    } engines[] = {
        {Algorithm::Md2, OneShot<Md2Engine>, false},
        {Algorithm::Md4, OneShot<Md4Engine>, false},
        {Algorithm::Md5, OneShot<Md5Engine>, false},
        {Algorithm::Sha1, OneShot<Sha1Engine>, true},
        {Algorithm::Sha256, OneShot<Sha2Engine<256>>, true},
        {Algorithm::Sha384, OneShot<Sha2Engine<384>>, true},
        {Algorithm::Sha512, OneShot<Sha2Engine<512>>, true},
        {Algorithm::Gost, OneShot<GostEngine>, true},
        {Algorithm::Blake2b, OneShot<Blake2bEngine<>>, false},
        {Algorithm::Blake2s, OneShot<Blake2sEngine>, false},
        {Algorithm::Crc32c, OneShot<Crc32cEngine>, true},
        {Algorithm::Blake3, OneShot<Blake3Engine>, true},
        {Algorithm::Sha224, OneShot<Sha224Engine>, true},
        {Algorithm::Sha512_224, OneShot<Sha512tEngine<224>>, true},
        {Algorithm::Sha512_256, OneShot<Sha512tEngine<256>>, true},
        {Algorithm::Sha3_224, OneShot<Sha3Engine<224>>, true},
        {Algorithm::Sha3_256, OneShot<Sha3Engine<256>>, true},
        {Algorithm::Sha3_384, OneShot<Sha3Engine<384>>, true},
        {Algorithm::Sha3_512, OneShot<Sha3Engine<512>>, true},
        {Algorithm::Sm3, OneShot<Sm3Engine>, true},
        {Algorithm::Gost94CryptoPro, OneShot<GostCryptoProEngine>, true},
        {Algorithm::Streebog256, OneShot<StreebogEngine<256>>, true},
        {Algorithm::Streebog512, OneShot<StreebogEngine<512>>, true},
    };
    for (const auto& e : engines) {
        const std::string name(AlgorithmName(e.algorithm));
        AddEngine(name, e.hash, CpuLevel::kPortable);
        if (e.accelerated && SupportedCpuLevel() >= CpuLevel::kSse)
            AddEngine(name, e.hash, SupportedCpuLevel());
        // The AVX2-only machines' paths too.
        if (e.accelerated && SupportedCpuLevel() > CpuLevel::kAvx2)
            AddEngine(name, e.hash, CpuLevel::kAvx2);
    }
    // XXH3 and XXH128 on every vector width, as the AVX2-only machines run them.
    const struct {
        const char* name;
        Hash hash;
        bool accelerated;
    } xxhash[] = {
        {"xxh32", OneShot<Xxh32Engine>, false},
        {"xxh64", OneShot<Xxh64Engine>, false},
        {"xxh3", OneShot<Xxh3Engine<8>>, true},
        {"xxh128", OneShot<Xxh3Engine<16>>, true},
    };
    for (const auto& e : xxhash) {
        AddEngine(e.name, e.hash, CpuLevel::kPortable);
        if (!e.accelerated) continue;
        if (SupportedCpuLevel() >= CpuLevel::kAvx2) AddEngine(e.name, e.hash, CpuLevel::kAvx2);
        if (SupportedCpuLevel() >= CpuLevel::kAvx512) AddEngine(e.name, e.hash, CpuLevel::kAvx512);
    }
    return 0;
}

const int registered = Register();

}  // namespace
