// The multi-lane engines over the engine adapters: chaining values in the lane layout, and each
// message moved between its lane and a one-message context by the engines' lane helpers.
#include "lane_engine.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <vector>

#include "digest_text.h"

namespace {

template <class E>
class TailOf final : public LaneMessageTail {
public:
    typename E::Context context;

    void Update(const uint8_t* data, std::size_t length) override {
        UpdateAll<E>(context, data, length);
    }
    std::string Final() override {
        uint8_t digest[E::kDigestSize];
        E::Final(context, digest);
        return DigestText(digest, sizeof digest);
    }
};

template <class E>
class LaneEngineOf final : public LaneEngine {
    using Traits = LaneTraits<E>;
    using Word = typename Traits::Word;

public:
    LaneEngineOf(const LanePath<Word>& lanePath, std::size_t oneMessageWorth)
        : path(lanePath), worth(oneMessageWorth), state(Traits::kWords * lanePath.lanes) {}

    std::size_t Lanes() const override { return path.lanes; }
    std::size_t BlockSize() const override { return E::kBlockSize; }
    std::size_t OneMessageWorth() const override { return worth; }

    void Start(std::size_t lane) override {
        typename E::Context fresh;
        E::Init(fresh);
        ChainToLane(Traits::Chain(fresh), state.data(), path.lanes, lane);
    }
    void Blocks(const uint8_t* const* data, std::size_t blocks) override {
        path.blocks(state.data(), data, blocks);
    }
    std::unique_ptr<LaneMessageTail> TakeOut(std::size_t lane, uint64_t bytes) const override {
        auto tail = std::make_unique<TailOf<E>>();
        E::Init(tail->context);  // what the lane does not carry (the SHA-2 width) comes from here
        ChainFromLane(Traits::Chain(tail->context), state.data(), path.lanes, lane);
        SetFedBytes(Traits::Chain(tail->context), bytes);
        return tail;
    }

private:
    LanePath<Word> path;
    std::size_t worth;
    std::vector<Word> state;
};

// Lanes are used unless they hash clearly less in all than the one-message engine: a lane group
// reads its files in small chunks on its own thread, which costs less than the job window's one
// file a job, so lanes that only match the engine in memory still win on many files (SHA-1 in
// eight AVX2 lanes against a SHA-NI stream: 1.0 in memory, 1.11 times faster on 400 files of
// 1 MiB, `farm-bench -n 7` against the window's path).
constexpr double kLanesPayFrom = 0.9;
// Each side of the measurement is timed over rounds of at least this long, the best of three
// kept: long enough for the clock, short enough that a process hashing a few files never notices.
constexpr auto kRoundTime = std::chrono::microseconds(400);
constexpr int kRounds = 3;
// The wider lanes are taken when they hash at least this much more than the narrower in all: each
// message in them advances more slowly, and a run's last messages finish later.
constexpr double kWiderPays = 1.15;

// Bytes per second of `hash`, which hashes `bytes` a call, over one round.
template <class Hash>
double RateOf(const Hash& hash, std::size_t bytes) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    std::size_t calls = 0;
    Clock::duration spent{};
    do {
        hash();
        ++calls;
        spent = Clock::now() - start;
    } while (spent < kRoundTime);
    return static_cast<double>(bytes * calls) / std::chrono::duration<double>(spent).count();
}

// A lane function's rate on data in the cache, as the lane groups' buffers are, over the best of
// kRounds rounds.
template <class E>
double LanesRate(const LanePath<typename LaneTraits<E>::Word>& path) {
    // A buffer a lane, all of them within the second-level cache.
    const std::size_t span =
        std::max<std::size_t>(
            1, std::min<std::size_t>(16384, (1 << 20) / path.lanes) / E::kBlockSize) *
        E::kBlockSize;
    std::vector<uint8_t> data(span * path.lanes);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 131 + 7);
    std::vector<const uint8_t*> pointers(path.lanes);
    for (std::size_t l = 0; l < path.lanes; ++l) pointers[l] = data.data() + l * span;
    std::vector<typename LaneTraits<E>::Word> state(LaneTraits<E>::kWords * path.lanes);
    double rate = 0;
    for (int round = 0; round < kRounds; ++round)
        rate = std::max(
            rate, RateOf([&] { path.blocks(state.data(), pointers.data(), span / E::kBlockSize); },
                         span * path.lanes));
    return rate;
}

// b busy lanes finish b messages of equal length in the time one of them takes alone at a lane's
// rate; alone, one after another, in b times its time at the engine's rate.
std::size_t OneMessageWorth(std::size_t lanes, double speedup) {
    return std::max<std::size_t>(1, static_cast<std::size_t>(static_cast<double>(lanes) / speedup));
}

