// The Windows registry as the settings store: values as Windows programs write them, keys that
// cannot be opened.

#include <platform/apRegistry.h>

#include "nlsTestSupport.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <sddl.h>

namespace {

// Text values as other Windows programs store them; text the ANSI code page cannot hold, and
// data that is no text, cannot be read.
TEST(apRegistryWindows, ReadsTextValuesAsWindowsStoresThem) {
    nlstest::ScopedRegistry registry;
    const std::string app = registry.key("App");
    auto set = [&](const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, std::wstring(app.begin(), app.end()).c_str(),
                                  name, type, data, size),
                  ERROR_SUCCESS);
    };
    const wchar_t unterminated[] = {L'\u00E7', L'a'}, expand[] = L"%TEMP%", japanese[] = L"\u65E5";
    const DWORD number = 7;
    set(L"Unterminated", REG_SZ, unterminated, sizeof unterminated);
    set(L"Expand", REG_EXPAND_SZ, expand, sizeof expand);
    set(L"Japanese", REG_SZ, japanese, sizeof japanese);
    set(L"Number", REG_DWORD, &number, sizeof number);
    apRegistry reader(apHKEY_CURRENT_USER);
    const char* texts[][2] = {
        {"Unterminated", "\347a"}, {"Expand", "%TEMP%"}, {"Japanese", "kept"}, {"Number", "kept"}};
    for (auto& text : texts) {
        utString data("kept");
        EXPECT_EQ(reader.value_data(app.c_str(), text[0], data) != 0, text[1][0] != 'k') << text[0];
        EXPECT_STREQ(data.c_str(), text[1]);
    }
}

void restrict_key(const std::string& key, const wchar_t* sddl) {
    std::wstring wide(key.begin(), key.end());
    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, WRITE_DAC, &opened), ERROR_SUCCESS);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                     &descriptor, nullptr));
    EXPECT_EQ(RegSetKeySecurity(opened, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    LocalFree(descriptor);
    RegCloseKey(opened);
}

TEST(nlsWinApplicationSettingsWindows, KeysThatCannotBeOpenedGiveCode1) {
    nlstest::ScopedRegistry registry;
    const std::string key = registry.key("App");
    nlstest::SettingsProbe app(key.c_str());
    ASSERT_EQ(app.store_iso_name("de-DE"), nlsERROR_NONE);

    restrict_key(key, L"D:(A;;KR;;;WD)"); // read only
    EXPECT_EQ(app.store_iso_name("fr-FR"), nlsERROR_FAILED);
    EXPECT_EQ(app.read(), "de-DE");
    restrict_key(key, L"D:(D;;KA;;;WD)"); // no access at all
    EXPECT_EQ(app.read(nlsERROR_FAILED), "");
    restrict_key(key, L"D:(A;;KA;;;WD)"); // open again, and deletable at the end
    nlstest::SettingsProbe too_long((registry.key(std::string(300, 'k'))).c_str());
    EXPECT_EQ(too_long.store_iso_name("de-DE"), nlsERROR_FAILED); // too long a name for a key
    EXPECT_EQ(too_long.read(nlsERROR_FAILED), "");
}

} // namespace
