// Names in check reports and error messages, escaped and quoted as the coreutils tools do it
// (the expected texts were taken from sha256sum 9.1).
#include "escape.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

TEST(Escape, CheckReportEscapesOnlyNamesWithANewline) {
    EXPECT_TRUE(CheckNameNeedsEscape("a\nb"));
    for (const char* name : {"plain", "c\\d", "e\rf"}) EXPECT_FALSE(CheckNameNeedsEscape(name));
}

TEST(Escape, QuotesMessagesLikeCoreutils) {
    // In a UTF-8 locale, as corvane-sum takes its locale's: bytes of no character are escaped.
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
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
        {"caf\xe9", "'caf'$'\\351'"},
        {"a\xc0\xaf", "'a'$'\\300\\257'"},
        {"x\n'y", "'x'$'\\n'\\''y'"},
        {"a'b\n", "'''a'\\''b'$'\\n'"},
        {"'\n", "''\\'''$'\\n'"},
    };
    for (const auto& c : cases) EXPECT_EQ(QuoteForMessage(c.name), c.quoted) << c.name;
    // In the C locale no byte above 127 is a character.
    ASSERT_NE(std::setlocale(LC_CTYPE, "C"), nullptr);
    EXPECT_EQ(QuoteForMessage("\xc3\xa9"), "''$'\\303\\251'");
}

}  // namespace
