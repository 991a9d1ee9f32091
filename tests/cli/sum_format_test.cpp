// corvane-sum's own lines beside the GNU and BSD ones (those are compared with md5sum in the
// end-to-end tests): SFV as rhash 1.4.3 writes it, several algorithms per input in the other
// styles, and the names an SFV line cannot hold.
#include "sum_format.h"

#include <gtest/gtest.h>

namespace {

TEST(SumFormat, SfvAndSeveralAlgorithms) {
    const std::string md5 = "900150983cd24fb0d6963f7d28e17f72";
    const std::string crc = "352441c2";
    const Algorithm two[] = {Algorithm::Crc32, Algorithm::Md5};
    const SumLineStyle sfv = {SumFormat::Sfv, false, false};
    const struct {
        SumLineStyle style;
        std::string name, expected;
    } cases[] = {
        {sfv, "sp ace", "sp ace 352441C2\n"},
        {sfv, "b\\c", "b\\c 352441C2\n"},
        {{SumFormat::Sfv, false, true}, "n\nl", "n\nl 352441C2" + std::string(1, '\0')},
        {{SumFormat::Bsd, false, false}, "a", "CRC32 (a) = " + crc + "\nMD5 (a) = " + md5 + "\n"},
        {{SumFormat::Gnu, true, false}, "a", crc + " *a\n" + md5 + " *a\n"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(CanWriteName(c.style, c.name));
        const std::size_t count = c.style.format == SumFormat::Sfv ? 1 : 2;  // SFV: CRC-32 only
        EXPECT_EQ(SumLines(c.style, {two, count}, {crc, md5}, c.name), c.expected) << c.name;
    }
    for (const char* name : {"n\nl", "c\rr", "", "; x", "#x", "x ", "x\t"}) {
        EXPECT_FALSE(CanWriteName(sfv, name)) << name;
        EXPECT_TRUE(CanWriteName({SumFormat::Gnu, false, false}, name));
    }
}

}  // namespace
