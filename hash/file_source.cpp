// Files and descriptors as byte sources. The one place in hash/ that uses the operating system's
// file interface: descriptors, because standard input is one, and errno, because a failed open or
// read is reported by it.
#include "file_source.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>

namespace {

// The mapped windows in use, for the bus-error handler: touching a page of a mapping that lies
// wholly past its file's end (the file was cut short meanwhile) raises SIGBUS, which would end the
// process. The handler puts zeros in place of the rest of the window and marks it cut.
struct GuardedWindow {
    std::atomic<bool> taken{false};
    std::atomic<uintptr_t> begin{0};  // 0 while not in use
    std::atomic<uintptr_t> end{0};
    std::atomic<bool> cut{false};
};
GuardedWindow guardedWindows[32];
struct sigaction busActionBefore {};
uintptr_t pageSize = 4096;

void OnBusError(int signal, siginfo_t* info, void* context) {
    const auto at = reinterpret_cast<uintptr_t>(info->si_addr);
    for (GuardedWindow& window : guardedWindows) {
        const uintptr_t begin = window.begin.load(std::memory_order_acquire);
        const uintptr_t end = window.end.load(std::memory_order_relaxed);
        if (begin == 0 || at < begin || at >= end) continue;
        const uintptr_t page = at & ~(pageSize - 1);
        if (mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
                 MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
            window.cut.store(true, std::memory_order_relaxed);
            return;
        }
        break;
    }
    // Not a window's fault: whatever was there before us handles it.
    if (busActionBefore.sa_handler == SIG_DFL || busActionBefore.sa_handler == SIG_IGN) {
        // Back to the default; the access repeats and ends the process as it would have.
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        sigaction(SIGBUS, &fallback, nullptr);
    } else if ((busActionBefore.sa_flags & SA_SIGINFO) != 0) {
        busActionBefore.sa_sigaction(signal, info, context);
    } else {
        busActionBefore.sa_handler(signal);
    }
}

bool GuardMappings() {
    static std::once_flag once;
    static bool installed = false;
    std::call_once(once, [] {
        const long page = sysconf(_SC_PAGESIZE);
        if (page > 0) pageSize = static_cast<uintptr_t>(page);
        struct sigaction ours {};
        ours.sa_sigaction = OnBusError;
        ours.sa_flags = SA_SIGINFO;
        sigemptyset(&ours.sa_mask);
        installed = sigaction(SIGBUS, &ours, &busActionBefore) == 0;
    });
    return installed;
}

GuardedWindow* TakeWindow() {
    for (GuardedWindow& window : guardedWindows) {
        bool expected = false;
        if (window.taken.compare_exchange_strong(expected, true, std::memory_order_acquire))
            return &window;
    }
    return nullptr;
}

bool ClearNonBlocking(int fd, int& error) {
    // Of the flags F_SETFL sets, the open asked only for O_NONBLOCK: one call clears it.
    if (fcntl(fd, F_SETFL, 0) < 0) {
        error = errno;
        return false;
    }
    return true;
}

class DescriptorReader final : public ByteSource {
public:
    // `waitForWriter`: a FIFO opened without waiting, still non-blocking; its first read waits.
    DescriptorReader(int descriptor, bool closeAtEnd, const struct stat& info, bool waitForWriter)
        : fd(descriptor), owned(closeAtEnd), pending(waitForWriter) {
        if (S_ISREG(info.st_mode)) {
            size = static_cast<uint64_t>(info.st_size);
            atStart = lseek(fd, 0, SEEK_CUR) == 0;  // a descriptor may come part-read
        }
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
        if (pending && !AwaitWriter(error)) return -1;
        for (;;) {
            const ssize_t got = read(fd, buffer, capacity);
            readFrom = true;
            if (got >= 0) return got;
            if (errno != EINTR) {
                error = errno;
                return -1;
            }
        }
    }
    std::optional<uint64_t> Size() const override { return size; }
    bool ReadsAtOffsets() const override { return atStart && !readFrom; }

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

    Mapped UseMapped(uint64_t offset, std::size_t length, const MappedUse& use,
                     int& error) override {
        if (!size) {
            error = ENODEV;
            return Mapped::Unmappable;
        }
        if (length == 0) return Mapped::Used;
        GuardedWindow* window = GuardMappings() ? TakeWindow() : nullptr;
        if (window == nullptr) {
            error = EBUSY;
            return Mapped::Unmappable;
        }
        const uint64_t start = offset & ~uint64_t{pageSize - 1};
        const auto lead = static_cast<std::size_t>(offset - start);
        const std::size_t span = lead + length;
        void* base = mmap(nullptr, span, PROT_READ, MAP_SHARED, fd, static_cast<off_t>(start));
        if (base == MAP_FAILED) {
            error = errno;
            window->taken.store(false, std::memory_order_release);
            return Mapped::Unmappable;
        }
        // Only advice: read ahead further, and drop the pages behind sooner.
        (void)madvise(base, span, MADV_SEQUENTIAL);
        const auto begin = reinterpret_cast<uintptr_t>(base);
        window->cut.store(false, std::memory_order_relaxed);
        window->end.store(begin + ((span + pageSize - 1) & ~(pageSize - 1)),
                          std::memory_order_relaxed);
        window->begin.store(begin, std::memory_order_release);
        const bool whole = use(static_cast<const uint8_t*>(base) + lead, length);
        window->begin.store(0, std::memory_order_release);
        const bool cut = window->cut.load(std::memory_order_relaxed);
        munmap(base, span);
        window->taken.store(false, std::memory_order_release);
        // A file cut inside the window's last page reads as zeros there, with no fault.
        struct stat info {};
        if (cut ||
            (fstat(fd, &info) == 0 && static_cast<uint64_t>(info.st_size) < offset + length)) {
            error = EIO;
            return Mapped::CutShort;
        }
        return whole ? Mapped::Used : Mapped::Stopped;
    }

private:
    // Until a writer has written or gone (a FIFO never written to reads as empty only then), as a
    // blocking open would have waited; then reads block as usual.
    bool AwaitWriter(int& error) {
        pollfd watch{fd, POLLIN, 0};
        while (poll(&watch, 1, -1) < 0) {
            if (errno != EINTR) {
                error = errno;
                return false;
            }
        }
        pending = false;
        return ClearNonBlocking(fd, error);
    }

