// The preview window driven through its widgets, one table per theme, each row
// naming what it guards (that closing ends the listing is in lifecycle_test).

#include "PreviewDriver.h"
#include "compose/ListingState.h"
#include "control/Listing.h"
#include "control/Runtime.h"
#include "platform/ImageSurface.h"
#include "preview/ThumbnailPanel.h"

using namespace preview_driver;
using quillet::Quillet;
using quillet::state;

namespace {

constexpr int PageMargin = 13; // 200 twips
using Action = std::function<void(QWidget &window)>;

/// The cups-pdf queue's A4 sheet, 11906 x 16838 twips, in pixels at a zoom.
QSize pageSizeAt(double zoom)
{
    return {qRound(zoom * 11906 / 15), qRound(zoom * 16838 / 15)};
}

Action click(const char *name)
{
    return [=](QWidget &window) { QTest::mouseClick(child(window, name), Qt::LeftButton); };
}

Action key(QKeyCombination keys)
{
    return [=](QWidget &window) { QTest::keyClick(&window, keys.key(), keys.keyboardModifiers()); };
}

Action wheel(int angle, Qt::KeyboardModifiers modifiers = {}, int turns = 1)
{
    return [=](QWidget &window) {
        const QPointF at(5, 5);
        for (int i = 0; i < turns; ++i) {
            QWheelEvent event(at, window.mapToGlobal(at), {}, QPoint(0, angle), Qt::NoButton, modifiers,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(&window, &event);
        }
    };
}

/// Opens the page box by open, types keys and presses Return.
Action goToPage(const Action &open, const char *keys)
{
    return [=](QWidget &window) {
        open(window), QTest::keyClicks(child(window, "ePAGE"), QString::fromLatin1(keys) + u'\r');
    };
}

/// Types keys into the zoom box over its whole text and presses Enter, then maybe clicks the page.
Action typeZoom(const char *keys, Qt::MouseButton then = Qt::NoButton, bool twice = false)
{
    return [=](QWidget &window) {
        auto *box = child<QLineEdit>(window, "ESC");
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QString::fromLatin1(keys));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->selectedText(), box->text()); // ready to be typed over
        QWidget *page = child(window, "PRT");
        const QPoint at(5, 5);
        if (then != Qt::NoButton)
            QTest::mouseClick(page, then, {}, at);
        if (twice)
            QTest::mouseDClick(page, then, {}, at);
    };
}

