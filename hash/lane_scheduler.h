// Many files with one algorithm, hashed side by side in the lanes of a multi-lane engine
// (lane_engine.h), so that the whole run goes at about the speed of reading the files.
//
// The files start largest first (their sizes are looked up before anything is read), so that a
// set of mixed sizes keeps the lanes full to the end. Each lane group, one per core the core
// budget grants, keeps up to its lane count of files open, reads each in chunks into a buffer of
// its own, hands the lane function the whole blocks every busy lane has, and refills a lane from
// the next file the moment one ends; the one-message engine finishes each message's tail. When
// nothing is left to start and too few lanes are busy to pay, the remaining messages finish one
// at a time: those not yet begun through the ordinary pipeline, the others on the one-message
// engine. Memory depends on the lane count, never on the files' sizes.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>

#include "pipeline.h"

// True when many files of `algorithm` go in lanes on this CPU at its active dispatch level: it
// has a lane function for it and lanes pay there (lane_engine.h's ChosenLanes).
bool LanesAvailable(Algorithm algorithm);

using OutcomeSink = std::function<void(std::size_t index, HashOutcome&& outcome)>;

// Hashes the file at each path with `algorithm` and hands its outcome, as ComputeDigests would
// give it for FileKinds::RegularOnly (the digest; not found; kNotRegularFile for anything that
// could make a lane wait; or the errno of a failed open or read), to `emit` on the calling
// thread in path order, each as soon as it and all before it are done. control.cancel stops the
// run (every outcome not yet complete is then Cancelled); control.progress gets the bytes read of
// all the files together and the sum of their sizes as looked up at the start, on the calling
// thread. Without lanes for the algorithm, the files go through ComputeDigests one after another.
// `sizes`: the files' sizes when the caller has looked them up, else empty.
void ComputeDigestsInLanes(std::span<const std::string> paths, Algorithm algorithm,
                           const HashControl& control, const OutcomeSink& emit,
                           std::span<const uint64_t> sizes = {});
