#include "preview/PreviewFinder.h"

#include "base/ErrorsIgnored.h"
#include "compose/Session.h"
#include "platform/ImageSurface.h"
#include "preview/FindDialog.h"
#include "preview/HitCounter.h"
#include "preview/PageDesk.h"
#include "preview/PageView.h"
#include "render/PageRenderer.h"
#include "render/SetupSurface.h"

#include <QApplication>
#include <QMessageBox>

namespace quillet {

namespace {

/// The part of a printed text's box that a matching run of its characters covers.
QRectF runBox(const Surface &surface, std::string_view text, const QRectF &textBox,
              std::pair<size_t, size_t> run)
{
    const std::vector<float> widths = surface.prefixWidths(text);
    if (widths.empty() || !(widths.back() > 0))
        return textBox;
    const auto left = [&](size_t characters) {
        return characters == 0
                   ? 0.0
                   : textBox.width() * widths[std::min(characters, widths.size()) - 1] / widths.back();
    };
    return QRectF(textBox.left() + left(run.first), textBox.top(), left(run.second) - left(run.first),
                  textBox.height());
}

} // namespace

PreviewFinder::PreviewFinder(Session &listing, ImageSurface &page, PageDesk &desk, QWidget &window)
    : QObject(&window), m_listing(listing), m_page(page), m_desk(desk), m_window(window), m_finder(listing)
{
}

void PreviewFinder::renderPage()
{
    ListingState &s = m_listing.state;
    // The marks last until the page changes: coming back shows none.
    if (m_found.page != s.CurPage)
        m_found.page = 0;
    QList<QRectF> boxes;
    if (m_found.page != 0 && m_found.matcher) {
        m_page.setTextObserver([&](std::string_view text, const QRectF &textBox) {
            if (const auto run = m_found.matcher->firstMatch(text))
                boxes << runBox(m_page, text, textBox, *run);
        });
    }
    PageRenderer(m_listing).render(s.CurPage);
    m_page.setTextObserver({});
    if (m_found.indexOnPage == LastOnPage || m_found.indexOnPage >= boxes.size())
        m_found.indexOnPage = static_cast<int>(boxes.size()) - 1;
    m_desk.pageView().setHighlights(boxes, m_found.indexOnPage);
}

void PreviewFinder::tellNotFound(const QString &text)
{
    QApplication::beep();
    QMessageBox::warning(&m_window, tr("Pesquisar..."), tr("\"%1\" não foi encontrado !").arg(text));
    emit dialogClosed();
}

void PreviewFinder::find()
{
    ListingState &s = m_listing.state;
    FindDialog dialog(&m_window);
    HitCounter counter;
    connect(&counter, &HitCounter::counted, &dialog, guarded(&dialog, &FindDialog::showHits));
    connect(&dialog, &FindDialog::searchChanged, &counter, [&](const QString &text, FindOptions options) {
        ignoringErrors([&] {
            counter.cancel();
            if (text.isEmpty() || !m_listing.spool)
                return;
            const bool onView = m_found.page != 0 && m_found.text == text && m_found.options == options;
            counter.start(m_listing.spool->snapshot(s.PageIndex), s.NumPages, text, options,
                          onView ? HitCounter::OnView{m_found.page, m_found.indexOnPage}
                                 : HitCounter::OnView{});
        });
    });
    dialog.prepare(m_lastPattern.mid(1, m_lastPattern.size() - 2), s.CurPage + 1 <= s.NumPages,
                   m_findOptions);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    counter.cancel();
    emit dialogClosed();
    if (!accepted || m_listing.ended)
        return;
    const QString text = dialog.text();
    m_lastPattern = u'*' + text + u'*';
    m_findOptions = dialog.options();
    const int startPage = dialog.fromNextPage() ? s.CurPage + 1 : 1;

    const std::string pattern = text.toStdString();
    if (const std::optional<int> page = m_finder.find(pattern, m_findOptions, startPage)) {
        m_found = {TextMatcher::compile(pattern, m_findOptions), text, m_findOptions, *page, 0};
    } else {
        m_found.page = 0;
        tellNotFound(text);
        if (m_listing.ended)
            return;
    }
    m_desk.enablePage();
    SetupSurface(m_listing);
    emit pageChosen();
}

void PreviewFinder::findAgain(TextFinder::Direction direction)
{
    if (m_lastPattern.isEmpty()) {
        find();
        return;
    }
    ListingState &s = m_listing.state;
    const bool forward = direction == TextFinder::Direction::Forward;
    const int step = forward ? 1 : -1;
    int startPage = s.CurPage;
    PageView &view = m_desk.pageView();
    if (m_found.page == s.CurPage) {
        // First the next hit on the page on view, then the pages beyond it.
        const int next = m_found.indexOnPage + step;
        if (next >= 0 && next < view.highlights().size()) {
            m_found.indexOnPage = next;
            view.setHighlights(view.highlights(), next);
            return;
        }
        startPage += step;
    }
    const QString text = m_lastPattern.mid(1, m_lastPattern.size() - 2);
    const std::string pattern = text.toStdString();
    const auto findFrom = [&](int from) {
        return from >= 1 && from <= s.NumPages ? m_finder.find(pattern, m_findOptions, from, direction)
                                               : std::nullopt;
    };
    // Past the last hit the find goes round, as the dialog's "n de m" counts.
    std::optional<int> page = findFrom(startPage);
    if (!page && !m_listing.ended)
        page = findFrom(forward ? 1 : s.NumPages);
    if (m_listing.ended)
        return;
    if (!page) {
        tellNotFound(text);
        return;
    }
    m_found = {TextMatcher::compile(pattern, m_findOptions), text, m_findOptions, *page,
               forward ? 0 : LastOnPage};
    emit hitChosen();
}

} // namespace quillet
