// What only POSIX has: a FIFO at a catalogue's path, which a plain open would wait on for ever.

#include "nlsManagerTestSupport.h"

#include <string>
#include <sys/stat.h>
#include <unistd.h>

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
    EXPECT_EQ(reports.take().at(1), "NLS Error: Could not stat the catalog");
    EXPECT_EQ(asserts.reports().size(), 1u);
}

} // namespace
