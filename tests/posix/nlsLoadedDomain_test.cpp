// Catalogue files mapped only where nobody but the superuser can change them, the answers those
// of the file as it was loaded; what no catalogue is, refused at once.

#include <nls/nlsLoadedDomain.h>
#include <platform/internal/apCrtIo.h>

#include "nlsTestSupport.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kOld = nlstest::build_mo({{"", "Header"}, {"Cancel", "Abbrechen"}});
const std::string kNew = nlstest::build_mo({{"", "Header"}, {"Cancel", "Annuler"}});

std::unique_ptr<nlsLoadedDomain> load(const std::string& path, unsigned int expected = 0) {
    unsigned int code = 0;
    auto domain = std::make_unique<nlsLoadedDomain>(utString(path.c_str()), &code);
    EXPECT_EQ(code, expected) << path;
    return domain;
}

TEST(CatalogueImage, MappedOnlyWhereNobodyButTheSuperuserCanChangeTheFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "files of other owners need the superuser";
    const struct {
        const char* name;
        uid_t owner;
        mode_t mode;
        bool mapped;
    } rows[] = {
        {"installed by a package", 0, 0644, true},     {"read-only for everyone", 0, 0444, true},
        {"its group may write", 0, 0664, false},       {"others may write", 0, 0646, false},
        {"another user's, read-only", 1, 0444, false}, // its owner may make it writable
    };
    nlstest::TempDir dir;
    for (const auto& row : rows) {
        const std::string path = dir / row.name;
        nlstest::write_file(path, kOld);
        ASSERT_EQ(::chown(path.c_str(), row.owner, 0) | ::chmod(path.c_str(), row.mode), 0);
        auto domain = load(path);
        EXPECT_EQ(domain->mapped, row.mapped ? 1u : 0u) << row.name;
        EXPECT_STREQ(domain->translate("Cancel"), "Abbrechen") << row.name;
    }
}

TEST(CatalogueImage, MappedFileReplacedByRenameKeepsAnsweringFromTheOldFile) {
    nlstest::TempDir dir;
    const std::string path = dir / "test.mo", next = dir / "next.mo";
    nlstest::write_file(path, kOld);
    apCrtSeam map_all; // whoever runs the test
    map_all.mappable = [](int) { return true; };
    ap_set_crt_seam(&map_all);
    auto old = load(path);
    ap_set_crt_seam(nullptr);
    ASSERT_EQ(old->mapped, 1u);
    nlstest::write_file(next, kNew);
    ASSERT_EQ(std::rename(next.c_str(), path.c_str()), 0);
    EXPECT_STREQ(old->translate("Cancel"), "Abbrechen");
    EXPECT_STREQ(load(path)->translate("Cancel"), "Annuler");
}

// A plain open of a FIFO would wait for a writer for ever.
TEST(CatalogueImage, FifoOrDeviceIsRefusedAtOnce) {
    nlstest::TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo.mo").c_str(), 0600), 0);
    ::alarm(10); // ends the process should the open wait
    for (const std::string& path : {dir / "fifo.mo", std::string("/dev/zero")})
        EXPECT_EQ(load(path, nlsERROR_CATALOG_STAT)->failed, 1u);
    ::alarm(0);
}

} // namespace
