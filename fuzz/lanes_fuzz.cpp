// Fuzz harness: many messages, cut from the input, through the multi-lane function of every level
// this CPU has, each digest equal to that of its message hashed alone by the portable engine.
//
// Byte 0 picks the algorithm (MD4, MD5, SHA-1, SHA-256, SHA-384, SHA-512, MD2), byte 1 the number
// of messages (0 to 63), byte 2 how many blocks each call takes (all that every busy lane has, or a
// pseudo-random part of it); then four bytes per message, a little-endian offset and length into
// the rest of the input (the payload), taken modulo what is there. Messages may overlap.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "lane_driver.h"
#include "split_input.h"

namespace {

template <class E>
void Run(const std::vector<LaneMessage>& messages, uint8_t runs) {
    ForceCpuLevel(CpuLevel::kPortable);
    std::vector<std::string> alone;
    for (const auto& m : messages) alone.push_back(OneMessage<E>(m));
    for (CpuLevel level : kCpuLevels) {
        if (level > SupportedCpuLevel()) continue;
        ForceCpuLevel(level);
        const auto path = LaneTraits<E>::Path(ActiveCpuDispatch());
        if (path.blocks == nullptr) continue;
        uint32_t lcg = runs;
        const auto digests = ThroughLanes<E>(path, messages, [&](std::size_t most) {
            lcg = lcg * 1103515245u + 12345u;
            return runs % 2 == 0 ? most : 1 + (lcg >> 8) % most;
        });
        for (std::size_t i = 0; i < messages.size(); ++i)
            RequireSame(reinterpret_cast<const uint8_t*>(digests[i].data()),
                        reinterpret_cast<const uint8_t*>(alone[i].data()), alone[i].size(),
                        path.name);
    }
    ResetCpuLevel();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::size_t count = data[1] % 64u;
    const std::size_t header = 3 + 4 * count;
    if (size < header) return 0;
    const uint8_t* payload = data + header;
    const std::size_t available = size - header;
    std::vector<LaneMessage> messages;
    for (std::size_t i = 0; i < count; ++i) {
        const uint8_t* field = data + 3 + 4 * i;
        const std::size_t offset = (field[0] | std::size_t{field[1]} << 8) % (available + 1);
        const std::size_t length =
            (field[2] | std::size_t{field[3]} << 8) % (available - offset + 1);
        messages.push_back({payload + offset, length});
    }
    switch (data[0] % 7) {
        case 0:
            Run<Md4Engine>(messages, data[2]);
            break;
        case 1:
            Run<Md5Engine>(messages, data[2]);
            break;
        case 2:
            Run<Sha1Engine>(messages, data[2]);
            break;
        case 3:
            Run<Sha2Engine<256>>(messages, data[2]);
            break;
        case 4:
            Run<Sha2Engine<384>>(messages, data[2]);
            break;
        case 5:
            Run<Sha2Engine<512>>(messages, data[2]);
            break;
        default:
            Run<Md2Engine>(messages, data[2]);
            break;
    }
    return 0;
}
