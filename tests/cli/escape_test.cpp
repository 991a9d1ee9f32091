// Names in check reports and error messages, escaped and quoted as the coreutils tools do it
// (the expected texts were taken from sha256sum 9.1).
#include "escape.h"

#include <gtest/gtest.h>

namespace {

TEST(Escape, CheckReportEscapesOnlyNamesWithANewline) {
    EXPECT_TRUE(CheckNameNeedsEscape("a\nb"));
    for (const char* name : {"plain", "c\\d", "e\rf"}) EXPECT_FALSE(CheckNameNeedsEscape(name));
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