    int fd;
    bool owned;
    bool pending;
    std::optional<uint64_t> size;
    bool atStart = false;
    bool readFrom = false;
};

}  // namespace

std::ptrdiff_t ByteSource::ReadAt(uint8_t*, std::size_t, uint64_t, int& error) {
    error = ESPIPE;
    return -1;
}

ByteSource::Mapped ByteSource::UseMapped(uint64_t, std::size_t, const MappedUse&, int& error) {
    error = ENODEV;
    return Mapped::Unmappable;
}

std::string FileErrorText(int error) {
    return error == kNotRegularFile ? "not a regular file" : std::strerror(error);
}

std::unique_ptr<ByteSource> OpenFileSource(const std::string& path, int& error, FileKinds kinds) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        error = ENOENT;
        return nullptr;
    }
    // Non-blocking, so that a FIFO without a writer (or a device that waits) cannot hold the open;
    // the kind is then known from the descriptor itself.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        error = errno;
        close(fd);
        return nullptr;
    }
    const bool fifo = S_ISFIFO(info.st_mode);
    if ((kinds == FileKinds::RegularOnly && !S_ISREG(info.st_mode)) ||
        (kinds == FileKinds::NoFifo && fifo)) {
        error = kinds == FileKinds::NoFifo ? ENXIO : kNotRegularFile;
        close(fd);
        return nullptr;
    }
    if (!fifo && !ClearNonBlocking(fd, error)) {
        close(fd);
        return nullptr;
    }
    return std::make_unique<DescriptorReader>(fd, true, info, fifo);
}

bool StandardInputIsTerminal() {
    return isatty(kStandardInput) == 1;
}

std::optional<uint64_t> RegularFileSize(const std::string& path) {
    struct stat info {};
    if (path.find('\0') != std::string::npos || stat(path.c_str(), &info) != 0 ||
        !S_ISREG(info.st_mode))
        return std::nullopt;
    return static_cast<uint64_t>(info.st_size);
}

std::size_t SpareDescriptors() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return SIZE_MAX;
    // Descriptors in use: counted where the system lists them, else assumed to be the usual three.
    std::size_t used = 3;
    if (DIR* fds = opendir("/proc/self/fd")) {
        used = 0;
        while (const dirent* entry = readdir(fds))
            if (entry->d_name[0] != '.') ++used;
        closedir(fds);
        used = used > 0 ? used - 1 : 0;  // the listing's own
    }
    const auto cap = static_cast<std::size_t>(limit.rlim_cur);
    // A quarter of the limit, at most 64, stays free for everything else this process opens.
    const std::size_t headroom = std::min<std::size_t>(64, cap / 4) + 2;
    return cap > used + headroom ? cap - used - headroom : 1;
}

bool OutOfDescriptors(int error) {
    return error == EMFILE || error == ENFILE;
}

std::unique_ptr<ByteSource> DescriptorSource(int fd) {
    struct stat info {};
    if (fstat(fd, &info) != 0) info.st_mode = 0;
    return std::make_unique<DescriptorReader>(fd, false, info, false);
}

int ListFolder(const std::string& folder, std::vector<std::string>& names) {
    DIR* stream = opendir(folder.c_str());
    if (stream == nullptr) return errno;
    int error = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(stream);
        if (entry == nullptr) {
            error = errno;
            break;
        }
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    closedir(stream);
    return error;
}

int LookUpFile(const std::string& path, bool followLinks, FileFacts& facts) {
    struct stat info {};
    if ((followLinks ? stat(path.c_str(), &info) : lstat(path.c_str(), &info)) != 0) return errno;
    facts.type = S_ISREG(info.st_mode)   ? FileFacts::Type::Regular
                 : S_ISDIR(info.st_mode) ? FileFacts::Type::Folder
                 : S_ISLNK(info.st_mode) ? FileFacts::Type::Link
                                         : FileFacts::Type::Other;
    facts.device = info.st_dev;
    facts.inode = info.st_ino;
    return 0;
}

std::vector<std::string> FolderEntries(const std::string& folder, std::size_t limit) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return names;
    while (names.size() < limit) {
        const dirent* entry = readdir(dir);
        if (entry == nullptr) break;
        names.emplace_back(entry->d_name);
    }
    closedir(dir);
    return names;
}

uint64_t ThreadCpuNanoseconds() {
    timespec now{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) != 0) return 0;
    return static_cast<uint64_t>(now.tv_sec) * 1'000'000'000u + static_cast<uint64_t>(now.tv_nsec);
}
