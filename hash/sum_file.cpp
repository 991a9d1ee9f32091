// Writing and parsing sum-file lines, following the rules of the coreutils *sum tools for GNU and
// BSD lines.
#include "sum_file.h"

#include <algorithm>
#include <cerrno>

#include "digest_text.h"

namespace {

bool IsWhite(char c) {
    return c == ' ' || c == '\t';
}

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The name as written after an optional leading backslash; none when it cannot be a name. An
// unescaped name ends at a zero byte, as in the coreutils tools (an escaped one cannot hold one).
std::optional<std::string> NameOf(std::string_view written, bool escaped) {
    if (escaped) return UnescapeName(written);
    return std::string(written.substr(0, written.find('\0')));
}

}  // namespace

bool NameNeedsEscape(std::string_view name) {
    return name.find_first_of("\\\n\r") != std::string_view::npos;
}

std::string EscapeName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::optional<std::string> UnescapeName(std::string_view escaped) {
    std::string out;
    out.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const char c = escaped[i];
        if (c == '\0') return std::nullopt;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == escaped.size()) return std::nullopt;
        switch (escaped[i]) {
            case '\\':
                out += '\\';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                return std::nullopt;
        }
    }
    return out;
}

std::size_t MaxDigestBytes(Algorithm algorithm) {
    return algorithm == Algorithm::Blake3 ? kMaxXofBytes : DigestLength(algorithm);
}

bool IsHexDigest(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsHex);
}

namespace {

constexpr std::string_view kBase64Digits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// A tag's length that no digest has.
constexpr std::size_t kNoLength = ~std::size_t{0};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

}  // namespace

std::string HexToBytes(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(HexValue(hex[i]) << 4 | HexValue(hex[i + 1]));
    return bytes;
}

std::string HexToBase64(std::string_view hex) {
    const std::string bytes = HexToBytes(hex);
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < n ? static_cast<uint8_t>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= n ? kBase64Digits[group >> (18 - 6 * k) & 63] : '=';
    }
    return out;
}

