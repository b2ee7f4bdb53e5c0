// The registry accessor on values that Windows programs other than the library write.

#include <platform/apRegistry.h>

#include "nlsTestSupport.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

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

} // namespace
