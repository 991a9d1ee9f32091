// Digest lines in every format, as md5sum 9.1 (GNU, BSD, -b, -z) and rhash 1.4.3 (SFV) wrote them
// for the same names.
#include "sum_format.h"

#include <gtest/gtest.h>

namespace {

TEST(SumFormat, EveryFormatModeAndEscape) {
    using F = SumFormat;
    const std::string md5 = "900150983cd24fb0d6963f7d28e17f72";
    const std::string crc = "352441c2";
    const struct {
        SumLineStyle style;
        std::string name;
        std::string expected;
    } cases[] = {
        {{F::Gnu, false, false}, "a", md5 + "  a\n"},
        {{F::Gnu, true, false}, "a", md5 + " *a\n"},
        {{F::Gnu, false, true}, "a", md5 + "  a" + '\0'},
        {{F::Gnu, false, false}, "b\\c", "\\" + md5 + "  b\\\\c\n"},
        {{F::Gnu, true, false}, "n\nl", "\\" + md5 + " *n\\nl\n"},
        {{F::Gnu, false, false}, "c\rr", "\\" + md5 + "  c\\rr\n"},
        {{F::Gnu, true, true}, "b\\c", md5 + " *b\\c" + '\0'},
        {{F::Gnu, false, true}, "n\nl", md5 + "  n\nl" + '\0'},
        {{F::Bsd, false, false}, "a", "MD5 (a) = " + md5 + "\n"},
        {{F::Bsd, true, false}, "n\nl", "\\MD5 (n\\nl) = " + md5 + "\n"},
        {{F::Bsd, false, true}, "b\\c", "MD5 (b\\c) = " + md5 + '\0'},
        {{F::Sfv, false, false}, "sp ace", "sp ace 900150983CD24FB0D6963F7D28E17F72\n"},
        {{F::Sfv, false, false}, "b\\c", "b\\c 900150983CD24FB0D6963F7D28E17F72\n"},
        {{F::Sfv, false, true},
         "n\nl",
         "n\nl 900150983CD24FB0D6963F7D28E17F72" + std::string(1, '\0')},
    };
    const Algorithm algorithm[] = {Algorithm::Md5};
    for (const auto& c : cases) {
        ASSERT_TRUE(CanWriteName(c.style, c.name));
        EXPECT_EQ(SumLines(c.style, algorithm, {md5}, c.name), c.expected) << c.name;
    }

    // Several algorithms: a line each, or one SFV line with every digest.
    const Algorithm two[] = {Algorithm::Crc32, Algorithm::Md5};
    EXPECT_EQ(SumLines({F::Bsd, false, false}, two, {crc, md5}, "a"),
              "CRC32 (a) = " + crc + "\nMD5 (a) = " + md5 + "\n");
    EXPECT_EQ(SumLines({F::Gnu, true, false}, two, {crc, md5}, "a"), crc + " *a\n" + md5 + " *a\n");
    EXPECT_EQ(SumLines({F::Sfv, false, false}, two, {crc, md5}, "a"),
              "a 352441C2 900150983CD24FB0D6963F7D28E17F72\n");
}

TEST(SumFormat, SfvRefusesNamesThatWouldNotReadBack) {
    for (const char* name : {"n\nl", "c\rr", "\n", "", "; x", "#x", "x ", "x\t"}) {
        EXPECT_FALSE(CanWriteName({SumFormat::Sfv, false, false}, name));
        EXPECT_TRUE(CanWriteName({SumFormat::Gnu, false, false}, name));
    }
}

}  // namespace
