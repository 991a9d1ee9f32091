// Messages in memory through a multi-lane block function the way a scheduler runs them, for the
// lane tests and the lane fuzz harness: each lane takes the next message as soon as its own has no
// whole block left, whose tail its one-message context then finishes; idle lanes read another
// lane's data. E is an engine adapter (engine_adapters.h) with LaneTraits (lane_engine.h).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "cpu.h"
#include "engine_adapters.h"
#include "lane_engine.h"

struct LaneMessage {
    const uint8_t* data;
    std::size_t length;
};

// The digest bytes as a string.
template <class E>
std::string Finish(typename E::Context& c) {
    uint8_t digest[E::kDigestSize];
    E::Final(c, digest);
    return std::string(digest, digest + sizeof digest);
}

template <class E>
std::string OneMessage(const LaneMessage& m) {
    typename E::Context c;
    E::Init(c);
    UpdateAll<E>(c, m.data, m.length);
    return Finish<E>(c);
}

// The digests of `messages` in their order. pickRun(most) gives how many blocks the next call
// hashes, 1 to `most` (the fewest whole blocks any busy lane has left).
template <class E, class PickRun>
std::vector<std::string> ThroughLanes(const LanePath<typename LaneTraits<E>::Word>& path,
                                      const std::vector<LaneMessage>& messages, PickRun pickRun) {
    using Chain = LaneTraits<E>;
    constexpr std::size_t kBlock = E::kBlockSize;
    constexpr std::size_t kIdle = SIZE_MAX;
    const std::size_t lanes = path.lanes;
    std::vector<typename LaneTraits<E>::Word> state(Chain::kWords * lanes);
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
                    typename E::Context c;
                    E::Init(c);
                    ChainToLane(Chain::Chain(c), state.data(), lanes, lane);
                    message[lane] = next++;
                    done[lane] = 0;
                }
                const LaneMessage& m = messages[message[lane]];
                if (m.length - done[lane] >= kBlock) {
                    most = std::min(most, (m.length - done[lane]) / kBlock);
                    spare = data[lane] = m.data + done[lane];
                    break;
                }
                typename E::Context c;
                E::Init(c);
                ChainFromLane(Chain::Chain(c), state.data(), lanes, lane);
                SetFedBytes(Chain::Chain(c), done[lane]);
                UpdateAll<E>(c, m.data + done[lane], m.length - done[lane]);
                digests[message[lane]] = Finish<E>(c);
                message[lane] = kIdle;
            }
        }
        if (spare == nullptr) return digests;
        const std::size_t run = pickRun(most);
        for (std::size_t lane = 0; lane < lanes; ++lane) {
            if (message[lane] == kIdle)
                data[lane] = spare;
            else
                done[lane] += run * kBlock;
        }
        path.blocks(state.data(), data.data(), run);
    }
}
