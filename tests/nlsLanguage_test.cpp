#include <nls/nlsLanguage.h>
#include <platform/apWinLocale.h>

#include "nlsManagerTestSupport.h"

#include <cctype>
#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace {

struct Row {
    std::string iso, code_page; // as the Windows locale gives them
};

// The table's rows, found through the Windows locales: every locale whose name the table knows.
std::vector<Row> rows() {
    static std::vector<LCID> locales;
    locales.clear();
    EnumSystemLocalesW(
        [](LPWSTR hex) -> BOOL {
            locales.push_back(static_cast<LCID>(std::wcstoul(hex, nullptr, 16)));
            return TRUE;
        },
        LCID_SUPPORTED);
    std::vector<Row> found;
    for (LCID lcid : locales) {
        char iso[100], code_page[16];
        if (GetLocaleInfoU(lcid, LOCALE_SNAME, iso, sizeof iso) > 0 &&
            !nlsLanguage(iso).iso_name().empty() &&
            GetLocaleInfoU(lcid, LOCALE_IDEFAULTANSICODEPAGE, code_page, sizeof code_page) > 0)
            found.push_back({iso, code_page});
    }
    return found;
}

std::string with_case(std::string text, int (*change)(int)) {
    for (char& c : text)
        c = static_cast<char>(change(static_cast<unsigned char>(c)));
    return text;
}

TEST(nlsLanguage, RowsAreFoundByNameAndIsoNameInAnyCaseAndRoundTrip) {
    std::set<std::string> names, isos;
    for (const Row& row : rows()) {
        const nlsLanguage record(row.iso.c_str());
        const std::string name = record.name().c_str();
        EXPECT_EQ(record.iso_name(), utString(row.iso.c_str()));
        EXPECT_FALSE(record.akn_code().empty() || record.translated_name().empty()) << name;
        for (const std::string& asked :
             {with_case(name, ::toupper), with_case(name, ::tolower), with_case(row.iso, ::toupper),
              with_case(row.iso, ::tolower)}) {
            const nlsLanguage again(asked.c_str());
            EXPECT_EQ(again.name(), record.name()) << asked;
            EXPECT_EQ(again.iso_name(), record.iso_name()) << asked;
        }
        names.insert(name);
        isos.insert(row.iso);
    }
    EXPECT_EQ(names.size(), 17u); // each of the seventeen rows, with a Windows locale of its own
    EXPECT_EQ(isos.size(), 17u);
}

// Seen by the users of each row's own locale, and by a British user (code page 1252).
// The user's locale comes from the environment on POSIX: the fixture puts it back.
using LanguageForUser = nlstest::StateSavingTest;

TEST_F(LanguageForUser, CodePagesAreThoseOfTheWindowsLocaleForEachUser) {
    const std::vector<Row> all = rows();
    std::vector<Row> users = {{"en-GB", "1252"}};
    users.insert(users.end(), all.begin(), all.end());
    for (const Row& user : users) {
        nlstest::ScopedUser as(user.iso.c_str());
        if (!as.active()) continue;
        for (const Row& row : all)
            EXPECT_EQ(nlsLanguage(row.iso.c_str()).is_codepage_compatible(),
                      row.code_page == user.code_page)
                << user.iso << " " << row.iso;
    }
}

TEST_F(LanguageForUser, UnknownNamesKeepOnlyTheNameAndCompareExactly) {
    nlstest::ScopedUser british("en-GB");
    const std::string names[] = {"DEU", "Chinese simplified", " German", "English-GBR",
                                 std::string(10000, 'g')};
    for (const std::string& name : names) {
        nlsLanguage record(name.c_str());
        EXPECT_EQ(record.name().c_str(), name);
        EXPECT_TRUE(record.iso_name().empty() && record.akn_code().empty()) << name;
        EXPECT_FALSE(record.is_codepage_compatible()) << name;
        EXPECT_EQ(record.has_extension(), name == "English-GBR") << name;
    }
    EXPECT_TRUE(nlsLanguage(nullptr).empty());
    EXPECT_TRUE(nlsLanguage("Latin") != nlsLanguage("latin"));
    EXPECT_TRUE(nlsLanguage("Czech") != nlsLanguage("Slovak")); // same code, other name
}

TEST(nlsLanguage, ShortFormIsTheRecordOfTheNameBeforeTheHyphen) {
    const char* const cases[][3] = {
        {"English-GBR", "English", "en-US"},
        {"English - GBR", "English", "en-US"},
        {"Portuguese-BRA", "Portuguese", "pt-PT"},
        {"Chinese-TWN", "Chinese", ""},
        {"-GBR", "", ""},
    };
    for (const auto& c : cases) {
        const nlsLanguage shortened = nlsLanguage(c[0]).short_form();
        EXPECT_STREQ(shortened.name().c_str(), c[1]) << c[0];
        EXPECT_STREQ(shortened.iso_name().c_str(), c[2]) << c[0];
    }
}

} // namespace
