// File-name escaping in sums lines and quoting in messages, as the coreutils tools produce them
// (the expected texts were taken from sha256sum 9.1).
#include "escape.h"

#include <gtest/gtest.h>

namespace {

TEST(Escape, EscapesBackslashNewlineAndCarriageReturn) {
    const struct {
        std::string name, escaped;
        bool needs, checkNeeds;
    } cases[] = {
        {"plain name", "plain name", false, false},
        {"a\nb", "a\\nb", true, true},
        {"c\\d", "c\\\\d", true, false},
        {"e\rf", "e\\rf", true, false},
        {"p\\q\nr", "p\\\\q\\nr", true, true},
        {"\n", "\\n", true, true},
        {"tab\there", "tab\there", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NameNeedsEscape(c.name), c.needs) << c.escaped;
        EXPECT_EQ(CheckNameNeedsEscape(c.name), c.checkNeeds) << c.escaped;
        EXPECT_EQ(EscapeName(c.name), c.escaped);
        EXPECT_EQ(UnescapeName(c.escaped), c.name);
    }
}

TEST(Escape, RejectsUnknownSequences) {
    for (const std::string& bad :
         std::vector<std::string>{"a\\", "a\\t", "\\x41", std::string("a\0b", 3), "\\"})
        EXPECT_FALSE(UnescapeName(bad)) << bad;
    EXPECT_EQ(UnescapeName(""), "");
}

TEST(Escape, QuotesMessagesLikeCoreutils) {
    const struct {
        std::string name, quoted;
    } cases[] = {
        {"missing", "missing"},
        {"a{b}", "a{b}"},
        {"h~", "h~"},
        {"c#", "c#"},
        {"\xc3\xa9", "\xc3\xa9"},
        {"", "''"},
        {"g h", "'g h'"},
        {"a:b", "'a:b'"},
        {"x$y", "'x$y'"},
        {"~h", "'~h'"},
        {"#c", "'#c'"},
        {"a?b", "'a?b'"},
        {"a\\b", "'a\\b'"},
        {"a\"b", "'a\"b'"},
        {"it's", "\"it's\""},
        {"it's x", "\"it's x\""},
        {"a'b$c", "'a'\\''b$c'"},
        {"a\tb", "'a'$'\\t''b'"},
        {"a\n\nb", "'a'$'\\n\\n''b'"},
        {"\x01"
         "b",
         "''$'\\001''b'"},
        {"a\x01", "'a'$'\\001'"},
        {"a\x7f"
         "b",
         "'a'$'\\177''b'"},
        {"it's\nx", "'it'\\''s'$'\\n''x'"},
    };
    for (const auto& c : cases) EXPECT_EQ(QuoteForMessage(c.name), c.quoted) << c.name;
}

}  // namespace
