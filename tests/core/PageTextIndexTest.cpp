// The page text index beside the spool: each page's texts written when the
// page ends or on demand, read back in order, private, deleted with the
// spool, and what a failed write leaves known.

#include "spool/SpoolFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <utility>
#include <vector>

using namespace quillet;

namespace {

using Pages = std::vector<std::pair<int, std::string>>;

Pages readBack(const PageTextIndex &index, bool *intact = nullptr)
{
    Pages pages;
    const bool read = index.reader().readPages([&](int page, std::string_view texts) {
        pages.emplace_back(page, std::string(texts));
        return true;
    });
    if (intact)
        *intact = read;
    return pages;
}

} // namespace

TEST(PageTextIndex, PagesComeBackInOrderAndGoWithTheSpool)
{
    auto spool = SpoolFile::create("QuilletIndexTest-");
    ASSERT_TRUE(spool && spool->texts());
    PageTextIndex &index = *spool->texts();
    struct stat info {};
    ASSERT_EQ(::stat(index.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    index.add(1, "Página 1");
    index.add(1, "");
    index.add(1, "dois");
    index.add(2, ""); // a page without texts writes nothing but is known
    EXPECT_EQ(index.completePages(), 1);
    index.add(3, "três");
    EXPECT_EQ(readBack(index), (Pages{{1, std::string("Página 1\0dois\0", 15)}}));
    index.flush(); // on demand, mid-page: the rest of page 3 comes in a second record
    index.add(3, "mais");
    index.flush();
    EXPECT_EQ(index.completePages(), 3);
    bool intact = false;
    EXPECT_EQ(readBack(index, &intact).size(), 3u);
    EXPECT_TRUE(intact);

    const std::string path = index.path();
    spool->remove();
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(PageTextIndex, AFailedWriteLeavesTheEarlierPagesKnownAndWritesNothingMore)
{
    auto index = PageTextIndex::create("QuilletIndexTest-");
    ASSERT_TRUE(index);
    index->add(1, "curto");
    index->add(2, std::string(4000, 'x'));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    index->add(3, "três"); // page 2 does not fit
    index->add(4, "quatro");
    index->flush();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);

    EXPECT_EQ(index->completePages(), 1);
    bool intact = false;
    EXPECT_EQ(readBack(*index, &intact), (Pages{{1, std::string("curto\0", 6)}}));
    EXPECT_TRUE(intact);
    index->remove();
}
