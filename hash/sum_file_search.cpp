// Sum files by name: the bounded read and the search of a file's folder.
#include "sum_file_search.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "file_source.h"

namespace {

// Up to kSumFileReadLimit bytes of a regular file; a line the limit cuts is left out, so a
// digest is never read short. None when the file cannot be read.
std::optional<std::string> ReadBounded(const std::string& path) {
    int openError = 0;
    // FIFOs and devices could block or never end; folders have no lines.
    const std::unique_ptr<ByteSource> source =
        OpenFileSource(path, openError, FileKinds::RegularOnly);
    if (!source) return std::nullopt;
    std::string text(kSumFileReadLimit, '\0');
    std::size_t filled = 0;
    while (filled < text.size()) {
        int readError = 0;
        const std::ptrdiff_t got = source->Read(reinterpret_cast<uint8_t*>(text.data() + filled),
                                                text.size() - filled, readError);
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    text.resize(filled);
    const std::optional<uint64_t> size = source->Size();
    if (filled == kSumFileReadLimit && (!size || *size > filled))
        text.resize(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
    return text;
}

}  // namespace

std::vector<std::string> SumFileNamesFor(std::string_view fileName) {
    std::array<Algorithm, kAlgorithmCount> strongestFirst = kAllAlgorithms;
    std::stable_sort(strongestFirst.begin(), strongestFirst.end(), [](Algorithm a, Algorithm b) {
        return Facts(a).strength > Facts(b).strength;
    });
    const auto eachWord = [](std::string_view words, auto add) {
        for (std::size_t at = 0; at < words.size();) {
            const std::size_t end = std::min(words.find(' ', at), words.size());
            if (end > at) add(words.substr(at, end - at));
            at = end + 1;
        }
    };
    std::vector<std::string> names;
    for (Algorithm algorithm : strongestFirst)
        eachWord(Facts(algorithm).sumFileEndings, [&](std::string_view ending) {
            names.push_back(std::string(fileName) += ending);
        });
    for (Algorithm algorithm : strongestFirst)
        eachWord(Facts(algorithm).sumFileNames,
                 [&](std::string_view name) { names.emplace_back(name); });
    // Lists of any algorithm, named for none.
    for (const char* shared : {"CHECKSUMS", "CHECKSUM", "checksums.txt"})
        names.emplace_back(shared);
    return names;
}

SumFileResult ReadSumFile(const std::string& sumPath, std::string_view fileName) {
    SumFileResult result;
    const std::optional<std::string> text = ReadBounded(sumPath);
    if (!text) return result;
    result.readable = true;
    const std::string sumName = std::filesystem::path(sumPath).filename().string();
    result.expected = ExpectedFromSumText(*text, fileName, sumName);
    return result;
}

std::optional<ExpectedDigest> FindSumFileBeside(const std::string& filePath) {
    const std::filesystem::path path(filePath);
    const std::string fileName = path.filename().string();
    if (fileName.empty()) return std::nullopt;
    for (const std::string& sumName : SumFileNamesFor(fileName)) {
        if (sumName == fileName) continue;  // a sum file is not its own witness
        if (auto expected = ReadSumFile((path.parent_path() / sumName).string(), fileName).expected)
            return expected;
    }
    return std::nullopt;
}
