// The check report's name escaping and shell quoting for messages, compatible with coreutils.
#include "escape.h"

#include <cstdio>

bool CheckNameNeedsEscape(std::string_view name) {
    return name.find('\n') != std::string_view::npos;
}

namespace {

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7f;
}

// Characters the shell would treat specially; '#' and '~' only at the start of a word. The
// colon is quoted too, so that "NAME: reason" cannot be misread.
bool NeedsQuoting(std::string_view name) {
    if (name.empty()) return true;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (IsControl(c)) return true;
        if ((c == '#' || c == '~') && i == 0) return true;
        if (std::string_view(" !\"$&'()*;<=>?[\\^`|:").find(static_cast<char>(c)) !=
            std::string_view::npos)
            return true;
    }
    return false;
}

void AppendControl(std::string& out, unsigned char c) {
    switch (c) {
        case '\a':
            out += "\\a";
            return;
        case '\b':
            out += "\\b";
            return;
        case '\f':
            out += "\\f";
            return;
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        case '\v':
            out += "\\v";
            return;
        default: {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", c);
            out += octal;
        }
    }
}

}  // namespace

std::string QuoteForMessage(std::string_view name) {
    if (!NeedsQuoting(name)) return std::string(name);

    bool hasControl = false;
    for (char c : name) hasControl = hasControl || IsControl(static_cast<unsigned char>(c));
    // A single quote alone reads best inside double quotes, when nothing else needs escaping there.
    if (!hasControl && name.find('\'') != std::string_view::npos &&
        name.find_first_of("\"$`\\!") == std::string_view::npos)
        return "\"" + std::string(name) + "\"";

    // Single-quoted, with each run of control characters as a $'...' part between quotes.
    std::string out = "'";
    for (std::size_t i = 0; i < name.size();) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (!IsControl(c)) {
            out += c == '\'' ? std::string("'\\''") : std::string(1, name[i]);
            ++i;
            continue;
        }
        out += "'$'";
        for (; i < name.size() && IsControl(static_cast<unsigned char>(name[i])); ++i)
            AppendControl(out, static_cast<unsigned char>(name[i]));
        out += "'";
        if (i == name.size()) return out;
        out += "'";
    }
    out += "'";
    return out;
}
