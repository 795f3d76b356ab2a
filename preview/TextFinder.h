#pragma once
// Find: the first page whose text commands show a text matching a wildcard
// pattern. Reads the spool record by record from the start page on, so it
// needs no more memory for 32 000 pages than for one.

#include <QString>

#include <optional>

namespace quillet {

struct Session;

class TextFinder {
public:
    explicit TextFinder(Session &session) : m_session(session) {}

    /// The first page from startPage (numbered from 1) to the end with a text
    /// that contains a match of text, a Like pattern; markers are read as their
    /// page shows them. On a match CurPage is that page; otherwise CurPage is
    /// left as it was and the result is empty, also for an invalid pattern.
    std::optional<int> find(const QString &text, bool ignoreCase, int startPage);

private:
    Session &m_session;
};

} // namespace quillet
