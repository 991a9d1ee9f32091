// Hashing one input (a file by path, an open descriptor, or a text) with any set of algorithms in
// one pass. Files are read in large reads, on a thread of their own when that pays and the
// process's core budget grants a core; several engines are split into groups by cost over the
// cores granted. The engines see the input in slices of kSliceSize bytes; after each slice the
// progress observer hears of it and a set cancel flag stops the computation. Memory never depends
// on the input's size.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "algorithms.h"
#include "digester.h"
#include "file_source.h"

class CoreBudget;

inline constexpr std::size_t kSliceSize = 16000;
// Page-cached files copy faster per byte in large reads than in small ones.
inline constexpr std::size_t kReadSize = 16 * kSliceSize;
// Regular files below this size are read on the calling thread: starting threads would cost more
// than the overlap saves.
inline constexpr uint64_t kThreadsFrom = uint64_t{1} << 20;

// What to hash.
class HashInput {
public:
    static HashInput Path(std::string path, FileKinds kinds = FileKinds::Any);
    static HashInput Descriptor(int fd);  // read from where it stands; never closed
    // A command-line operand: "-" is standard input, anything else a path.
    static HashInput Operand(const std::string& name);
    static HashInput Text(std::string_view text);  // the text must outlive the computation

private:
    friend struct InputAccess;
    enum class Kind { Path, Descriptor, Text };
    Kind kind = Kind::Text;
    std::string path;
    FileKinds kinds = FileKinds::Any;
    int fd = -1;
    std::string_view text;
};

enum class HashStatus {
    Complete,    // the digests are there
    NotFound,    // the path names no file (ENOENT)
    OpenFailed,  // the file could not be opened: `error` (kNotRegularFile: not of the kinds asked)
    ReadFailed,  // a read failed part-way: `error`, after `bytesHashed` bytes
    Cancelled,   // the cancel flag was set, after `bytesHashed` bytes
};

// The digests of one input, one per algorithm in the order asked, or why there are none.
struct HashOutcome {
    HashStatus status = HashStatus::Complete;
    int error = 0;             // errno of the failed open or read
    uint64_t bytesHashed = 0;  // how much of the input the engines saw, failed or not
    std::vector<std::string> digests;
    bool ok() const { return status == HashStatus::Complete; }
    static HashOutcome Failure(HashStatus status, int error, uint64_t bytesHashed);
};

// Sees the bytes hashed so far and the expected total (0 when unknown).
using ProgressObserver = std::function<void(uint64_t done, uint64_t total)>;

// What a computation reports to and listens to; every part optional.
struct HashControl {
    ProgressObserver progress;  // called on the calling thread after each slice
    const std::atomic<bool>* cancel = nullptr;
    FileOpener opener;            // how a path is opened; OpenFileSource when empty
    CoreBudget* cores = nullptr;  // MachineCores() when null
    DigestForm form;  // -l of algorithms of variable length; b3sum --keyed, --derive-key
};

HashOutcome ComputeDigests(const HashInput& input, std::span<const Algorithm> algorithms,
                           const HashControl& control = {});

// cksum's checksums that are no digest (engines/classic_sums.h): the POSIX CRC, and the BSD and
// System V sums, each written as a number with the input's size.
enum class ClassicSum { None, Crc, Bsd, Sysv };
// One of them (not None) over an input opened and read as ComputeDigests would: the outcome's
// one digest is the value's bytes, most significant first (four for the CRC, two for the sums),
// and bytesHashed the input's size.
HashOutcome ComputeClassicSum(ClassicSum kind, const HashInput& input,
                              const HashControl& control = {});
// The same over a source that is already open.
HashOutcome ComputeDigests(ByteSource& source, std::span<const Algorithm> algorithms,
                           const HashControl& control = {});
