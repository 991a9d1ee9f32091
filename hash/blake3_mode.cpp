// BLAKE3's modes as values, and b3sum's key on standard input.
#include "blake3_mode.h"

#include <algorithm>
#include <cerrno>
#include <iterator>

#include "blake3.h"
#include "file_source.h"

namespace {

Blake3Mode ModeOf(const Blake3Context& context) {
    Blake3Mode mode;
    std::copy(std::begin(context.key), std::end(context.key), mode.key.begin());
    mode.flags = context.flags;
    return mode;
}

}  // namespace

Blake3Mode Blake3KeyedMode(const uint8_t key[32]) {
    Blake3Context context;
    Blake3InitKeyed(&context, key);
    return ModeOf(context);
}

Blake3Mode Blake3DeriveKeyMode(std::string_view contextString) {
    Blake3Context context;
    Blake3InitDeriveKey(&context, contextString.data(), contextString.size());
    return ModeOf(context);
}

void Blake3Start(Blake3Context* context, const Blake3Mode& mode) {
    if (mode.Plain())
        Blake3Init(context);
    else
        Blake3InitMode(context, mode.key.data(), mode.flags);
}

std::optional<Blake3Mode> ReadBlake3Key(ByteSource& source, std::size_t& found, int& error) {
    // One byte of room past the key tells a longer input from the key itself.
    uint8_t key[kBlake3KeySize + 1];
    found = 0;
    error = 0;
    while (found < sizeof key) {
        const std::ptrdiff_t got = source.Read(key + found, sizeof key - found, error);
        if (got < 0) {
            if (error == 0) error = EIO;
            return std::nullopt;
        }
        if (got == 0) break;
        found += static_cast<std::size_t>(got);
    }
    if (found != kBlake3KeySize) return std::nullopt;
    return Blake3KeyedMode(key);
}
