#pragma once
// The preview's find: asks for a text in the find dialog, with its hit
// counter, finds the page that shows it (find/TextFinder) and marks the hits
// on the page when it is drawn. F3 and Shift+F3 go to the next and previous
// hit, on the page on view first. Every find works on the listing's CurPage:
// the window shows the page the find chose.

#include "find/TextFinder.h"
#include "find/TextMatcher.h"

#include <QObject>
#include <QString>

#include <optional>

class QWidget;

namespace quillet {

class ImageSurface;
class PageDesk;
struct Session;

class PreviewFinder : public QObject {
    Q_OBJECT
public:
    /// page is the surface the page is drawn on; window owns the dialogs.
    PreviewFinder(Session &listing, ImageSurface &page, PageDesk &desk, QWidget &window);

    /// The find button: the dialog, then the page of the first hit from the
    /// start it chose, or a message and the page on view again.
    void find();
    /// The next or previous hit of the last text; the dialog when there is none yet.
    void findAgain(TextFinder::Direction direction);
    /// Replays the page on view, marking the hits of the last find when it
    /// is their page.
    void renderPage();

signals:
    /// The find dialog or a message of the find closed: the window takes the keys back.
    void dialogClosed();
    /// The dialog's find has ended (and the surface been set up again): the
    /// page on view, found or not, is sized and drawn anew.
    void pageChosen();
    /// Find again went on to a hit on another page, now CurPage: it is drawn.
    void hitChosen();

private:
    /// Beeps and says so in a message box, a nested loop: the listing may end in it.
    void tellNotFound(const QString &text);
    /// The last find's text and the hit on view: page 0 when none is.
    struct Found {
        std::optional<TextMatcher> matcher;
        QString text;
        FindOptions options;
        int page = 0;
        int indexOnPage = 0; ///< LastOnPage: the page's last hit, once drawn
    };
    static constexpr int LastOnPage = -1;

    Session &m_listing;
    ImageSurface &m_page;
    PageDesk &m_desk;
    QWidget &m_window;
    Found m_found;
    TextFinder m_finder;
    /// The last search text with "*" at both ends; empty before the first find.
    QString m_lastPattern;
    FindOptions m_findOptions{.ignoreCase = true};
};

} // namespace quillet
