#include "support/TestSession.h"

#include "render/SetupSurface.h"
#include "spool/PageReader.h"

namespace quillet::testing {

RecordFields fieldsOf(const SpoolRecord &record)
{
    return {record.op, record.valA, record.valB, record.valC, record.valD, record.text, record.valE};
}

TestSession::TestSession(ListingMode mode, double borderMm) : printer(210, 297, borderMm)
{
    ListingState &s = session.state;
    session.printer = &printer;
    session.pageSurface = &pageSurface;
    if (mode == ListingMode::Preview) {
        session.spool = SpoolFile::create("QuilletTest-");
        s.Surface = &pageSurface;
        s.Preview = s.Spooling = true;
        s.PageIndex = {1};
    } else {
        s.Surface = &printer.surface();
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
    if (!session.spool)
        return all;
    session.spool->seek(1);
    while (auto record = session.spool->read())
        all.push_back(std::move(*record));
    return all;
}

std::vector<SpoolRecord> TestSession::pageRecords(int page)
{
    std::vector<SpoolRecord> onPage;
    const auto &index = session.state.PageIndex;
    if (!session.spool || page < 1 || page > static_cast<int>(index.size()))
        return onPage;
    forEachRecordOfPage(*session.spool, index, page,
                        [&onPage](const SpoolRecord &record) { onPage.push_back(record); });
    return onPage;
}

SpoolRecord TestSession::lastRecord()
{
    auto all = records();
    return all.empty() ? SpoolRecord{} : all.back();
}

} // namespace quillet::testing
