// The check report's name escaping and shell quoting for messages, compatible with coreutils.
#include "escape.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <vector>

bool CheckNameNeedsEscape(std::string_view name) {
    return name.find('\n') != std::string_view::npos;
}

namespace {

// Which bytes a terminal could not show as they are: controls, and in the locale's character set
// (setlocale in main) bytes of no valid character or of one that is not printable.
std::vector<bool> Unprintable(std::string_view name) {
    std::vector<bool> hidden(name.size(), false);
    std::mbstate_t state{};
    for (std::size_t i = 0; i < name.size();) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x80) {
            hidden[i++] = c < 0x20 || c == 0x7f;
            continue;
        }
        wchar_t wide = 0;
        const std::size_t length = std::mbrtowc(&wide, name.data() + i, name.size() - i, &state);
        if (length == 0 || length > name.size() - i) {  // invalid or cut short: this byte alone
            state = std::mbstate_t{};
            hidden[i++] = true;
            continue;
        }
        const bool shown = std::iswprint(static_cast<wint_t>(wide)) != 0;
        for (std::size_t k = 0; k < length; ++k) hidden[i + k] = !shown;
        i += length;
    }
    return hidden;
}

// Characters the shell would treat specially; '#' and '~' only at the start of a word. The
// colon is quoted too, so that "NAME: reason" cannot be misread.
bool NeedsQuoting(std::string_view name, const std::vector<bool>& hidden) {
    if (name.empty()) return true;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (hidden[i]) return true;
        if ((c == '#' || c == '~') && i == 0) return true;
        if (std::string_view(" !\"$&'()*;<=>?[\\^`|:").find(c) != std::string_view::npos)
            return true;
    }
    return false;
}

void AppendEscaped(std::string& out, unsigned char c) {
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
    const std::vector<bool> hidden = Unprintable(name);
    if (!NeedsQuoting(name, hidden)) return std::string(name);

    const bool anyHidden = std::find(hidden.begin(), hidden.end(), true) != hidden.end();
    const std::size_t quote = name.find('\'');
    // A single quote alone reads best inside double quotes, when nothing else needs escaping there.
    if (!anyHidden && quote != std::string_view::npos &&
        name.find_first_of("\"$`\\!") == std::string_view::npos)
        return "\"" + std::string(name) + "\"";

    // Single-quoted, with each run of hidden bytes as a $'...' part between quotes. The coreutils
    // tools begin with an empty '' when a quote comes before a hidden last byte.
    std::string out = quote != std::string_view::npos && quote > 0 && hidden.back() ? "'''" : "'";
    bool inEscape = false;  // within $'...'
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (hidden[i]) {
            if (!inEscape) out += "'$'";
            inEscape = true;
            AppendEscaped(out, static_cast<unsigned char>(name[i]));
        } else if (name[i] == '\'') {
            out += "'\\''";  // closes either kind of quoting and opens a plain one
            inEscape = false;
        } else {
            if (inEscape) out += "''";
            inEscape = false;
            out += name[i];
        }
    }
    out += "'";
    return out;
}
