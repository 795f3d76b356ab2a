#include "support/TestSession.h"

#include "render/PageRenderer.h"
#include "render/SetupSurface.h"
#include "spool/PageReader.h"

namespace quillet::testing {

TestSession::TestSession(ListingMode mode, double borderMm) : printer(210, 297, borderMm)
{
    ListingState &s = session.state;
    session.printer = &printer;
    session.pageSurface = &pageSurface;
    s.Surface = &printer.surface();
    if (mode == ListingMode::Preview) {
        session.spool = SpoolFile::create("QuilletTest-");
        s.Surface = &pageSurface;
        s.Preview = s.Spooling = true;
        s.PageIndex = {1};
    }
    SetupSurface(session);
    composer.ListingDefaults();
}

TestSession::~TestSession()
{
    if (session.spool)
        session.spool->remove();
}

std::vector<SpoolRecord> TestSession::records()
{
    std::vector<SpoolRecord> all;
    if (session.spool)
        for (session.spool->seek(1); auto record = session.spool->read();)
            all.push_back(std::move(*record));
    return all;
}

std::vector<SpoolRecord> TestSession::pageRecords(int page)
{
    std::vector<SpoolRecord> onPage;
    if (session.spool && page >= 1 && page <= static_cast<int>(session.state.PageIndex.size()))
        forEachRecordOfPage(*session.spool, session.state.PageIndex, page,
                            [&onPage](const SpoolRecord &record) { onPage.push_back(record); });
    return onPage;
}

void TestSession::startAt(float xMm, float yMm)
{
    session.state.CursorX = session.state.LeftMarg + xMm;
    session.state.CursorY = session.state.TopMarg + yMm;
    surfaceInUse().calls.clear();
}

std::vector<std::string> TestSession::render(int page)
{
    surfaceInUse().calls.clear();
    PageRenderer(session).render(page);
    return surfaceInUse().texts();
}

} // namespace quillet::testing