std::optional<std::string> Base64ToHex(std::string_view text) {
    if (text.empty() || text.size() % 4 != 0) return std::nullopt;
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        uint32_t group = 0;
        std::size_t digits = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const std::size_t value = kBase64Digits.find(text[i + k]);
            if (value == std::string_view::npos) {
                // Padding: only at the very end, after two digits at least.
                if (!last || text[i + k] != '=' || k < 2 ||
                    text.substr(i + k).find_first_not_of('=') != std::string_view::npos)
                    return std::nullopt;
                break;
            }
            group |= static_cast<uint32_t>(value) << (18 - 6 * k);
            ++digits;
        }
        const std::size_t n = digits - 1;  // whole bytes in this group
        // Canonical only: the bits beyond the last byte are zero, so one digest has one text.
        if (n < 3 && (group & ((uint32_t{1} << (24 - 8 * n)) - 1)) != 0) return std::nullopt;
        for (std::size_t k = 0; k < n; ++k) bytes += static_cast<char>(group >> (16 - 8 * k));
    }
    return DigestText(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::string TagFor(Algorithm algorithm, std::size_t digestBytes) {
    std::string tag(AlgorithmTag(algorithm));
    if (Facts(algorithm).variableLength && digestBytes != 0 &&
        digestBytes != DigestLength(algorithm))
        tag += "-" + std::to_string(8 * digestBytes);
    return tag;
}

std::string FormatSumLine(Algorithm algorithm, std::string_view hex, std::string_view name,
                          const SumLineStyle& style) {
    const std::string digest = style.base64 ? HexToBase64(hex) : std::string(hex);
    const char end = style.zeroTerminated ? '\0' : '\n';
    if (style.nameless) return digest + end;
    const bool escape = style.format != SumFormat::Sfv && !style.zeroTerminated &&
                        style.escapeNames && NameNeedsEscape(name);
    const std::string shown = escape ? EscapeName(name) : std::string(name);
    std::string line = escape ? "\\" : "";
    switch (style.format) {
        case SumFormat::Gnu:
            line += digest;
            line += style.binary ? " *" : "  ";
            line += shown;
            break;
        case SumFormat::Bsd:
            line += TagFor(algorithm, style.digestBytes);
            line += " (" + shown + ") = ";
            line += digest;
            break;
        case SumFormat::Sfv:
            line += shown + " ";
            line += digest;
            break;
    }
    line += end;
    return line;
}

SumLineParser::SumLineParser(SumLineRules lineRules) : rules(std::move(lineRules)) {}

bool SumLineParser::AcceptsTag(Algorithm algorithm) const {
    return rules.anyTag || std::find(rules.algorithms.begin(), rules.algorithms.end(), algorithm) !=
                               rules.algorithms.end();
}

SumLine SumLineParser::Parse(std::string_view line) {
    SumLine result;
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#' || (rules.sfv && line.front() == ';')) return result;

    std::optional<SumEntry> entry;
    if (rules.sfv) {
        entry = ParseSfv(line);
    } else {
        std::size_t at = 0;
        while (at < line.size() && IsWhite(line[at])) ++at;
        const bool escaped = at < line.size() && line[at] == '\\';
        if (escaped) ++at;
        // A known tag makes this a BSD line, well formed or not.
        if (const auto tag = MatchTag(line.substr(at))) {
            std::size_t i = at + tag->length;
            // A variable-length algorithm's tag may say its length in bits: "BLAKE2b-256".
            std::size_t tagBytes = 0;
            if (Facts(tag->algorithm).variableLength && i + 1 < line.size() && line[i] == '-') {
                std::size_t digits = i + 1, bits = 0;
                while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9' &&
                       bits <= 8 * MaxDigestBytes(tag->algorithm))
                    bits = 10 * bits + static_cast<std::size_t>(line[digits++] - '0');
                if (digits > i + 1) {
                    // A length no such digest has makes the line malformed: 0 bytes never fit.
                    tagBytes = bits % 8 == 0 && bits != 0 ? bits / 8 : kNoLength;
                    i = digits;
                }
            }
            // One blank before '(', or several as other tools pad their tags to one width.
            std::size_t blanks = 0;
            while (i + blanks < line.size() && line[i + blanks] == ' ') ++blanks;
            i += rules.exactTags ? std::min<std::size_t>(blanks, 1) : blanks;
            if (i < line.size() && line[i] == '(' && AcceptsTag(tag->algorithm))
                entry = ParseBsd(tag->algorithm, tagBytes, line.substr(i + 1), escaped);
            result.entry.candidates = {tag->algorithm};
        } else {
            entry = ParseGnu(line, at, escaped);
        }
    }
    if (entry) {
        result.kind = SumLine::Kind::Entry;
        result.entry = std::move(*entry);
    } else {
        result.kind = SumLine::Kind::Malformed;
    }
    return result;
}

std::optional<SumEntry> SumLineParser::ParseBsd(Algorithm algorithm, std::size_t tagBytes,
                                                std::string_view rest, bool escaped) {
    // The name ends at the last ')', so names may hold parentheses themselves.
    const std::size_t close = rest.rfind(')');
    if (close == std::string_view::npos) return std::nullopt;
    std::optional<std::string> name = NameOf(rest.substr(0, close), escaped);
    if (!name) return std::nullopt;
    std::size_t i = close + 1;
    while (i < rest.size() && IsWhite(rest[i])) ++i;
    if (i == rest.size() || rest[i] != '=') return std::nullopt;
    ++i;
    while (i < rest.size() && IsWhite(rest[i])) ++i;
    // The length the tag says, else (for a variable-length algorithm) the digest's own.
    const auto lengthOf = [&](const std::string& hex) -> std::size_t {
        std::size_t bytes = tagBytes != 0 ? tagBytes : DigestLength(algorithm);
        if (tagBytes == 0 && Facts(algorithm).variableLength) bytes = hex.size() / 2;
        return bytes != 0 && bytes <= MaxDigestBytes(algorithm) && hex.size() == 2 * bytes ? bytes
                                                                                           : 0;
    };
    // Hex first; base64 (which may consist of hex digits alone) when that does not fit.
    const std::string_view written = rest.substr(i);
    std::string digest(written);
    std::size_t bytes = IsHexDigest(written) ? lengthOf(digest) : 0;
    if (bytes == 0) {
        std::optional<std::string> decoded = Base64ToHex(written);
        if (!decoded || (bytes = lengthOf(*decoded)) == 0) return std::nullopt;
        digest = std::move(*decoded);
    }
    SumEntry entry{SumFormat::Bsd, {algorithm}, std::move(digest), std::move(*name)};
    entry.digestBytes = bytes == DigestLength(algorithm) ? 0 : bytes;
    return entry;
}

