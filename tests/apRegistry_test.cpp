#include <platform/apRegistry.h>

#include "nlsTestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

class apRegistryTest : public testing::Test {
protected:
    nlstest::ScopedRegistry registry;
    std::string app = registry.key("Maker\\App"), maker = registry.key("Maker");
};

TEST_F(apRegistryTest, KeysAndValueNamesIgnoreLetterCase) {
    auto upper = [](std::string text) {
        for (char& c : text)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return text;
    };
    apRegistry writer(apHKEY_CURRENT_USER);
    ASSERT_NE(writer.create_key(app.c_str()), 0);
    EXPECT_NE(writer.create_key((upper(app) + "\\").c_str()), 0); // it exists already
    EXPECT_NE(writer.set_value_data(app.c_str(), "Language", apREG_STRING, "de"), 0);
    EXPECT_NE(writer.set_value_data(upper(app).c_str(), "LANGUAGE", apREG_STRING, "fr"), 0);

    apRegistry reader(apHKEY_CURRENT_USER);
    // A key exists with the keys above it; only whole names match.
    for (const std::string& key : {upper(app) + "\\", maker})
        EXPECT_EQ(reader.key_exists(key.c_str()), 1) << key;
    for (const std::string& key : {registry.key("Mak"), app + "s", app + "\\Sub"})
        EXPECT_EQ(reader.key_exists(key.c_str()), 0) << key;

    apValueType type = apREG_NONE;
    EXPECT_EQ(reader.value_exists(upper(app).c_str(), "language", type), 1);
    EXPECT_EQ(type, apREG_STRING);
    utString data;
    EXPECT_NE(reader.value_data(app.c_str(), "Language", data), 0);
    EXPECT_STREQ(data.c_str(), "fr");
    EXPECT_EQ(reader.value_exists(maker.c_str(), "Language", type), 0);
    EXPECT_EQ(type, apREG_NONE);
}

TEST_F(apRegistryTest, KeyNamesEndAtBackslashes) {
    apRegistry writer(apHKEY_CURRENT_USER);
    // Keys whose names begin as the app's does, and none of that name.
    for (const std::string& key : {app + "2", app + ".old"})
        ASSERT_NE(writer.create_key(key.c_str()), 0) << key;
    ASSERT_NE(writer.set_value_data((maker + "\\Dir\\").c_str(), "Name", apREG_STRING, "v"), 0);

    apRegistry reader(apHKEY_CURRENT_USER);
    EXPECT_EQ(reader.key_exists(app.c_str()), 0);
    utString data; // written with a trailing backslash, read without
    EXPECT_NE(reader.value_data((maker + "\\Dir").c_str(), "Name", data), 0);
    EXPECT_STREQ(data.c_str(), "v");
}

TEST_F(apRegistryTest, PathsThatNameNoKeyAreRefused) {
    apRegistry accessor(apHKEY_CURRENT_USER);
    for (const std::string& key :
         {std::string(""), std::string("\\"), "\\" + app, maker + "\\\\App"}) {
        EXPECT_EQ(accessor.create_key(key.c_str()), 0) << key;
        EXPECT_EQ(accessor.set_value_data(key.c_str(), "Language", apREG_STRING, "de"), 0) << key;
    }
    apValueType type;
    utString data;
    EXPECT_EQ(accessor.key_exists(maker.c_str()), 0);
    EXPECT_EQ(accessor.value_exists(maker.c_str(), "Language", type), 0);
    EXPECT_EQ(accessor.value_data(maker.c_str(), "Language", data), 0);
}

} // namespace
