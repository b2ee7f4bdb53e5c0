#pragma once

// The registry-backed display-language setting with its text-level steps open to the tests,
// which the POSIX and the Windows tests of the store share.

#include <nls/nlsErrorData.h>
#include <nls/nlsWinApplicationSettings.h>

#include <gtest/gtest.h>
#include <string>

namespace nlstest {

struct SettingsProbe : nlsWinApplicationSettings {
    using nlsWinApplicationSettings::nlsWinApplicationSettings;
    using nlsWinApplicationSettings::store_iso_name;
    /// The stored language, expecting the read to give `code`.
    std::string read(unsigned int code = nlsERROR_NONE) const {
        utString stored("not read");
        EXPECT_EQ(read_stored_language(stored), code);
        return stored.c_str();
    }
};

} // namespace nlstest
