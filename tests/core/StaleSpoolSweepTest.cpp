// The sweep of stale spools: a crashed host's spool and text index go; a live
// listing's (locked while its descriptors are open), and whatever is not
// plainly the component's own, stay.

#include "spool/StaleSpoolSweep.h"
#include "spool/SpoolFile.h"
#include "spool/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace quillet;
namespace fs = std::filesystem;

namespace {

using Names = std::set<std::string>;

class StaleSpoolSweepTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string folder = ::testing::TempDir() + "quillet-sweep-XXXXXX";
        ASSERT_TRUE(::mkdtemp(folder.data()));
        dir = folder + "/";
        if (const char *tmpdir = std::getenv("TMPDIR"))
            savedTmpdir = tmpdir;
        ::setenv("TMPDIR", dir.c_str(), 1);
    }
    void TearDown() override
    {
        if (savedTmpdir)
            ::setenv("TMPDIR", savedTmpdir->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        fs::remove_all(dir);
    }
    Names names() const
    {
        Names found;
        for (const auto &entry : fs::directory_iterator(dir))
            found.insert(entry.path().filename());
        return found;
    }

    std::string dir;
    std::optional<std::string> savedTmpdir;
};

TEST_F(StaleSpoolSweepTest, LeavesWhatIsNotPlainlyAStaleSpoolOfThisUser)
{
    enum Plant { File, Live, LinkToFile, SecondLink, Directory, Fifo, ForeignOwner };
    // clang-format off
    const struct {
        Plant plant;
        const char *name;
        int minimumAge;
        bool removed;
        const char *reason;
    } rows[] = {
        {File, "Prt07-aB3xY9.tmp", 0, true, "a crashed host's spool, of another day"},
        {File, "Prt31-txt-Zz09aQ.tmp", 0, true, "a crashed host's text index"},
        {File, "Prt07-aB3xY9.tmp", StaleSpoolMinimumAgeSeconds, false, "just created: its creator may not have locked it yet"},
        {Live, "", 0, false, "a live listing's spool and text index are locked, whatever their age"},
        {LinkToFile, "Prt07-aB3xY9.tmp", 0, false, "a planted link: neither it nor the file it names"},
        {SecondLink, "Prt07-aB3xY9.tmp", 0, false, "another name holds the same file"},
        {Directory, "Prt07-aB3xY9.tmp", 0, false, "not a regular file"},
        {Fifo, "Prt07-aB3xY9.tmp", 0, false, "not a regular file, nor one to wait on"},
        {ForeignOwner, "Prt07-aB3xY9.tmp", 0, false, "another user's"},
        {File, "Prt07-aB3xY9.tmp~", 0, false, "foreign names: another suffix"},
        {File, "QuilletSpoolTest-aB3xY9.tmp", 0, false, "another prefix"},
        {File, "Prt07-aB3xY.tmp", 0, false, "five unique characters"},
        {File, "Prt07-aB-xY9.tmp", 0, false, "a character mkostemps never puts"},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.reason);
        if (row.plant == ForeignOwner && ::geteuid() != 0) {
            std::cout << "[ SKIPPED  ] row \"" << row.reason << "\": only root can give a file away\n";
            continue;
        }
        const std::string path = dir + row.name;
        std::unique_ptr<SpoolFile> live;
        switch (row.plant) {
        case File:
        case ForeignOwner:
            std::ofstream(path) << "left";
            ASSERT_TRUE(row.plant == File || ::chown(path.c_str(), 65534, 65534) == 0); // to nobody
            break;
        case Live:
            live = SpoolFile::create(spoolPrefixForToday());
            ASSERT_TRUE(live && live->texts());
            break;
        case LinkToFile:
        case SecondLink:
            std::ofstream(dir + "victim") << "kept";
            if (row.plant == LinkToFile)
                fs::create_symlink(dir + "victim", path);
            else
                fs::create_hard_link(dir + "victim", path);
            break;
        case Directory:
            fs::create_directory(path);
            break;
        case Fifo:
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
            break;
        }
        const Names planted = names();
        sweepStaleSpools(dir, row.minimumAge);
        EXPECT_EQ(names(), row.removed ? Names{} : planted);
        for (const auto &entry : fs::directory_iterator(dir))
            fs::remove_all(entry.path());
    }
}

} // namespace
