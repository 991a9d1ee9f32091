// The lane scheduler: the files' sizes and starting order, the lane groups on the cores the budget
// grants, and the outcomes handed on in path order.
#include "lane_scheduler.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

#include "core_budget.h"
#include "lane_group.h"

namespace {

// Largest first, by `sizes` when given; a size that cannot be looked up counts as nothing
// (opening it will say why). `total` gets the sizes' sum and `largest` the largest.
std::vector<std::size_t> LargestFirst(std::span<const std::string> paths,
                                      std::span<const uint64_t> sizes, uint64_t& total,
                                      uint64_t& largest) {
    std::vector<std::pair<uint64_t, std::size_t>> sized;
    sized.reserve(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const uint64_t size = !sizes.empty() ? sizes[i] : RegularFileSize(paths[i]).value_or(0);
        sized.emplace_back(size, i);
        total += size;
        largest = std::max(largest, size);
    }
    std::stable_sort(sized.begin(), sized.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::size_t> order;
    order.reserve(sized.size());
    for (const auto& [size, index] : sized) order.push_back(index);
    return order;
}

}  // namespace

bool LanesAvailable(Algorithm algorithm) {
    return ChosenLanes(algorithm).used;
}

void ComputeDigestsInLanes(std::span<const std::string> paths, Algorithm algorithm,
                           const HashControl& control, const OutcomeSink& emit,
                           std::span<const uint64_t> sizes) {
    uint64_t total = 0, largest = 0;
    std::vector<std::size_t> order = LargestFirst(paths, sizes, total, largest);
    auto engine = MakeLaneEngine(algorithm);
    if (!engine) {
        const Algorithm algorithms[] = {algorithm};
        HashControl each = control;
        uint64_t before = 0;  // bytes of the files already done
        if (control.progress)
            each.progress = [&](uint64_t done, uint64_t) {
                control.progress(before + done, std::max(total, before + done));
            };
        for (std::size_t i = 0; i < paths.size(); ++i) {
            HashOutcome outcome =
                ComputeDigests(HashInput::Path(paths[i], FileKinds::RegularOnly), algorithms, each);
            before += outcome.bytesHashed;
            emit(i, std::move(outcome));
        }
        return;
    }
    LaneBoard board(paths, std::move(order), total, control);

    // One group per core granted, each with an even share of the files to begin with, so that a
    // few files spread over the cores instead of crowding one group's lanes.
    CoreBudget& cores = control.cores != nullptr ? *control.cores : MachineCores();
    // The groups together hold no more files open than the process may open, with room to spare
    // (a group running short later waits for its own files, lane_group.cpp).
    const std::size_t spare = SpareDescriptors();
    const auto wanted = static_cast<unsigned>(std::min<std::size_t>({paths.size(), 64, spare}) - 1);
    const std::size_t groups = 1 + cores.Take(1, wanted);
    const bool wide = WideLanesPay(ChosenLanes(algorithm), largest, total, groups);
    if (wide) engine = MakeLaneEngine(algorithm, true);
    const std::size_t lanes = engine->Lanes();
    const std::size_t cap = std::min(
        {lanes, (paths.size() + groups - 1) / groups, std::max<std::size_t>(1, spare / groups)});

    std::vector<std::jthread> threads;
    for (std::size_t g = 1; g < groups; ++g) {
        try {
            threads.emplace_back([&board, &cores, cap, algorithm, wide] {
                LaneGroup(board, MakeLaneEngine(algorithm, wide), cap, algorithm, cores)
                    .Run(nullptr);
            });
        } catch (const std::system_error&) {
            cores.Give(static_cast<unsigned>(groups - g));  // the groups that cannot start
            break;
        }
    }
    LaneGroup(board, std::move(engine), cap, algorithm, cores).Run([&] {
        board.Emit(emit, false);
        board.Report();
    });
    board.Emit(emit, true);
    board.Report();  // the other groups' last reads
}
