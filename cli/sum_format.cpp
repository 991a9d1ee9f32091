// Choosing the line style and writing one input's lines.
#include "sum_format.h"

#include <cctype>

SumLineStyle StyleOf(const Options& options) {
    SumLineStyle style;
    switch (options.format) {
        case LineFormat::Auto:
            style.format = options.algorithms.size() > 1 ? SumFormat::Bsd : SumFormat::Gnu;
            break;
        case LineFormat::Gnu:
            style.format = SumFormat::Gnu;
            break;
        case LineFormat::Bsd:
            style.format = SumFormat::Bsd;
            break;
        case LineFormat::Sfv:
            style.format = SumFormat::Sfv;
            break;
    }
    style.binary = options.fileMode == FileMode::Binary;
    style.zeroTerminated = options.zero;
    style.digestBytes = options.digestBytes;
    style.base64 = options.encoding == DigestEncoding::Base64;
    style.nameless = options.noNames;
    if (options.personality == Personality::Xxhsum) {
        // xxhsum writes names as they are, and XXH3 digests only with their tag: untagged, 16
        // digits would pass for XXH64.
        style.escapeNames = false;
        if (options.algorithms.front() == Algorithm::Xxh3) style.format = SumFormat::Bsd;
    }
    return style;
}

bool CanWriteName(const SumLineStyle& style, std::string_view name) {
    if (style.format != SumFormat::Sfv || style.zeroTerminated) return true;
    // Read back, a line break would end the line, ';' or '#' first make it a comment, and blanks
    // before the digest are not part of the name.
    return !name.empty() && name.find_first_of("\n\r") == std::string_view::npos &&
           name.front() != ';' && name.front() != '#' && name.back() != ' ' && name.back() != '\t';
}

std::string SumLines(const SumLineStyle& style, std::span<const Algorithm> algorithms,
                     const std::vector<std::string>& digests, std::string_view name) {
    if (style.format == SumFormat::Sfv) {
        // The one CRC-32 (options.cpp refuses any other), in upper case as SFV writers have
        // always written it.
        std::string upper;
        for (char c : digests.front())
            upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return FormatSumLine(algorithms.front(), upper, name, style);
    }
    std::string lines;
    for (std::size_t i = 0; i < algorithms.size(); ++i)
        lines += FormatSumLine(algorithms[i], digests[i], name, style);
    return lines;
}
