// Writing digest lines in the three formats.
#include "sum_format.h"

#include <cctype>

#include "escape.h"

LineStyle StyleOf(const Options& options) {
    LineStyle style;
    style.format = options.format;
    if (style.format == LineFormat::Auto)
        style.format = options.algorithms.size() > 1 ? LineFormat::Bsd : LineFormat::Gnu;
    style.binary = options.fileMode == FileMode::Binary;
    style.zero = options.zero;
    return style;
}

bool CanWriteName(const LineStyle& style, std::string_view name) {
    return style.format != LineFormat::Sfv || style.zero ||
           name.find_first_of("\n\r") == std::string_view::npos;
}

std::string SumLines(const LineStyle& style, std::span<const Algorithm> algorithms,
                     const std::vector<std::string>& digests, std::string_view name) {
    const char end = style.zero ? '\0' : '\n';
    const bool escape = !style.zero && NameNeedsEscape(name);
    std::string lines;
    if (style.format == LineFormat::Sfv) {
        lines = name;
        // SFV readers expect upper-case digits, as SFV writers have always written them.
        for (const std::string& digest : digests) {
            lines += ' ';
            for (char c : digest) lines += static_cast<char>(std::toupper(c));
        }
        lines += end;
        return lines;
    }
    const std::string shown = escape ? EscapeName(name) : std::string(name);
    for (std::size_t i = 0; i < algorithms.size(); ++i) {
        if (escape) lines += '\\';
        if (style.format == LineFormat::Bsd) {
            lines += AlgorithmTag(algorithms[i]);
            lines += " (" + shown + ") = " + digests[i];
        } else {
            lines += digests[i];
            lines += style.binary ? " *" : "  ";
            lines += shown;
        }
        lines += end;
    }
    return lines;
}