std::optional<SumEntry> SumLineParser::ParseGnu(std::string_view line, std::size_t at,
                                                bool escaped) {
    std::size_t end = at;
    while (end < line.size() && IsHex(line[end])) ++end;
    std::string digest(line.substr(at, end - at));
    std::size_t digestBytes = 0;
    std::vector<Algorithm> candidates = CandidatesOf(digest.size(), digestBytes);
    // Not hex of a length any candidate has: perhaps base64 (--base64 lines).
    if (candidates.empty() || (end < line.size() && !IsWhite(line[end]))) {
        end = at;
        while (end < line.size() && !IsWhite(line[end])) ++end;
        std::optional<std::string> decoded = Base64ToHex(line.substr(at, end - at));
        if (!decoded) return std::nullopt;
        digest = std::move(*decoded);
        candidates = CandidatesOf(digest.size(), digestBytes);
    }
    if (candidates.empty() || (rules.refuseAmbiguous && candidates.size() > 1)) return std::nullopt;
    // The digest, a separator and a name of one character at least.
    if (line.size() < end + 2 || !IsWhite(line[end])) return std::nullopt;
    std::size_t i = end + 1;

    if (line.size() - i == 1 || (line[i] != ' ' && line[i] != '*')) {
        // Old "DIGEST NAME" form. Not mixed with the usual one, so that a file renamed to start
        // with a space or '*' cannot pass for another.
        if (reversed == Reversed::No) return std::nullopt;
        reversed = Reversed::Yes;
    } else if (reversed != Reversed::Yes) {
        reversed = Reversed::No;
        ++i;  // the mode marker
    }

    std::optional<std::string> name = NameOf(line.substr(i), escaped);
    if (!name) return std::nullopt;
    SumEntry entry{SumFormat::Gnu, std::move(candidates), std::move(digest), std::move(*name)};
    entry.digestBytes = digestBytes;
    return entry;
}

std::vector<Algorithm> SumLineParser::CandidatesOf(std::size_t hexLength,
                                                   std::size_t& digestBytes) const {
    std::vector<Algorithm> candidates;
    for (Algorithm candidate : AlgorithmsOfTextLength(hexLength))
        if (std::find(rules.algorithms.begin(), rules.algorithms.end(), candidate) !=
            rules.algorithms.end())
            candidates.push_back(candidate);
    if (rules.named &&
        std::find(candidates.begin(), candidates.end(), *rules.named) != candidates.end())
        candidates = {*rules.named};
    digestBytes = 0;
    // A variable-length algorithm named for the run takes an untagged digest of any length, when
    // it is the only one that could.
    if (!candidates.empty() || !rules.anyLength || hexLength % 2 != 0 || hexLength == 0)
        return candidates;
    for (Algorithm a : rules.algorithms)
        if (Facts(a).variableLength && hexLength / 2 <= MaxDigestBytes(a)) candidates.push_back(a);
    if (candidates.size() != 1) return {};
    digestBytes = hexLength / 2;
    return candidates;
}

std::optional<SumEntry> SumLineParser::ParseSfv(std::string_view line) const {
    // The CRC is the last field; the name is all before the blanks in front of it.
    constexpr std::size_t kCrcLength = DigestTextLength(Algorithm::Crc32);
    if (line.size() < kCrcLength + 2) return std::nullopt;
    const std::string_view crc = line.substr(line.size() - kCrcLength);
    std::size_t nameEnd = line.size() - kCrcLength;
    if (!IsHexDigest(crc) || !IsWhite(line[nameEnd - 1])) return std::nullopt;
    while (nameEnd > 0 && IsWhite(line[nameEnd - 1])) --nameEnd;
    // SFV is no coreutils form: a zero byte in its name makes the line no entry, rather than a
    // name cut short that would not read back as written.
    if (nameEnd == 0 || line.substr(0, nameEnd).find('\0') != std::string_view::npos)
        return std::nullopt;
    std::optional<std::string> name = NameOf(line.substr(0, nameEnd), false);
    if (!name) return std::nullopt;
    return SumEntry{SumFormat::Sfv, {Algorithm::Crc32}, std::string(crc), std::move(*name)};
}

