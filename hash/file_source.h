// Where a computation's bytes come from: a file opened by path, an open descriptor (standard
// input among them), or a stand-in a test provides.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `capacity` bytes into `buffer`: the count, 0 at the end, or -1 with `error` set to
    // the errno of the failure.
    virtual std::ptrdiff_t Read(uint8_t* buffer, std::size_t capacity, int& error) = 0;
    // The size of a regular file, known before reading; none for pipes, terminals and devices.
    virtual std::optional<uint64_t> Size() const { return std::nullopt; }
    // For one file on several threads at once: whether ReadAt works, for a regular file whose
    // Read has not moved from its start; ReadAt reads at `offset` without moving Read's position
    // (-1 with `error` set where it cannot: ESPIPE).
    virtual bool ReadsAtOffsets() const { return false; }
    virtual std::ptrdiff_t ReadAt(uint8_t* buffer, std::size_t capacity, uint64_t offset,
                                  int& error);

    // For engines that hash faster than the kernel copies: the bytes at [offset, offset + length)
    // of a regular file mapped into memory, handed to `use`, instead of copied. Where ReadAt works.
    enum class Mapped {
        Used,        // `use` saw every byte and returned true
        Stopped,     // `use` returned false
        Unmappable,  // nothing was mapped (`error` says why): read instead
        CutShort,    // the file lost bytes of the range while `use` ran: what it made of them is
                     // void (a page past the new end reads as zeros rather than ending the process)
    };
    using MappedUse = std::function<bool(const uint8_t* bytes, std::size_t length)>;
    // How much of a file one mapping covers. Whether mapping costs less than reading depends on
    // how the page cache holds the file (in large folios, as read-ahead leaves it, a mapping
    // costs next to nothing; in single pages, as a file just written, more than a copy), so the
    // first kMapTrials windows take turns, mapped and read, and the cheaper goes on; files
    // shorter than that are read.
    static constexpr std::size_t kMapWindow = std::size_t{16} << 20;
    static constexpr int kMapTrials = 4;
    static constexpr uint64_t kMapFrom = uint64_t{kMapTrials} * kMapWindow;
    virtual Mapped UseMapped(uint64_t offset, std::size_t length, const MappedUse& use, int& error);
};

// The turns of a file's first ByteSource::kMapTrials windows, mapped and read, and the choice
// they make: what a byte cost each way, its cheapest trial (the machine is shared); after them,
// windows go on mapped while mapping was no dearer.
class MapTrials {
public:
    static bool Timed(int window) { return window < ByteSource::kMapTrials; }
    static bool Reads(int window) { return Timed(window) && window % 2 == 1; }
    bool MapsOn(int window) const { return Timed(window) || mappedCost_ <= readCost_; }
    void Note(int window, double nanosecondsPerByte) {
        double& cost = Reads(window) ? readCost_ : mappedCost_;
        if (nanosecondsPerByte < cost) cost = nanosecondsPerByte;
    }

private:
    double mappedCost_ = 1e300, readCost_ = 1e300;
};

// Opens the file at `path` for reading; null, with `error` set to errno, when it cannot.
using FileOpener = std::function<std::unique_ptr<ByteSource>(const std::string& path, int& error)>;

// Which kinds of file an open accepts. Whatever the kind, opening never waits: a FIFO without a
// writer is waited for by its first read, as any read of a pipe waits.
enum class FileKinds {
    Any,          // what the user named: devices, FIFOs and folders too (a folder's read fails)
    NoFifo,       // the same but FIFOs, refused with ENXIO: no contents of their own to digest
    RegularOnly,  // what was looked up as a regular file, or must be one: anything else swapped
                  // in since is refused with kNotRegularFile
};
// The `error` of an open that FileKinds::RegularOnly refused; no errno has this value.
inline constexpr int kNotRegularFile = -1;
// What an `error` of a failed open or read says: strerror's text, or "not a regular file".
std::string FileErrorText(int error);

// The default opener. A path that names no file (empty, or cut short by a zero byte) is ENOENT.
// The kind is checked on the open descriptor, so nothing can be swapped in after the check.
std::unique_ptr<ByteSource> OpenFileSource(const std::string& path, int& error,
                                           FileKinds kinds = FileKinds::Any);
// The size of the regular file at `path`; none when it is something else or cannot be looked up
// (opening it will say why). Only a hint for scheduling: the open checks again.
std::optional<uint64_t> RegularFileSize(const std::string& path);
// The names in `folder` ("" is the working folder), at most the first `limit` entries read, in
// the order the folder gives them; empty when it cannot be read.
std::vector<std::string> FolderEntries(const std::string& folder, std::size_t limit);
// Every name in `folder` but "." and "..", in the order the system gives them; the errno of a
// failed listing, else 0.
int ListFolder(const std::string& folder, std::vector<std::string>& names);

// What a walk needs to know of a path.
struct FileFacts {
    enum class Type { Regular, Folder, Link, Other };
    Type type = Type::Other;
    uint64_t device = 0;
    uint64_t inode = 0;
};
// The facts of `path`, of a symbolic link itself unless `followLinks`; the errno on failure.
int LookUpFile(const std::string& path, bool followLinks, FileFacts& facts);
// How many more descriptors this process may open, leaving headroom for what else it opens (a
// list being read, a file re-read, the run's own pipes); at least 1.
std::size_t SpareDescriptors();
// Whether a failed open's `error` is the process or the system running out of descriptors:
// nothing about the file, so worth trying again once one is closed.
bool OutOfDescriptors(int error);

inline constexpr int kStandardInput = 0;  // its descriptor
// Whether standard input is a terminal (someone typing).
bool StandardInputIsTerminal();
// Reads an open descriptor from where it stands; the descriptor stays open.
std::unique_ptr<ByteSource> DescriptorSource(int fd);

// The CPU time the calling thread has used, in nanoseconds: for choosing by what each way of
// reading costs it.
uint64_t ThreadCpuNanoseconds();
