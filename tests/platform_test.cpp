#include <platform/apFileFinder.h>
#include <platform/internal/apWinLocale.h>
#include <platform/utString.h>

#include "nlsManagerTestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(apFileFinder, ChecksPaths) {
    nlstest::TempDir dir;
    nlstest::write_file(dir / "German/LC_MESSAGES/app.mo", "x");
    nlstest::write_file(dir / "notes.txt", "x");

    for (const char* path : {"German", "German/LC_MESSAGES/app.mo", "French", "notes.txt/x"})
        EXPECT_EQ(apFileFinder::check_path_exists(utString((dir / path).c_str())) == apFILE_EXISTS,
                  path[0] == 'G')
            << path;
    EXPECT_STREQ(apPath(utString("/a/b//")).basename().c_str(), "b");
}

TEST(GetLocaleInfoU, ReadsAndWritesNothingBeyondTheCallersBuffers) {
    char buffer[16] = "xxxxxxxxxxxxxxx";
    EXPECT_EQ(GetLocaleInfoU(0x0809, LOCALE_SENGLANGUAGE, nullptr, 0), 8); // only the size needed
    EXPECT_EQ(GetLocaleInfoU(0x0809, LOCALE_SENGLANGUAGE, buffer, 7), 0);  // "English" needs 8
    EXPECT_EQ(std::string(buffer, sizeof buffer), std::string("\0xxxxxxxxxxxxxx", 16));
    EXPECT_EQ(GetLocaleInfoU(0x0809, LOCALE_SENGLANGUAGE, buffer, 8), 8);
    EXPECT_STREQ(buffer, "English");
    // Wide names: U+0165 must not pass for 'e', the character of its low byte.
    for (const std::wstring& name : {std::wstring(L"\u0165n-GB"), std::wstring(10000, L'e')})
        EXPECT_EQ(GetLocaleInfoEx(name.c_str(), LOCALE_SABBREVLANGNAME, nullptr, 0), 0);
}

} // namespace