/// The zoom the box shows, its text and the page size agree on; -1 when they do not.
double shownZoom(QWidget &window)
{
    const QString text = child<QLineEdit>(window, "ESC")->text();
    const double zoom = text.chopped(1).toInt() / 100.0;
    const bool agree = text.endsWith(u'%') && state().Zoom == float(zoom) &&
                       child(window, "PRT")->size() == pageSizeAt(zoom);
    return agree ? zoom : -1;
}

} // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { m_control.Abort(); }

    void pagesZoomAndScrollByButtonsKeysAndBoxes()
    {
        // The page label, then whether <<, <, > and >> are enabled.
        // clang-format off
        const struct { Action act; const char *shown, *why; } rows[] = {
            {click("bPag0"), "Página 1 de 3 0011", "page 1 comes first; << and < are off on it"},
            {click("bPag1"), "Página 2 de 3 1111", "> goes on one page; all four are on inside"},
            {click("LstPag"), "Página 3 de 3 1100", ">> goes to the last page; > and >> are off on it"},
            {click("bPag1"), "Página 3 de 3 1100", "> on the last page changes nothing"},
            {click("FstPag"), "Página 1 de 3 0011", "<< goes to the first page"},
            {key(Qt::Key_PageDown), "Página 2 de 3 1111", "PageDown is >"},
            {key(Qt::Key_End), "Página 3 de 3 1100", "End is >>"},
            {key(Qt::Key_PageDown), "Página 3 de 3 1100", "PageDown past the last page stays there"},
            {key(Qt::Key_PageUp), "Página 2 de 3 1111", "PageUp is <"},
            {key(Qt::Key_Home), "Página 1 de 3 0011", "Home is <<"},
            {goToPage(click("LPag"), "2"), "Página 2 de 3 1111", "a click on the label opens the page box"},
            {goToPage(key(Qt::CTRL | Qt::Key_G), "x99"), "Página 3 de 3 1100",
             "Ctrl+G opens it; letters cannot be typed; beyond the end is the last page"},
            {goToPage(key(Qt::CTRL | Qt::Key_G), "0"), "Página 1 de 3 0011", "before the first: the first"},
        };
        // Then, at 100 %, the zoom.
        const struct { Action act; double zoom; const char *why; } zooms[] = {
            {key(Qt::Key_Plus), 1.05, "+ steps up 5 %"},
            {wheel(-120, Qt::ControlModifier, 2), 0.95, "Ctrl and the wheel step down"},
            {key(Qt::CTRL | Qt::Key_0), 0.56, "fit: the desk is 9585 twips high, 56 % of 16838 fits"},
            {typeZoom("250"), 2.0, "above 200 is 200"},
            {typeZoom("075"), 1.0, "a leading zero falls back to 100"},
            {typeZoom(""), 0.1, "cleared is 10"},
            {typeZoom("-a%12"), 0.12, "only digits can be typed"},
            {[](QWidget &w) { QTest::keyClick(child(w, "ESC"), Qt::Key_7),
                              QTest::keyClick(child(w, "ESC"), Qt::Key_Escape); },
             0.12, "Escape abandons the typing over the selected text, and the window stays"},
            {typeZoom("12", Qt::LeftButton), 0.1, "a left click zooms out, 7 % is raised to 10"},
            {typeZoom("198", Qt::RightButton), 2.0, "a right click zooms in, to 200 at most"},
            {typeZoom("100", Qt::RightButton, true), 1.1, "a double click steps again"},
            {typeZoom("100", Qt::MiddleButton), 1.0, "the middle button does not zoom"},
            {[](QWidget &w) { auto *box = child<QLineEdit>(w, "ESC");
                              box->selectAll(), box->insert(QString(10000, u'7'));
                              QFocusEvent leave(QEvent::FocusOut); QApplication::sendEvent(box, &leave); },
             2.0, "pasted keeps 4 characters, taken on leaving the box"},
        };
        // At 200 %, on page 1 of 3.
        enum At { Top, Step, StepAndWheel, Bottom, AboveBottom };
        const struct { Action act; const char *bar; At at; int page; const char *why; } scrolls[] = {
            {key(Qt::Key_Right), "HScroll", Step, 1, "Right scrolls one step"},
            {key(Qt::Key_Down), "VScroll", Step, 1, "Down scrolls one step"},
            {wheel(-120), "VScroll", StepAndWheel, 1, "the wheel scrolls its lines"},
            {[](QWidget &w) { auto *bar = child<QScrollBar>(w, "VScroll");
                              bar->setValue(bar->maximum()), wheel(-120)(w); },
             "VScroll", Top, 2, "past the bottom: the next page, from its top"},
            {wheel(120), "VScroll", Bottom, 1, "past the top: back, at the bottom"},
            {wheel(120, {}, 2), "VScroll", AboveBottom, 1, "on the first page the wheel only scrolls up"},
        };
        // clang-format on
        openListing(m_control);
        composePages(m_control, 3);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            QMap<QString, QImage> pictures; // by label: each page drawn, the same each time
            for (const auto &row : rows) {
                const auto explained = explainFailure(row.why);
                row.act(window);
                QString shown = pageLabelText(window) + u' ';
                for (const char *button : {"FstPag", "bPag0", "bPag1", "LstPag"})
                    shown += QString::number(child(window, button)->isEnabled());
                QCOMPARE(shown, QString::fromUtf8(row.shown));
                QVERIFY(!child(window, "ePAGE")->isVisible());
                child(window, "PRT")->repaint(); // the page as drawn, without the focus frame
                const QImage picture = quillet::Runtime::instance().listing().pageSurface().image();
                QCOMPARE(pictures.value(shown, picture), picture);
                pictures.insert(shown, picture);
            }
            const QList<QImage> pages = pictures.values();
            QVERIFY(pages.size() == 3 && pages[0] != pages[1] && pages[1] != pages[2] &&
                    pages[0] != pages[2]);
            for (const auto &row : zooms) {
                const auto explained = explainFailure(row.why);
                row.act(window);
                QVERIFY(window.isVisible());
                QCOMPARE(shownZoom(window), row.zoom);
            }
            for (const auto &row : scrolls) {
                const auto explained = explainFailure(row.why);
                row.act(window);
                auto *bar = child<QScrollBar>(window, row.bar);
                const int step = bar->singleStep(), max = bar->maximum(), value = bar->value();
                const int wanted[] = {0, step, step * (1 + QApplication::wheelScrollLines()), max, -1};
                QCOMPARE(state().CurPage, row.page);
                QVERIFY2(row.at == AboveBottom ? value < max : value == wanted[row.at],
                         qPrintable(QString::number(value)));
            }
            QTest::mouseClick(child(window, "LPag"), Qt::LeftButton);
            QTest::keyClick(child(window, "ePAGE"), Qt::Key_Escape); // gives the label back; the window stays
            QVERIFY(window.isVisible() && child(window, "LPag")->isVisible());
            // Now it closes the preview, also from the zoom box where nothing was typed.
            QTest::keyClick(child(window, "ESC"), Qt::Key_Escape);
            QVERIFY(!window.isVisible());
        });
    }

    void toolbarButtonsCloseTheirGaps()
    {
        // clang-format off
        const struct {
            bool setup, selectPages, print, pdf;
            QList<int> lefts; ///< butCAN, butSETUP, butPRT, butFIND, butPDF, butTHUMB; -1 hidden
            const char *setupTip, *why;
        } rows[] = {
            {true, true, true, true, {16, 60, 104, 148, 192, 236}, "Seleccionar Impressora...",
             "all shown: one 660-twip slot each from 240 twips"},
            {false, true, true, true, {16, 60, 104, 148, 192, 236}, "Páginas a Imprimir...",
             "without set-up the page-range choice keeps the button"},
            {false, false, false, false, {16, -1, -1, 60, -1, 104}, "Seleccionar Impressora...",
             "hidden buttons leave no gaps; Ctrl+P does nothing without print"},
        };
        // clang-format on
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.why);
            m_control.setShowPdf(row.pdf);
            openListing(m_control, false, row.setup, row.selectPages, row.print);
            showAndCheck(m_control, [&](PreviewWindow &window) {
                QList<int> lefts;
                for (const char *name : {"butCAN", "butSETUP", "butPRT", "butFIND", "butPDF", "butTHUMB"})
                    lefts << (child(window, name)->isVisible() ? child(window, name)->x() : -1);
                QCOMPARE(lefts, row.lefts);
                QCOMPARE(child(window, "butSETUP")->toolTip(), QString::fromUtf8(row.setupTip));
                QObject::disconnect(&window, &PreviewWindow::printRequested, nullptr, nullptr);
                QSignalSpy printing(&window, &PreviewWindow::printRequested);
                QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
                QCOMPARE(printing.count(), row.print ? 1 : 0);
                QTest::mouseClick(child(window, "butCAN"), Qt::LeftButton);
                QVERIFY(!window.isVisible());
            });
            if (QTest::currentTestFailed())
                return;
        }
        m_control.setShowPdf(true);
    }

    void thumbnailsDrawOnlyWhatIsInViewAndSetupChoosesPages()
    {
        openListing(m_control);
        composePages(m_control, 300);
        QString acceptText;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            auto *panel = child<QListView>(window, "LThumbs");
            QVERIFY(!panel->isVisible());
            QTest::mouseClick(child(window, "butTHUMB"), Qt::LeftButton);
            QVERIFY(panel->isVisible());
            for (const char *beside : {"wFUNDO", "HScroll"}) // the panel covers no part of the page
                QVERIFY(!panel->geometry().intersects(child(window, beside)->geometry()));
            QCOMPARE(panel->model()->rowCount(), 300);

            auto *thumbnails = qobject_cast<quillet::ThumbnailPanel *>(panel);
            QTRY_VERIFY(thumbnails->isDrawn(3));
            QVERIFY(!thumbnails->isDrawn(200)); // not in view
            const QModelIndex third = panel->model()->index(2, 0);
            QVERIFY(
                panel->model()->data(third, Qt::DecorationRole).value<QPixmap>().toImage().pixel(30, 10) !=
                QColor(235, 235, 235).rgb()); // drawn: no longer the grey placeholder
            QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, panel->visualRect(third).center());
            QCOMPARE(state().CurPage, 3);

            panel->verticalScrollBar()->setValue(panel->verticalScrollBar()->maximum());
            QTRY_VERIFY(thumbnails->isDrawn(300));
            QTest::keyClick(&window, Qt::Key_End);
            QCOMPARE(panel->currentIndex().row(), 299);
            QTest::mouseClick(child(window, "butTHUMB"), Qt::LeftButton);
            QVERIFY(!panel->isVisible());

            onNextModal("QPrintDialog", [&](QWidget &dialog) {
                // Its accept button says it chooses rather than prints.
                acceptText = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->text();
                // The widgets of Qt's own dialog, as a user would set them.
                dialog.findChild<QRadioButton *>(QStringLiteral("printRange"))->setChecked(true);
                dialog.findChild<QSpinBox *>(QStringLiteral("from"))->setValue(2);
                dialog.findChild<QSpinBox *>(QStringLiteral("to"))->setValue(4);
                static_cast<QDialog &>(dialog).accept();
            });
            QTest::mouseClick(child(window, "butSETUP"), Qt::LeftButton);
            QObject *cmd = window.findChild<QObject *>(QStringLiteral("CMD"));
            QCOMPARE(cmd->property("fromPage").toInt(), 2);
            QCOMPARE(cmd->property("toPage").toInt(), 4);
        });
        QCOMPARE(acceptText, QStringLiteral("Escolher"));
    }

    void pageStandsInTheDeskAsTheWindowAllows()
    {
        openListing(m_control);
        showAndCheck(
            m_control,
            [](PreviewWindow &window) {
                QWidget *desk = child(window, "wFUNDO");
                QWidget *page = child(window, "Assist");
                auto *horizontal = child<QScrollBar>(window, "HScroll");
                auto *vertical = child<QScrollBar>(window, "VScroll");
                // Smaller than the desk: centred, no scrolling.
                QCOMPARE(page->pos(),
                         QPoint((desk->width() - page->width()) / 2, (desk->height() - page->height()) / 2));
                QVERIFY(!horizontal->isEnabled() && !vertical->isEnabled());
                // Larger: 200 twips from the desk's edges at either end of the scroll range.
                window.resize(600, 500);
                QCOMPARE(page->pos(), QPoint(PageMargin, PageMargin));
                horizontal->setValue(horizontal->maximum());
                vertical->setValue(vertical->maximum());
                QCOMPARE(page->x() + page->width(), desk->width() - PageMargin);
                QCOMPARE(page->y() + page->height(), desk->height() - PageMargin);
                // Springs back to 1000 twips by three toolbar heights, the page number right
                // after the last button since it cannot be centred.
                window.resize(1, 1);
                QCOMPARE(window.size(), QSize(66, 132));
                QWidget *lastButton = child(window, "butTHUMB");
                QCOMPARE(child(window, "PPag")->x(), lastButton->x() + lastButton->width());
            },
            QSize(1200, 1400));
    }

    void autoFitFollowsTheWindow()
    {
        // clang-format off
        const struct { QSize window; double zoom; const char *why; } rows[] = {
            {{780, 580}, 0.46, "desk 11445 x 7785 twips: 46 % of 16838 is 7745, 47 % is 7914"},
            {{2000, 2000}, 1.0, "a large desk stops at 100 %"},
            {{1, 1}, 0.09, "on the smallest window the count runs out at 9 %"},
        };
        // clang-format on
        openListing(m_control, true);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            for (const auto &row : rows) {
                const auto explained = explainFailure(row.why);
                window.resize(row.window);
                QCOMPARE(shownZoom(window), row.zoom);
            }
        });
    }

private:
    Quillet m_control;
};

QTEST_MAIN(PreviewWindowTest)
#include "preview_window_test.moc"
