#pragma once
// Access to the system print dialog, and the one place that keeps the page
// range of the next print, whichever dialog chose it.

#include "print/PageList.h"
#include "render/SheetLayout.h"

#include <QObject>

#include <optional>

class QPrinter;
class QWidget;

namespace quillet {

class PrinterDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled READ enabled)
    Q_PROPERTY(quint32 flags READ flags)
    Q_PROPERTY(int copies READ copies)
    Q_PROPERTY(int minPage READ minPage)
    Q_PROPERTY(int maxPage READ maxPage)
    Q_PROPERTY(int fromPage READ fromPage)
    Q_PROPERTY(int toPage READ toPage)
public:
    /// No selection, collate, device copies and collation, no print to file.
    static constexpr quint32 ResetFlags = 0x1C0014;

    explicit PrinterDialog(QObject *parent = nullptr);

    /// Back to all pages of a listing of numPages pages, one copy.
    void reset(int numPages);
    /// The same, and one copy on the printer too: the print dialog keeps its
    /// choice there, and it would hold for every later print.
    void reset(int numPages, QPrinter &printer);

    /// Shows the system print dialog on the printer, modally. On acceptance
    /// the printer is the one the user picked and the chosen range is kept,
    /// and whether a booklet was asked for. With remember, the dialog opens
    /// on the user's choices of earlier runs and keeps those it is accepted with.
    bool exec(QPrinter &printer, QWidget *parent, bool remember);

    bool enabled() const { return m_enabled; }
    quint32 flags() const { return m_flags; }
    int copies() const { return m_copies; }
    int minPage() const { return m_minPage; }
    int maxPage() const { return m_maxPage; }
    int fromPage() const { return m_fromPage; }
    int toPage() const { return m_toPage; }
    /// The allowed range, which the page-range dialog uses for its choice.
    void setAllowedRange(int minPage, int maxPage);
    void setChosenRange(int fromPage, int toPage);
    /// Pages typed as a list in the page-range dialog ("1-3,7,10-"); they
    /// take the place of the allowed range until reset().
    void setPageList(const PageList &pages) { m_pageList = pages; }
    /// The pages the page-range dialog chose out of numPages: the typed list,
    /// else the allowed range.
    PageList chosenPages(int numPages) const
    {
        return m_pageList.value_or(PageList::range(m_minPage, m_maxPage, numPages));
    }

    /// How the next print puts its pages on sheets; one a sheet after reset().
    const SheetArrangement &sheets() const { return m_sheets; }
    void setSheets(const SheetArrangement &sheets) { m_sheets = sheets; }

private:
    bool m_enabled = true;
    quint32 m_flags = ResetFlags;
    int m_copies = 1;
    int m_minPage = 1;
    int m_maxPage = 1;
    int m_fromPage = 1;
    int m_toPage = 1;
    std::optional<PageList> m_pageList;
    SheetArrangement m_sheets;
};

} // namespace quillet
