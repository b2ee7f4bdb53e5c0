// Directories on Windows: wide names in, names of the ANSI code page out.

#include <platform/apFileFinder.h>

#include "nlsTestSupport.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A British user: code page 1252.
TEST(apFileFinderWindows, ListsOnlyNamesThatTheAnsiCodePageHoldsExactly) {
    nlstest::TempDir dir;
    const std::wstring root(dir.path().begin(), dir.path().end());
    // "Catálogos" is in code page 1252; Japanese is not, and neither is an a with a macron,
    // whose best fit ("German") must not stand in for it.
    for (const wchar_t* name : {L"Cat\u00E1logos", L"\u65E5\u672C", L"Germ\u0101n"})
        ASSERT_TRUE(CreateDirectoryW((root + L"\\" + name).c_str(), nullptr));
    apFileFinderEx finder(apPath(utString(dir.path().c_str())));
    std::vector<std::string> names;
    while (++finder)
        names.push_back(finder().name().c_str());
    EXPECT_EQ(names, std::vector<std::string>{"Cat\xE1logos"});
    EXPECT_EQ(apFileFinder::check_path_exists(utString((dir / "Cat\xE1logos").c_str())),
              apFILE_EXISTS);
    EXPECT_EQ(apFileFinder::check_path_exists(utString((dir / "German").c_str())),
              apFILE_NOT_FOUND);
    EXPECT_STREQ(apPath(utString("C:\\nls\\German\\")).basename().c_str(), "German");
    EXPECT_STREQ(apPath(utString("C:German")).basename().c_str(), "German");
}

} // namespace
