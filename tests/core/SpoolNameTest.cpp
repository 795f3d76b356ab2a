// Where the spool file lives and how it is named and created.

#include "spool/SpoolFile.h"
#include "spool/TempDir.h"

#include "support/RowName.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <sys/stat.h>

using namespace quillet;

namespace {

using quillet::testing::PrintTo; // rows print as their names

/// Sets or unsets TMPDIR for one test and puts the old value back.
class ScopedTmpDir {
public:
    explicit ScopedTmpDir(const char *value)
    {
        if (const char *old = std::getenv("TMPDIR"))
            m_saved = old;
        if (value)
            setenv("TMPDIR", value, 1);
        else
            unsetenv("TMPDIR");
    }
    ~ScopedTmpDir()
    {
        if (m_saved)
            setenv("TMPDIR", m_saved->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

private:
    std::optional<std::string> m_saved;
};

struct TempDirRow {
    const char *name;
    const char *tmpdir; ///< nullptr: unset
    const char *expected;
};

class TempDirFromEnvironment : public ::testing::TestWithParam<TempDirRow> {};

TEST_P(TempDirFromEnvironment, EndsInASlash)
{
    ScopedTmpDir env(GetParam().tmpdir);
    EXPECT_EQ(TempDir(), GetParam().expected);
}

const TempDirRow tempDirRows[] = {
    {"Unset", nullptr, "/tmp/"},
    {"Empty", "", "/tmp/"},
    {"WithoutTrailingSlash", "/var/tmp", "/var/tmp/"},
    {"WithTrailingSlash", "/var/tmp/", "/var/tmp/"},
    {"Root", "/", "/"},
};
INSTANTIATE_TEST_SUITE_P(Tmpdir, TempDirFromEnvironment, ::testing::ValuesIn(tempDirRows),
                         quillet::testing::RowName());

class SpoolName : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/quillet-name-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string dir; ///< a private temporary directory, without trailing slash
};

std::string todayTwoDigits()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char day[3];
    std::strftime(day, sizeof day, "%d", &local);
    return day;
}

TEST_F(SpoolName, PrefixIsPrtAndTheDayOfTheMonth)
{
    EXPECT_EQ(spoolPrefixForToday(), "Prt" + todayTwoDigits() + "-");
}

TEST_F(SpoolName, IsCreatedPrivatelyInTempDirUnderAUniqueName)
{
    ScopedTmpDir env(dir.c_str());
    auto first = SpoolFile::create(spoolPrefixForToday());
    auto second = SpoolFile::create(spoolPrefixForToday());
    ASSERT_TRUE(first && second);

    const std::filesystem::path path = first->path();
    EXPECT_EQ(path.parent_path(), dir);
    EXPECT_TRUE(std::regex_match(path.filename().string(), std::regex("Prt[0-9]{2}-.+"))) << path.filename();
    EXPECT_EQ(path.filename().string().substr(3, 2), todayTwoDigits());
    EXPECT_NE(first->path(), second->path());

    struct stat info {};
    ASSERT_EQ(stat(first->path().c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "other users must not read the listing";

    first->remove();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(std::filesystem::exists(second->path())) << "removing one spool leaves the other";
    second->remove();
}

TEST_F(SpoolName, HandleIsNotInheritedByChildProcesses)
{
    // A print helper started while the listing is open must not keep the
    // (later deleted) spool file alive or readable.
    ScopedTmpDir env(dir.c_str());
    auto spool = SpoolFile::create(spoolPrefixForToday());
    ASSERT_TRUE(spool);
    const int flags = fcntl(spool->handle(), F_GETFD);
    EXPECT_TRUE(flags >= 0 && (flags & FD_CLOEXEC)) << "flags " << flags;
    spool->remove();
}

TEST_F(SpoolName, ManySpoolFilesNeverShareAName)
{
    ScopedTmpDir env(dir.c_str());
    std::vector<std::unique_ptr<SpoolFile>> spools;
    std::set<std::string> names;
    for (int i = 0; i < 50; ++i) {
        spools.push_back(SpoolFile::create("Prt01-"));
        ASSERT_TRUE(spools.back());
        names.insert(spools.back()->path());
    }
    EXPECT_EQ(names.size(), spools.size());
    for (auto &spool : spools)
        spool->remove();
}

TEST_F(SpoolName, MissingTempDirGivesNoSpool)
{
    ScopedTmpDir env((dir + "/does-not-exist").c_str());
    EXPECT_EQ(SpoolFile::create(spoolPrefixForToday()), nullptr);
}

} // namespace
