// The ANSI code page as the output charset. The suite runs as a British user: code page 1252.

#include <nls/nlsLoadedDomain.h>
#include <platform/internal/apCharset.h>

#include "moWriter.h"
#include "nlsTestSupport.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(nlsLoadedDomainWindows, TranslationsComeInTheAnsiCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
    EXPECT_STREQ(ap_output_charset(), "CP1252");
    nlstest::TempDir dir;
    nlstest::write_file(dir / "utf8.mo",
                        nlstest::build_mo({{"", "Content-Type: text/plain; charset=UTF-8\n"},
                                           {"size", "Gr\u00f6\u00dfe 5 \u20ac"},
                                           {"japan", "\u65e5\u672c"},
                                           {"bad", "a\xff"}}));
    unsigned int code = 1;
    nlsLoadedDomain d(utString((dir / "utf8.mo").c_str()), &code);
    ASSERT_EQ(code, 0u);
    const char *size = "size", *japan = "japan", *bad = "bad";
    EXPECT_STREQ(d.converted(d.translate(size), nullptr, size), "Gr\xf6\xdf"
                                                                "e 5 \x80");
    EXPECT_STREQ(d.converted(d.translate(japan), nullptr, japan), "??");
    EXPECT_EQ(d.converted(d.translate(bad), nullptr, bad), bad);
    // UTF-8 asked for: the stored text.
    EXPECT_EQ(d.converted(d.translate(size), "UTF-8", size), d.translate(size));
}

} // namespace
