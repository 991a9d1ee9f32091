// The engines' relative costs and what follows from them.
#include "schedule.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace {

unsigned Cost(Algorithm algorithm) {
    return Facts(algorithm).cost;
}

}  // namespace

bool ReaderThreadPays(std::span<const Algorithm> algorithms) {
    // CRC-32 runs several times faster than the kernel copies: the copy is the work, and a block
    // copied on another core reaches this one's cache slower than one copied here.
    return std::any_of(algorithms.begin(), algorithms.end(),
                       [](Algorithm a) { return Cost(a) >= 300; });
}

std::vector<std::vector<std::size_t>> SplitByCost(std::span<const Algorithm> algorithms,
                                                  std::size_t groups) {
    groups = std::clamp<std::size_t>(groups, 1, std::max<std::size_t>(1, algorithms.size()));
    std::vector<std::size_t> order(algorithms.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return Cost(algorithms[a]) > Cost(algorithms[b]);
    });
    // Heaviest first, each onto the lightest group so far.
    std::vector<std::vector<std::size_t>> split(groups);
    std::vector<uint64_t> load(groups, 0);
    for (std::size_t index : order) {
        const auto g =
            static_cast<std::size_t>(std::min_element(load.begin(), load.end()) - load.begin());
        split[g].push_back(index);
        load[g] += Cost(algorithms[index]);
    }
    std::erase_if(split, [](const auto& group) { return group.empty(); });
    for (auto& group : split) std::sort(group.begin(), group.end());
    return split;
}
