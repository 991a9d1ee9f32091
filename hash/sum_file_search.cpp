// Sum files by name: the bounded read and the search of a file's folder.
#include "sum_file_search.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <memory>

#include "file_source.h"

namespace {

struct BoundedText {
    std::string text;
    bool cut = false;
};

// Up to kSumFileReadLimit bytes of a regular file; a line the limit cuts is left out, so a
// digest is never read short. None, with `error` set (0 for not a regular file), when the file
// cannot be read.
std::optional<BoundedText> ReadBounded(const std::string& path, int& error) {
    // FIFOs and devices could block or never end; folders have no lines. The kind is checked on
    // the opened descriptor, so nothing can be swapped in after the check.
    const std::unique_ptr<ByteSource> source = OpenFileSource(path, error, FileKinds::RegularOnly);
    if (!source && error == kNotRegularFile) error = 0;
    if (!source) return std::nullopt;
    BoundedText read;
    std::string& text = read.text;
    text.assign(kSumFileReadLimit, '\0');
    std::size_t filled = 0;
    while (filled < text.size()) {
        const std::ptrdiff_t got = source->Read(reinterpret_cast<uint8_t*>(text.data() + filled),
                                                text.size() - filled, error);
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    text.resize(filled);
    const std::optional<uint64_t> size = source->Size();
    if (filled == kSumFileReadLimit && (!size || *size > filled)) {
        read.cut = true;
        text.resize(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
    }
    return read;
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// The algorithms, the strongest first: a file's own sum file of a stronger algorithm is preferred.
std::array<Algorithm, kAlgorithmCount> StrongestFirst() {
    std::array<Algorithm, kAlgorithmCount> strongest = kAllAlgorithms;
    std::stable_sort(strongest.begin(), strongest.end(), [](Algorithm a, Algorithm b) {
        return Facts(a).strength > Facts(b).strength;
    });
    return strongest;
}

// The sum files named after the file: "image.iso.sha256", and, since "image.iso" is often
// published as "image.sha256" or "image.sfv", the same endings on its name without extension.
std::vector<std::string> OwnSumFileNames(std::string_view fileName) {
    std::vector<std::string> names;
    const std::size_t dot = fileName.rfind('.');
    std::vector<std::string_view> stems = {fileName};
    if (dot != std::string_view::npos && dot > 0) stems.push_back(fileName.substr(0, dot));
    for (std::string_view stem : stems) {
        for (Algorithm algorithm : StrongestFirst())
            AnyWordOf(Facts(algorithm).sumFileEndings, [&](std::string_view ending) {
                names.push_back(std::string(stem) += ending);
                return false;
            });
    }
    return names;
}

// The names in `folder` that look like sum lists, in byte order, bounded both ways.
std::vector<std::string> ListedCandidates(const std::string& folder) {
    std::vector<std::string> names;
    for (const std::string& entry : FolderEntries(folder, kMaxFolderEntries))
        if (LooksLikeSumList(entry)) names.push_back(entry);
    std::sort(names.begin(), names.end());
    if (names.size() > kMaxListedCandidates) names.resize(kMaxListedCandidates);
    return names;
}

}  // namespace

std::vector<std::string> SumFileNamesFor(std::string_view fileName) {
    std::vector<std::string> names = OwnSumFileNames(fileName);
    for (Algorithm algorithm : StrongestFirst())
        AnyWordOf(Facts(algorithm).sumFileNames, [&](std::string_view name) {
            names.emplace_back(name);
            return false;
        });
    // Lists of any algorithm, named for none.
    for (const char* shared : {"CHECKSUMS", "CHECKSUM", "checksums.txt"})
        names.emplace_back(shared);
    return names;
}

bool LooksLikeSumList(std::string_view name) {
    const std::string upper = Upper(name);
    return upper.ends_with("CHECKSUM") || upper.ends_with("CHECKSUMS") || upper.ends_with("SUMS");
}

SumFileResult ReadSumFile(const std::string& sumPath, std::string_view fileName, bool ownFile) {
    SumFileResult result;
    const std::optional<BoundedText> read = ReadBounded(sumPath, result.error);
    if (!read) return result;
    result.readable = true;
    result.cut = read->cut;
    const std::size_t slash = sumPath.rfind('/');
    const std::string sumName = slash == std::string::npos ? sumPath : sumPath.substr(slash + 1);
    result.expected = ExpectedFromSumText(read->text, fileName, sumName, ownFile);
    return result;
}

BesideSearch SearchBeside(const std::string& filePath) {
    BesideSearch search;
    // Bytes as given: the folder is everything up to the last slash, the name what follows.
    const std::size_t slash = filePath.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : filePath.substr(0, slash + 1);
    const std::string fileName = slash == std::string::npos ? filePath : filePath.substr(slash + 1);
    if (fileName.empty()) return search;
    std::vector<std::string> names = SumFileNamesFor(fileName);
    const std::size_t ownCount = OwnSumFileNames(fileName).size();
    for (std::string& listed : ListedCandidates(folder)) {
        if (std::find(names.begin(), names.end(), listed) == names.end())
            names.push_back(std::move(listed));
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& sumName = names[i];
        if (sumName == fileName) continue;  // a sum file is not its own witness
        const SumFileResult read = ReadSumFile(folder + sumName, fileName, i < ownCount);
        if (read.expected) {
            search.expected = read.expected;
            return search;
        }
        if (!read.readable && read.error == ENOENT) continue;
        if (!read.readable)
            search.skipped.push_back(
                {sumName, read.error == 0 ? SumFileSkip::NotRegular : SumFileSkip::Unreadable,
                 read.error});
        else if (read.cut)
            search.skipped.push_back({sumName, SumFileSkip::PastBound, 0});
    }
    return search;
}
