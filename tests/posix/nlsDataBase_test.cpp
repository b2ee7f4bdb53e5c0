// What only POSIX has: a FIFO at a catalogue's path, which a plain open would wait on for ever.

#include "nlsManagerTestSupport.h"

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using DatabaseFile = nlstest::ManagerTest;

TEST_F(DatabaseFile, FifoAtTheCataloguePathIsRefusedAtOnce) {
    nlstest::ScopedEnv german("LANG", "German");
    const std::string path = dir / "German/LC_MESSAGES/editor.mo";
    nlstest::write_file(path, "");
    ASSERT_EQ(::unlink(path.c_str()), 0);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    ::alarm(10); // ends the process should the open wait for a writer
    nlstest::AssertCapture asserts;
    nlstest::DataBase db(dir.path().c_str(), "editor");
    ::alarm(0);
    EXPECT_EQ(reports.take(),
              (std::vector<std::string>{
                  "NLS Error: Could not stat the catalog",
                  "NLS Warning: Catalog <editor> failed to load for language <German>"}));
    EXPECT_EQ(asserts.reports(),
              std::vector<std::string>{"nls/nlsDataBase:492: nlsDataBase failed - "
                                       "with error 9 in nlsDataBase::error (0)"});
}

} // namespace
