#include "preview/TextFinder.h"

#include "compose/Composer.h"
#include "preview/LikePattern.h"

#include <algorithm>

namespace quillet {

namespace {

bool isTextCommand(uint8_t op)
{
    switch (op) {
    case RecTextLeft:
    case RecTextRight:
    case RecColLeft:
    case RecColRight:
    case RecTextCenter:
    case RecColCenter:
    case RecTextMulti:
        return true;
    default:
        return false;
    }
}

/// The text as code points, upper-cased when asked, into a reused buffer.
/// Plain ASCII, most of a listing, needs no Unicode tables and no allocation.
void toCodePoints(const std::string &utf8, bool upper, std::u32string &into)
{
    into.clear();
    const bool ascii =
        std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        const QString text = QString::fromStdString(utf8);
        into = (upper ? text.toUpper() : text).toStdU32String();
        return;
    }
    for (const char c : utf8)
        into.push_back(static_cast<char32_t>(upper && c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c));
}

} // namespace

std::optional<int> TextFinder::find(const QString &text, bool ignoreCase, int startPage)
{
    ListingState &s = m_session.state;
    const QString wrapped = u'*' + text + u'*';
    const std::optional<LikePattern> exact = LikePattern::compile(wrapped.toStdU32String());
    const std::optional<LikePattern> upper =
        ignoreCase ? LikePattern::compile(wrapped.toUpper().toStdU32String()) : std::nullopt;
    if (!exact || !m_session.spool || startPage < 1 || startPage > static_cast<int>(s.PageIndex.size()))
        return std::nullopt;

    SpoolFile &spool = *m_session.spool;
    spool.seek(s.PageIndex[startPage - 1]);
    const int16_t savedPage = s.CurPage;
    const Composer composer(m_session);
    std::u32string shown;
    while (const std::optional<SpoolRecord> record = spool.read()) {
        if (!isTextCommand(record->op))
            continue;
        s.CurPage = record->page; // the markers read as on the record's page
        const std::string expanded = composer.ExpandMarkers(record->text);
        toCodePoints(expanded, false, shown);
        if (exact->matches(shown))
            return record->page;
        if (upper) {
            toCodePoints(expanded, true, shown);
            if (upper->matches(shown))
                return record->page;
        }
    }
    s.CurPage = savedPage;
    return std::nullopt;
}

} // namespace quillet
