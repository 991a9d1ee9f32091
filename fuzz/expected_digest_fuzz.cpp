// Fuzz harness for expected digests: byte 0 chooses the file's name, the sum file's name and
// whether the rest is typed or copied text; the rest is read as that text and as a sum file's
// contents. Whatever comes out must be a lower-case digest of every candidate's length, and a
// sum file's entry must name the file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "expected_digest.h"

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "expected digest: %s\n", what);
        std::abort();
    }
}

void Check(const std::optional<ExpectedDigest>& expected) {
    if (!expected) return;
    Require(!expected->candidates.empty(), "no candidate");
    for (char c : expected->digest)
        Require((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'), "digest not lower-case hex");
    for (Algorithm a : expected->candidates)
        Require(expected->digest.size() == DigestTextLength(a), "digest length");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    constexpr std::string_view kFileNames[] = {"x.iso", "", "a\nb", "./x"};
    constexpr std::string_view kSumNames[] = {"SHA256SUMS", "x.iso.sfv", "b2sums.txt", ""};
    const std::string_view fileName = kFileNames[data[0] & 3];
    const std::string_view sumName = kSumNames[(data[0] >> 2) & 3];
    const ExpectedSource source =
        (data[0] & 16) != 0 ? ExpectedSource::Clipboard : ExpectedSource::Field;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    Check(ParseExpectedText(text, fileName, source));
    const auto fromSumFile = ExpectedFromSumText(text, fileName, sumName);
    Check(fromSumFile);
    if (fromSumFile && !fileName.empty()) {
        std::string_view listed = fromSumFile->listedName;
        if (listed.starts_with("./")) listed.remove_prefix(2);
        Require(listed == fileName, "entry for another file");
    }
    return 0;
}
