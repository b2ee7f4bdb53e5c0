// The ANSI code page as the output charset. The suite runs as a British user: code page 1252.

#include <nls/nlsLoadedDomain.h>
#include <platform/internal/apCharset.h>

#include "nlsTestSupport.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

TEST(nlsLoadedDomainWindows, TranslationsComeInTheAnsiCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
    EXPECT_STREQ(ap_output_charset(), "CP1252");
    nlstest::TempDir dir;
    nlstest::write_file(dir / "c.mo",
                        nlstest::build_mo({{"", "Content-Type: text/plain; charset=UTF-8"},
                                           {"size", "Gr\u00f6\u00dfe 5 \u20ac \u65e5"},
                                           {"bad", "a\xff"}}));
    unsigned int code = 1;
    nlsLoadedDomain d(utString((dir / "c.mo").c_str()), &code);
    const char *size = "size", *bad = "bad";
    EXPECT_STREQ(d.converted(d.translate(size), nullptr, size), "Gr\xf6\xdf\x65 5 \x80 ?");
    EXPECT_EQ(d.converted(d.translate(bad), nullptr, bad), bad);
    EXPECT_EQ(d.converted(d.translate(size), "UTF-8", size), d.translate(size)); // as stored
}
