#include <platform/apFileFinder.h>

#include "nlsTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

TEST(apFileFinder, ChecksPathsAndEnumeratesDirectories) {
    nlstest::TempDir dir;
    nlstest::write_file(dir / "German/LC_MESSAGES/app.mo", "x");
    nlstest::write_file(dir / "notes.txt", "x");

    EXPECT_EQ(apFileFinder::check_path_exists(utString((dir / "German").c_str())), apFILE_EXISTS);
    EXPECT_EQ(
        apFileFinder::check_path_exists(utString((dir / "German/LC_MESSAGES/app.mo").c_str())),
        apFILE_EXISTS);
    EXPECT_NE(apFileFinder::check_path_exists(utString((dir / "French").c_str())), apFILE_EXISTS);
    EXPECT_NE(apFileFinder::check_path_exists(utString((dir / "notes.txt/x").c_str())),
              apFILE_EXISTS);

    apPath root(utString(dir.path().c_str()));
    std::vector<std::string> names;
    apFileFinderEx finder(root);
    while (++finder) {
        apPath entry = root.adjoin_ap(finder());
        names.push_back(std::string(entry.basename().c_str()) + (entry.is_directory() ? "/" : ""));
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"German/", "notes.txt"}));
    EXPECT_EQ(++finder, 0); // stays at the end

    apFileFinderEx missing(apPath(utString((dir / "none").c_str())));
    EXPECT_EQ(++missing, 0);
    EXPECT_STREQ(apPath(utString("/a/b//")).basename().c_str(), "b");
    EXPECT_STREQ(apPath(utString("/a/")).adjoin_ap(apFileName(utString("c"))).path().c_str(),
                 "/a/c");
}

} // namespace
