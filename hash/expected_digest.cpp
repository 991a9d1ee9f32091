// Reading an expected digest out of a typed or copied text or a sum file's text.
#include "expected_digest.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsSpace(char c) {
    return IsBlank(c) || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// An algorithm's name in front of a digest, as web pages print it: "SHA256: ", "sha-1 ",
// "MD5=". Moves `text` past it.
std::optional<Algorithm> TakeAlgorithmName(std::string_view& text) {
    std::size_t i = 0;
    while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '-'))
        ++i;
    const std::optional<Algorithm> named = ParseAlgorithm(text.substr(0, i));
    if (!named) return std::nullopt;
    std::size_t j = i;
    while (j < text.size() && IsBlank(text[j])) ++j;
    if (j < text.size() && (text[j] == ':' || text[j] == '=')) ++j;
    while (j < text.size() && IsBlank(text[j])) ++j;
    if (j == i) return std::nullopt;  // "sha1abc" is not a name and a digest
    text.remove_prefix(j);
    return named;
}

// A digest alone: hex digits with blanks or colons between groups.
std::optional<ExpectedDigest> ParseBareDigest(std::string_view text) {
    const std::optional<Algorithm> named = TakeAlgorithmName(text);
    ExpectedDigest expected;
    for (char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c)))
            expected.digest += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!IsBlank(c) && c != ':')
            return std::nullopt;
    }
    const auto byLength = AlgorithmsOfTextLength(expected.digest.size());
    if (named) {
        if (DigestTextLength(*named) != expected.digest.size()) return std::nullopt;
        expected.candidates = {*named};
    } else {
        expected.candidates.assign(byLength.begin(), byLength.end());
    }
    if (expected.candidates.empty()) return std::nullopt;
    return expected;
}

SumLineRules EveryCandidate(bool sfv) {
    SumLineRules rules;
    rules.refuseAmbiguous = false;  // both SHA-256 and GOST are computed for 64 digits
    rules.sfv = sfv;
    return rules;
}

// One line in whichever form fits: the first parser's reading unless it has none.
std::optional<SumEntry> ParseAnyLine(SumLineParser& first, SumLineParser& second,
                                     std::string_view line) {
    SumLine parsed = first.Parse(line);
    if (parsed.kind != SumLine::Kind::Entry) parsed = second.Parse(line);
    if (parsed.kind != SumLine::Kind::Entry) return std::nullopt;
    return std::move(parsed.entry);
}

ExpectedDigest FromEntry(SumEntry entry) {
    ExpectedDigest expected;
    expected.digest = Lower(entry.digest);
    expected.candidates = std::move(entry.candidates);
    expected.listedName = std::move(entry.name);
    expected.digestBytes = entry.digestBytes;
    return expected;
}

bool NamesFile(std::string_view listed, std::string_view fileName) {
    if (listed.starts_with("./")) listed.remove_prefix(2);
    return listed == fileName;
}

// Of several lines for one name, the strongest algorithm's is the one checked.
int Strength(Algorithm algorithm) {
    return Facts(algorithm).strength;
}

struct SumTextEntry {
    SumEntry entry;
    bool signedWrapper = false;
};

std::optional<SumTextEntry> FindSumTextEntry(std::string_view text, std::string_view fileName,
                                             bool preferSfv) {
    TextSource source(text);
    SumLineParser lines(EveryCandidate(false));
    SumFileRules rules;
    rules.preferSfv = preferSfv;
    SumFileReader reader(source, lines, rules);
    std::optional<SumEntry> best;
    std::size_t entries = 0;
    while (std::optional<NumberedSumLine> read = reader.Next()) {
        if (read->line.kind != SumLine::Kind::Entry) continue;
        SumEntry& entry = read->line.entry;
        ++entries;
        if (fileName.empty()) {
            if (entries == 1) best = std::move(entry);
        } else if (NamesFile(entry.name, fileName) &&
                   (!best || Strength(entry.algorithm()) > Strength(best->algorithm()))) {
            best = std::move(entry);
        }
    }
    if (!best || (fileName.empty() && entries != 1)) return std::nullopt;
    return SumTextEntry{std::move(*best), reader.Signed()};
}

bool NarrowByFileName(std::vector<Algorithm>& candidates, std::string_view sumFileName) {
    if (const std::optional<Algorithm> named = AlgorithmOfSumFileName(sumFileName)) {
        if (std::find(candidates.begin(), candidates.end(), *named) != candidates.end())
            candidates = {*named};
        return true;
    }
    return !NamesForeignAlgorithm(sumFileName);
}

}  // namespace

std::optional<ExpectedDigest> ParseExpectedText(std::string_view text, std::string_view fileName,
                                                ExpectedSource source) {
    if (text.size() > kSumFileReadLimit) return std::nullopt;
    text = Trim(text);
    std::optional<ExpectedDigest> expected;
    if (text.find('\n') != std::string_view::npos) {
        if (source == ExpectedSource::Clipboard && fileName.empty()) return std::nullopt;
        expected = ExpectedFromSumText(text, fileName, {});
    } else if (!(expected = ParseBareDigest(text))) {
        SumLineParser gnu(EveryCandidate(false));
        SumLineParser sfv(EveryCandidate(true));
        if (auto entry = ParseAnyLine(gnu, sfv, text)) {
            const bool vague =
                source == ExpectedSource::Clipboard && !NamesFile(entry->name, fileName);
            if (!vague) expected = FromEntry(std::move(*entry));
        }
    }
    if (expected) expected->source = source;
    return expected;
}

std::optional<ExpectedDigest> ExpectedFromSumText(std::string_view text, std::string_view fileName,
                                                  std::string_view sumFileName, bool digestAlone) {
    const bool sfvName = Lower(sumFileName).ends_with(".sfv");
    std::optional<SumTextEntry> found = FindSumTextEntry(text, fileName, sfvName);
    if (!found && digestAlone) {
        std::optional<ExpectedDigest> bare = ParseBareDigest(Trim(text));
        if (!bare || !NarrowByFileName(bare->candidates, sumFileName)) return std::nullopt;
        bare->source = ExpectedSource::SumFile;
        bare->sumFileName = sumFileName;
        return bare;
    }
    if (!found) return std::nullopt;
    const bool tagged = found->entry.format == SumFormat::Bsd;
    ExpectedDigest expected = FromEntry(std::move(found->entry));
    // A tag names its algorithm; a bare length leans on the file's name.
    if (!NarrowByFileName(expected.candidates, sumFileName) && !tagged) return std::nullopt;
    expected.source = ExpectedSource::SumFile;
    expected.sumFileName = sumFileName;
    expected.signatureUnchecked = found->signedWrapper;
    return expected;
}