std::optional<std::string_view> LineReader::Next() {
    constexpr std::size_t kChunk = 64 * 1024;
    for (;;) {
        const std::size_t end = buffer.find('\n', begin + scanned);
        if (end != std::string::npos || (atEnd && begin < buffer.size())) {
            const std::size_t length = (end == std::string::npos ? buffer.size() : end + 1) - begin;
            const std::string_view line(buffer.data() + begin, length);
            begin += length;
            scanned = 0;
            return line;
        }
        if (atEnd) return std::nullopt;
        scanned = buffer.size() - begin;
        buffer.erase(0, begin);
        begin = 0;
        const std::size_t filled = buffer.size();
        buffer.resize(filled + kChunk);
        const std::ptrdiff_t got =
            bytes.Read(reinterpret_cast<uint8_t*>(buffer.data() + filled), kChunk, readError);
        buffer.resize(filled + static_cast<std::size_t>(std::max<std::ptrdiff_t>(got, 0)));
        if (got < 0) {
            buffer.clear();  // nothing more is handed out once reading has failed
            atEnd = true;
            if (readError == 0) readError = EIO;
        } else if (got == 0) {
            atEnd = true;
        }
    }
}

namespace {

constexpr std::string_view kSignedBegin = "-----BEGIN PGP SIGNED MESSAGE-----";
constexpr std::string_view kSignatureBegin = "-----BEGIN PGP SIGNATURE-----";

SumLineParser SfvParser(const SumLineRules& like) {
    SumLineRules rules = like;
    rules.sfv = true;
    return SumLineParser(rules);
}

std::string_view WithoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

bool Blank(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return IsWhite(c); });
}

}  // namespace

SumFileReader::SumFileReader(ByteSource& source, SumLineParser& lineParser, SumFileRules fileRules)
    : text(source), lines(lineParser), sfv(SfvParser(lineParser.Rules())), rules(fileRules) {
    if (!rules.signedWrapper) wrapper = Wrapper::None;
}

std::optional<NumberedSumLine> SumFileReader::Next() {
    for (;;) {
        std::optional<std::string_view> line = text.Next();
        if (!line || wrapper == Wrapper::Ended) return std::nullopt;
        ++number;
        if (!Unwrap(*line)) continue;
        NumberedSumLine numbered{number, Parse(*line)};
        if (numbered.line.kind != SumLine::Kind::Ignored) return numbered;
    }
}

bool SumFileReader::Unwrap(std::string_view& line) {
    const std::string_view bare = WithoutLineEnd(line);
    switch (wrapper) {
        case Wrapper::Undecided:
            if (Blank(bare)) return false;
            wrapper = bare == kSignedBegin ? Wrapper::Headers : Wrapper::None;
            return wrapper == Wrapper::None;
        case Wrapper::Headers:
            if (bare.empty()) wrapper = Wrapper::Body;
            return false;
        case Wrapper::Body:
            if (bare == kSignatureBegin) {
                wrapper = Wrapper::Ended;
                return false;
            }
            if (line.starts_with("- ")) line.remove_prefix(2);  // dash-escaped
            return true;
        case Wrapper::None:
        case Wrapper::Ended:
            break;
    }
    return true;
}

SumLine SumFileReader::Parse(std::string_view line) {
    if (format == Format::Sfv) return sfv.Parse(line);
    if (format == Format::GnuBsd || !rules.sfvAllowed) return lines.Parse(line);
    if (rules.preferSfv) {
        SumLine asSfv = sfv.Parse(line);
        if (asSfv.kind == SumLine::Kind::Entry) format = Format::Sfv;
        if (asSfv.kind != SumLine::Kind::Malformed) return asSfv;
    }
    SumLine parsed = lines.Parse(line);
    if (parsed.kind == SumLine::Kind::Entry) {
        format = Format::GnuBsd;
        return parsed;
    }
    if (rules.preferSfv) return parsed;
    SumLine asSfv = sfv.Parse(line);
    if (asSfv.kind == SumLine::Kind::Entry) format = Format::Sfv;
    // Until the format is known, ';' lines are taken for SFV comments.
    return asSfv.kind == SumLine::Kind::Malformed ? parsed : asSfv;
}

std::ptrdiff_t TextSource::Read(uint8_t* buffer, std::size_t capacity, int&) {
    const std::size_t n = std::min(capacity, left.size());
    std::copy_n(left.data(), n, buffer);
    left.remove_prefix(n);
    return static_cast<std::ptrdiff_t>(n);
}
