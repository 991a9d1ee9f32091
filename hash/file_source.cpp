// Files and descriptors as byte sources. The one place in hash/ that uses the operating system's
// file interface: descriptors, because standard input is one, and errno, because a failed open or
// read is reported by it.
#include "file_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

class DescriptorReader final : public ByteSource {
public:
    DescriptorReader(int descriptor, bool closeAtEnd) : fd(descriptor), owned(closeAtEnd) {
        struct stat info {};
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
            size = static_cast<uint64_t>(info.st_size);
        // Only advice, so the kernel reads further ahead; pipes and terminals refuse it.
        (void)posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    ~DescriptorReader() override {
        // Read-only: a failing close loses nothing.
        if (owned) close(fd);
    }
    DescriptorReader(const DescriptorReader&) = delete;
    DescriptorReader& operator=(const DescriptorReader&) = delete;

    std::ptrdiff_t Read(uint8_t* buffer, std::size_t capacity, int& error) override {
        for (;;) {
            const ssize_t got = read(fd, buffer, capacity);
            if (got >= 0) return got;
            if (errno != EINTR) {
                error = errno;
                return -1;
            }
        }
    }
    std::optional<uint64_t> Size() const override { return size; }
    // A descriptor given to us is read from where it stands, so only one we opened reads at.
    bool CanReadAt() const override { return owned && size.has_value(); }
    std::ptrdiff_t ReadAt(uint8_t* buffer, std::size_t capacity, uint64_t offset,
                          int& error) override {
        for (;;) {
            const ssize_t got = pread(fd, buffer, capacity, static_cast<off_t>(offset));
            if (got >= 0) return got;
            if (errno != EINTR) {
                error = errno;
                return -1;
            }
        }
    }

private:
    int fd;
    bool owned;
    std::optional<uint64_t> size;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileSource(const std::string& path, int& error) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        error = ENOENT;
        return nullptr;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    return std::make_unique<DescriptorReader>(fd, true);
}

std::unique_ptr<ByteSource> DescriptorSource(int fd) {
    return std::make_unique<DescriptorReader>(fd, false);
}
