// The Windows backend: the registry accessor on values that other Windows programs write,
// GetLocaleInfoU on Windows' own locale data, and directories with wide names.

#include <platform/apFileFinder.h>
#include <platform/apRegistry.h>
#include <platform/apWinLocale.h>

#include "nlsTestSupport.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class apRegistryWindows : public testing::Test {
protected:
    nlstest::ScopedRegistry registry;
    std::string app = registry.key("App");

    void set(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        std::wstring key(app.begin(), app.end());
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, type, data, size),
                  ERROR_SUCCESS);
    }
};

TEST_F(apRegistryWindows, ReadsTextValuesAsWindowsStoresThem) {
    const wchar_t unterminated[] = {L'd', L'e'};
    const wchar_t expand[] = L"%TEMP%";
    const wchar_t accented[] = L"fran\u00E7ais";
    const wchar_t japanese[] = L"\u65E5\u672C";
    const DWORD number = 7;
    set(L"Unterminated", REG_SZ, unterminated, sizeof unterminated);
    set(L"Expand", REG_EXPAND_SZ, expand, sizeof expand);
    set(L"Accented", REG_SZ, accented, sizeof accented);
    set(L"Japanese", REG_SZ, japanese, sizeof japanese);
    set(L"Number", REG_DWORD, &number, sizeof number);

    apRegistry reader(apHKEY_CURRENT_USER);
    const char* texts[][2] = {{"Unterminated", "de"},
                              {"Expand", "%TEMP%"},
                              {"Accented", "fran\xE7"
                                           "ais"}};
    for (auto& text : texts) {
        utString data;
        EXPECT_NE(reader.value_data(app.c_str(), text[0], data), 0) << text[0];
        EXPECT_STREQ(data.c_str(), text[1]);
    }
    // Text that the ANSI code page cannot hold, and data that is no text, cannot be read.
    apValueType type = apREG_STRING;
    EXPECT_EQ(reader.value_exists(app.c_str(), "Number", type), 1);
    EXPECT_EQ(type, apREG_NONE);
    for (const char* name : {"Japanese", "Number"}) {
        utString data("kept");
        EXPECT_EQ(reader.value_data(app.c_str(), name, data), 0) << name;
        EXPECT_STREQ(data.c_str(), "kept");
    }
}

// A British user: code page 1252.
TEST(GetLocaleInfoU, GivesTextInTheAnsiCodePageOrNothing) {
    ASSERT_EQ(GetACP(), 1252u);
    char buffer[64] = "untouched";
    EXPECT_EQ(GetLocaleInfoU(0x040C, LOCALE_SNATIVELANGNAME, buffer, sizeof buffer), 9);
    EXPECT_STREQ(buffer, "fran\xE7"
                         "ais");
    // Japanese has no character in code page 1252: no text rather than question marks.
    EXPECT_EQ(GetLocaleInfoU(0x0411, LOCALE_SNATIVELANGNAME, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetLocaleInfoU(LOCALE_USER_DEFAULT, LOCALE_SABBREVCTRYNAME, buffer, sizeof buffer),
              4);
    EXPECT_STREQ(buffer, "GBR");
}

// The runner chooses each run's user through LC_ALL ("de_AT.UTF-8"): Windows must report that
// user, or the EachUser tests would run for nobody.
TEST(UserLocale, IsTheOneTheRunnerChoseForEachUser) {
    const char* chosen = std::getenv("LC_ALL");
    ASSERT_NE(chosen, nullptr);
    std::string expected(chosen, std::strcspn(chosen, "."));
    std::replace(expected.begin(), expected.end(), '_', '-');
    wchar_t user[LOCALE_NAME_MAX_LENGTH];
    ASSERT_GT(GetUserDefaultLocaleName(user, LOCALE_NAME_MAX_LENGTH), 0);
    EXPECT_EQ(std::wstring(user), std::wstring(expected.begin(), expected.end()));
}

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
