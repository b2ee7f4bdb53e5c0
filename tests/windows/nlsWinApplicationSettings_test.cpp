#include "nlsSettingsProbe.h"
#include "nlsTestSupport.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>
#include <sddl.h>
#include <string>

namespace {

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

TEST(nlsWinApplicationSettingsWindows, KeysThatCannotBeOpenedGiveCode1AndLoseNothing) {
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