// The lanes, and the wider lanes, against the one-message engine.
template <class E>
LaneChoice Measure(const CpuDispatch& dispatch) {
    const auto path = LaneTraits<E>::Path(dispatch);
    LaneChoice choice;
    choice.path = path.name;
    choice.lanes = path.lanes;
    if (path.blocks == nullptr) return choice;
    constexpr std::size_t kSpan = 16384;
    std::vector<uint8_t> data(kSpan);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 131 + 7);
    typename E::Context context;
    E::Init(context);
    double one = 0;
    for (int round = 0; round < kRounds; ++round)
        one = std::max(one, RateOf([&] { UpdateAll<E>(context, data.data(), kSpan); }, kSpan));
    choice.speedup = LanesRate<E>(path) / one;
    choice.used = choice.speedup >= kLanesPayFrom;
    choice.oneMessageWorth = OneMessageWorth(path.lanes, choice.speedup);
    const auto wide = LaneTraits<E>::Wide(dispatch);
    if (!choice.used || wide.blocks == nullptr) return choice;
    choice.widePath = wide.name;
    choice.wideLanes = wide.lanes;
    choice.wideSpeedup = LanesRate<E>(wide) / one;
    choice.wideUsed = choice.wideSpeedup >= kWiderPays * choice.speedup;
    choice.wideWorth = OneMessageWorth(wide.lanes, choice.wideSpeedup);
    return choice;
}

// `visit.template operator()<E>()` for the engine adapter E of `algorithm`, or `none` for an
// algorithm without lanes.
template <class Visit, class Result>
Result ForLaneEngine(Algorithm algorithm, Visit visit, Result none) {
    switch (algorithm) {
        case Algorithm::Md2:
            return visit.template operator()<Md2Engine>();
        case Algorithm::Md4:
            return visit.template operator()<Md4Engine>();
        case Algorithm::Md5:
            return visit.template operator()<Md5Engine>();
        case Algorithm::Sha1:
            return visit.template operator()<Sha1Engine>();
        case Algorithm::Sha256:
            return visit.template operator()<Sha2Engine<256>>();
        case Algorithm::Sha384:
            return visit.template operator()<Sha2Engine<384>>();
        case Algorithm::Sha512:
            return visit.template operator()<Sha2Engine<512>>();
        case Algorithm::Sha224:
            return visit.template operator()<Sha224Engine>();
        case Algorithm::Sha512_224:
            return visit.template operator()<Sha512tEngine<224>>();
        case Algorithm::Sha512_256:
            return visit.template operator()<Sha512tEngine<256>>();
        default:
            return none;
    }
}

}  // namespace

std::unique_ptr<LaneEngine> MakeLaneEngine(Algorithm algorithm, bool wide) {
    return ForLaneEngine(
        algorithm,
        [algorithm, wide]<class E>() -> std::unique_ptr<LaneEngine> {
            const LaneChoice& choice = ChosenLanes(algorithm);
            if (wide && choice.wideUsed)
                return std::make_unique<LaneEngineOf<E>>(LaneTraits<E>::Wide(ActiveCpuDispatch()),
                                                         choice.wideWorth);
            const auto path = LaneTraits<E>::Path(ActiveCpuDispatch());
            if (path.blocks == nullptr) return nullptr;
            return std::make_unique<LaneEngineOf<E>>(path, choice.oneMessageWorth);
        },
        std::unique_ptr<LaneEngine>());
}

bool WideLanesPay(const LaneChoice& choice, uint64_t largest, uint64_t total, std::size_t groups) {
    return choice.wideUsed &&
           largest <= total / (choice.wideLanes * std::max<std::size_t>(1, groups));
}

const LaneChoice& ChosenLanes(Algorithm algorithm) {
    // Measured once per algorithm and lane function (tests switch the dispatch level).
    struct Measured {
        Algorithm algorithm;
        const void* function;
        LaneChoice choice;
    };
    static std::mutex mutex;
    static std::vector<std::unique_ptr<Measured>> measured;
    static const LaneChoice none;
    if (!Facts(algorithm).lanes) return none;
    const void* function = ForLaneEngine(
        algorithm,
        []<class E>() {
            return reinterpret_cast<const void*>(LaneTraits<E>::Path(ActiveCpuDispatch()).blocks);
        },
        static_cast<const void*>(nullptr));
    std::lock_guard lock(mutex);
    for (const auto& m : measured)
        if (m->algorithm == algorithm && m->function == function) return m->choice;
    const LaneChoice choice = ForLaneEngine(
        algorithm, []<class E>() { return Measure<E>(ActiveCpuDispatch()); }, LaneChoice());
    measured.push_back(std::make_unique<Measured>(Measured{algorithm, function, choice}));
    return measured.back()->choice;
}

std::string LaneChoicesText() {
    std::string text;
    for (const Algorithm algorithm : kAllAlgorithms) {
        if (!Facts(algorithm).lanes) continue;
        const LaneChoice& choice = ChosenLanes(algorithm);
        char speedup[32];
        char wide[64] = "";
        if (choice.wideUsed)
            std::snprintf(wide, sizeof wide, "|%s (%.1fx|%.1fx)", choice.widePath, choice.speedup,
                          choice.wideSpeedup);
        std::snprintf(speedup, sizeof speedup, "%.1fx", choice.speedup);
        text += (text.empty() ? "" : " ") + std::string(AlgorithmName(algorithm)) + "=" +
                (choice.wideUsed      ? std::string(choice.path) + wide
                 : choice.used        ? std::string(choice.path) + " (" + speedup + ")"
                 : choice.speedup > 0 ? "single (" + std::string(choice.path) + " " + speedup + ")"
                                      : std::string("single"));
    }
    return text;
}
