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
};

// Opens the file at `path` for reading; null, with `error` set to errno, when it cannot.
using FileOpener = std::function<std::unique_ptr<ByteSource>(const std::string& path, int& error)>;

// The default opener. A path that names no file (empty, or cut short by a zero byte) is ENOENT.
std::unique_ptr<ByteSource> OpenFileSource(const std::string& path, int& error);
inline constexpr int kStandardInput = 0;  // its descriptor
// Reads an open descriptor from where it stands; the descriptor stays open.
std::unique_ptr<ByteSource> DescriptorSource(int fd);
