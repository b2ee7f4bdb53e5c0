#include <nls/nlsLanguage.h>
#include <platform/internal/apWinLocale.h>

#include "nlsManagerTestSupport.h"

#include <cctype>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Row {
    std::string iso, code_page, name; // the first two as the Windows locale gives them
};

// The table's rows, found through the Windows locales: every locale whose name the table knows.
std::vector<Row> rows() {
    static std::vector<Row> found;
    found.clear();
    EnumSystemLocalesW(
        [](LPWSTR hex) -> BOOL {
            const LCID lcid = static_cast<LCID>(std::wcstoul(hex, nullptr, 16));
            char iso[100], code_page[16];
            if (GetLocaleInfoU(lcid, LOCALE_SNAME, iso, sizeof iso) > 0 &&
                !nlsLanguage(iso).iso_name().empty() &&
                GetLocaleInfoU(lcid, LOCALE_IDEFAULTANSICODEPAGE, code_page, sizeof code_page) > 0)
                found.push_back({iso, code_page, nlsLanguage(iso).name().c_str()});
            return TRUE;
        },
        LCID_SUPPORTED);
    return found;
}

TEST(nlsLanguage, RowsAreFoundByNameAndIsoNameInAnyCase) {
    for (const Row& row : rows())
        for (std::string asked : {row.name, row.iso}) {
            for (char& c : asked)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            EXPECT_EQ(nlsLanguage(asked.c_str()).iso_name(), utString(row.iso.c_str())) << asked;
        }
}

using LanguageForUser = nlstest::StateSavingTest;

TEST_F(LanguageForUser, CodePagesAreThoseOfTheWindowsLocaleForEachUser) {
    std::vector<Row> all = rows(), users = all;
    users.push_back({"en-GB", "1252", ""}); // and a British user
    for (const Row& user : users) {
        nlstest::ScopedUser as(user.iso.c_str());
        for (const Row& row : all)
            EXPECT_TRUE(!as.active() || nlsLanguage(row.iso.c_str()).is_codepage_compatible() ==
                                            (row.code_page == user.code_page))
                << user.iso << " " << row.iso;
    }
}

// Unknown names keep only the name; the short form is the part before "-".
TEST_F(LanguageForUser, UnknownNamesAndShortForms) {
    nlstest::ScopedUser british("en-GB");
    for (const std::string& name : {std::string("DEU"), std::string(9999, 'g')}) {
        nlsLanguage record(name.c_str());
        EXPECT_TRUE(record.name().c_str() == name && record.iso_name().empty()) << name;
        EXPECT_FALSE(record.is_codepage_compatible());
    }
    EXPECT_STREQ(nlsLanguage("English - GBR").short_form().iso_name().c_str(), "en-US");
}

} // namespace
