// The sweep of stale spools: a crashed host's spool and text index go; a live
// listing's, and whatever is not plainly the component's own, stay.

#include "spool/StaleSpoolSweep.h"
#include "spool/SpoolFile.h"
#include "spool/TempDir.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <system_error>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace quillet;
namespace fs = std::filesystem;

namespace {

using Names = std::set<std::string>;

TEST(StaleSpoolSweepTest, LeavesWhatIsNotPlainlyAStaleSpoolOfThisUser)
{
    const TemporaryFolder folder; // the temporary directory while the test runs
    const fs::path dir = folder.path();
    const auto names = [&] {
        Names found;
        for (const auto &entry : fs::directory_iterator(dir))
            found.insert(entry.path().filename().string());
        return found;
    };
    enum Plant { File, Live, LinkToFile, SecondLink, Directory, Fifo, ForeignOwner };
    // clang-format off
    const struct { Plant plant; const char *name; int minimumAge; bool removed;
                   const char *reason; } rows[] = {
        {File, "Prt07-aB3xY9.tmp", 0, true, "a crashed host's spool, of another day"},
        {File, "Prt31-txt-Zz09aQ.tmp", 0, true, "a crashed host's text index"},
        {File, "PRT07-TXT-AB3XY9.TMP", 0, true, "named in capitals, as a file system without case may give it"},
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
        const fs::path path = dir / row.name;
        std::unique_ptr<SpoolFile> live;
        std::error_code error;
        const char *cannotPlant = nullptr;
        switch (row.plant) {
        case File:
            std::ofstream(path) << "left";
            break;
        case Live:
            live = SpoolFile::create(spoolPrefixForToday());
            ASSERT_TRUE(live && live->texts());
            break;
        case LinkToFile:
        case SecondLink:
            std::ofstream(dir / "victim") << "kept";
            if (row.plant == LinkToFile)
                fs::create_symlink(dir / "victim", path, error);
            else
                fs::create_hard_link(dir / "victim", path, error);
#ifdef _WIN32
            if (error)
                cannotPlant = "Windows lets only some users make links";
#else
            ASSERT_FALSE(error) << error.message();
#endif
            break;
        case Directory:
            fs::create_directory(path);
            break;
#ifdef _WIN32
        case Fifo:
        case ForeignOwner:
            cannotPlant = row.plant == Fifo ? "Windows has no fifos" : "no second user to give a file to";
            break;
#else
        case Fifo:
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
            break;
        case ForeignOwner:
            std::ofstream(path) << "left";
            if (::geteuid() != 0)
                cannotPlant = "only root can give a file away";
            else
                ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0); // to nobody
            break;
#endif
        }
        if (cannotPlant) {
            std::cout << "[ SKIPPED  ] row \"" << row.reason << "\": " << cannotPlant << "\n";
        } else {
            const Names planted = names();
            sweepStaleSpools(dir, row.minimumAge);
            EXPECT_EQ(names(), row.removed ? Names{} : planted);
        }
        for (const auto &entry : fs::directory_iterator(dir))
            fs::remove_all(entry.path());
    }
}

} // namespace
