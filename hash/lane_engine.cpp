// The multi-lane engines over the engine adapters: chaining values in the lane layout, and each
// message moved between its lane and a one-message context by the engines' lane helpers.
#include "lane_engine.h"

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
    explicit LaneEngineOf(const LanePath<Word>& lanePath)
        : path(lanePath), state(Traits::kWords * lanePath.lanes) {}

    std::size_t Lanes() const override { return path.lanes; }
    std::size_t BlockSize() const override { return E::kBlockSize; }
    std::size_t OneMessageWorth() const override { return path.oneMessageWorth; }

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
    std::vector<Word> state;
};

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
        default:
            return none;
    }
}

}  // namespace

std::unique_ptr<LaneEngine> MakeLaneEngine(Algorithm algorithm) {
    return ForLaneEngine(
        algorithm,
        []<class E>() -> std::unique_ptr<LaneEngine> {
            const auto path = LaneTraits<E>::Path(ActiveCpuDispatch());
            if (path.blocks == nullptr) return nullptr;
            return std::make_unique<LaneEngineOf<E>>(path);
        },
        std::unique_ptr<LaneEngine>());
}

bool LaneEngineAvailable(Algorithm algorithm) {
    if (!Facts(algorithm).lanes) return false;
    return ForLaneEngine(
        algorithm,
        []<class E>() { return LaneTraits<E>::Path(ActiveCpuDispatch()).blocks != nullptr; },
        false);
}
