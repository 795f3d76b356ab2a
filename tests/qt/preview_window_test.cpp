// The preview window driven through its widgets: page on show, navigation,
// toolbar, layout on resize, page placement and scrolling, zoom by box and by
// mouse, keys and the wheel, going to a page, thumbnails, and closing by Escape
// or the close button (that closing ends the listing is in lifecycle_test).

#include "PreviewDriver.h"
#include "preview/ThumbnailPanel.h"
#include "compose/ListingState.h"
#include "control/Runtime.h"

#include <QLineEdit>
#include <QListView>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>

using namespace preview_driver;
using quillet::Quillet;
using quillet::state;

namespace {

constexpr int PageMargin = 13; // 200 twips

/// The cups-pdf queue's A4 sheet, 11906 x 16838 twips, in pixels at a zoom.
QSize pageSizeAt(double zoom)
{
    return {qRound(zoom * 11906 / 15), qRound(zoom * 16838 / 15)};
}

/// Types keys into the zoom box over its whole text and presses Enter.
void enterZoom(QWidget &window, const QString &keys)
{
    auto *box = child<QLineEdit>(window, "ESC");
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, keys);
    QTest::keyClick(box, Qt::Key_Return);
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

void turnWheel(QWidget &target, int angle, Qt::KeyboardModifiers modifiers = {})
{
    const QPointF at(5, 5);
    QWheelEvent wheel(at, target.mapToGlobal(at), {}, QPoint(0, angle), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&target, &wheel);
}

} // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { m_control.Abort(); }

    void navigationByButtonsKeysAndThePageBox()
    {
        openListing(m_control);
        composePages(m_control, 3);
        QStringList labels;
        QList<QImage> pictures;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            for (const char *button :
                 {"", "bPag0", "FstPag", "bPag1", "bPag1", "bPag1", "LstPag", "FstPag"}) {
                if (*button)
                    QTest::mouseClick(child(window, button), Qt::LeftButton);
                labels << child<QLabel>(window, "LPag")->text() + u' ';
                for (const char *enabled : {"FstPag", "bPag0", "bPag1", "LstPag"})
                    labels.last() += QString::number(child(window, enabled)->isEnabled());
                pictures << child(window, "PRT")->grab().toImage();
            }
            QList<int> pages;
            for (Qt::Key key :
                 {Qt::Key_PageDown, Qt::Key_End, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Home}) {
                QTest::keyClick(&window, key);
                pages << state().CurPage;
            }
            QCOMPARE(pages, (QList<int>{2, 3, 3, 2, 1}));

            auto *label = child<QLabel>(window, "LPag");
            auto *box = child<QLineEdit>(window, "ePAGE");
            QTest::mouseClick(label, Qt::LeftButton);
            QVERIFY(box->isVisible() && !label->isVisible());
            QCOMPARE(box->selectedText(), QStringLiteral("1"));
            QTest::keyClicks(box, "2");
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(state().CurPage, 2);
            QVERIFY(!box->isVisible() && label->isVisible());
            QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
            QTest::keyClicks(box, "x99"); // letters cannot be typed; beyond the end is the last page
            QCOMPARE(box->text(), QStringLiteral("99"));
            QTest::keyClick(box, Qt::Key_Enter);
            QCOMPARE(state().CurPage, 3);
            QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
            QTest::keyClicks(box, "0");
            QTest::keyClick(box, Qt::Key_Return); // before the first is the first
            QCOMPARE(state().CurPage, 1);
            QTest::mouseClick(label, Qt::LeftButton);
            QTest::keyClicks(box, "3");
            QTest::keyClick(box, Qt::Key_Escape); // gives the label back, and the window stays
            QVERIFY(window.isVisible() && label->isVisible() && !box->isVisible());
            QCOMPARE(state().CurPage, 1);
            // Now it closes the preview, also from the zoom box where nothing was typed.
            QTest::keyClick(child(window, "ESC"), Qt::Key_Escape);
            QVERIFY(!window.isVisible());
        });
        // "<" and "<<" on page 1, ">" and ">>" on the last page change nothing.
        QCOMPARE(labels, (QStringList{"Página 1 de 3 0011", "Página 1 de 3 0011", "Página 1 de 3 0011",
                                      "Página 2 de 3 1111", "Página 3 de 3 1100", "Página 3 de 3 1100",
                                      "Página 3 de 3 1100", "Página 1 de 3 0011"}));
        QCOMPARE(pictures[0].size(), pageSizeAt(1));
        QVERIFY(pictures[0] != pictures[3]); // "Página 1 de 3" against "Página 2 de 3"
        QCOMPARE(pictures[0], pictures[7]);
    }

    void toolbarButtons_data()
    {
        QTest::addColumn<bool>("setup");
        QTest::addColumn<bool>("selectPages");
        QTest::addColumn<bool>("print");
        QTest::addColumn<bool>("pdf");
        // butCAN, butSETUP, butPRT, butFIND, butPDF, butTHUMB; -1 hidden
        QTest::addColumn<QList<int>>("lefts");
        QTest::addColumn<QString>("setupTip");
        QTest::newRow("all") << true << true << true << true << QList<int>{16, 60, 104, 148, 192, 236}
                             << QStringLiteral("Seleccionar Impressora...");
        QTest::newRow("page range only")
            << false << true << true << true << QList<int>{16, 60, 104, 148, 192, 236}
            << QStringLiteral("Páginas a Imprimir...");
        QTest::newRow("no set-up, no print, no PDF")
            << false << false << false << false << QList<int>{16, -1, -1, 60, -1, 104}
            << QStringLiteral("Seleccionar Impressora...");
    }

    void toolbarButtons()
    {
        QFETCH(bool, setup);
        QFETCH(bool, selectPages);
        QFETCH(bool, print);
        QFETCH(bool, pdf);
        QFETCH(QList<int>, lefts);
        QFETCH(QString, setupTip);
        m_control.setShowPdf(pdf);
        openListing(m_control, false, setup, selectPages, print);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            QList<int> shown;
            for (const char *name : {"butCAN", "butSETUP", "butPRT", "butFIND", "butPDF", "butTHUMB"})
                shown << (child(window, name)->isVisible() ? child(window, name)->x() : -1);
            QCOMPARE(shown, lefts);
            QCOMPARE(child(window, "butSETUP")->toolTip(), setupTip);
            // Ctrl+P prints only when the print button is there.
            QObject::disconnect(&window, &PreviewWindow::printRequested, nullptr, nullptr);
            QSignalSpy printing(&window, &PreviewWindow::printRequested);
            QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
            QCOMPARE(printing.count(), print ? 1 : 0);
            QTest::mouseClick(child(window, "butCAN"), Qt::LeftButton);
            QVERIFY(!window.isVisible());
        });
        m_control.setShowPdf(true);
    }

    void zoomAndScrollByKeysWheelBoxAndMouse()
    {
        openListing(m_control);
        composePages(m_control, 3);
        QList<double> zooms;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            QTest::keyClick(&window, Qt::Key_Plus);
            zooms << shownZoom(window);
            turnWheel(window, -120, Qt::ControlModifier);
            turnWheel(window, -120, Qt::ControlModifier);
            zooms << shownZoom(window);
            // Fit: the desk is 9585 twips high, 56 % of 16838 fits.
            QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
            zooms << shownZoom(window);
            // 250 is 200, a leading zero falls back to 100, cleared is 10; only digits can be typed.
            for (const char *keys : {"250", "075", "", "-a%12"}) {
                enterZoom(window, QString::fromLatin1(keys));
                zooms << shownZoom(window);
            }
            auto *box = child<QLineEdit>(window, "ESC");
            QCOMPARE(box->selectedText(), box->text()); // Enter leaves the text selected
            QTest::keyClicks(box, "7");
            QTest::keyClick(box, Qt::Key_Escape); // abandons the typing; the window stays
            QVERIFY(window.isVisible());
            zooms << shownZoom(window);
            box->selectAll();
            box->insert(QString(10000, u'7')); // pasted: 4 characters kept
            QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(box, &leave);
            zooms << shownZoom(window);

            auto *vertical = child<QScrollBar>(window, "VScroll");
            auto *horizontal = child<QScrollBar>(window, "HScroll");
            QTest::keyClick(&window, Qt::Key_Right);
            QCOMPARE(horizontal->value(), horizontal->singleStep());
            QTest::keyClick(&window, Qt::Key_Down);
            QCOMPARE(vertical->value(), vertical->singleStep());
            turnWheel(window, -120);
            QCOMPARE(vertical->value(), vertical->singleStep() * (1 + QApplication::wheelScrollLines()));
            vertical->setValue(vertical->maximum());
            turnWheel(window, -120); // past the bottom: the next page, from its top
            QCOMPARE(state().CurPage, 2);
            QCOMPARE(vertical->value(), 0);
            turnWheel(window, 120); // past the top: back, at the bottom
            QCOMPARE(state().CurPage, 1);
            QCOMPARE(vertical->value(), vertical->maximum());
            turnWheel(window, 120);
            turnWheel(window, 120);
            QCOMPARE(state().CurPage, 1);
            QVERIFY(vertical->value() < vertical->maximum());

            // Left zooms out (7 % is raised to 10), right in, a double click steps again, middle not.
            QWidget *page = child(window, "PRT");
            const QPoint at(5, 5);
            using Click = std::tuple<const char *, Qt::MouseButton, bool>;
            for (const auto &[start, button, twice] :
                 {Click{"12", Qt::LeftButton, false}, Click{"198", Qt::RightButton, false},
                  Click{"100", Qt::RightButton, true}, Click{"100", Qt::MiddleButton, false}}) {
                enterZoom(window, QString::fromLatin1(start));
                QTest::mouseClick(page, button, {}, at);
                if (twice) {
                    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, page->mapToGlobal(at), button,
                                            button, {});
                    QApplication::sendEvent(page, &doubleClick);
                    QTest::mouseRelease(page, button, {}, at);
                }
                zooms << shownZoom(window);
            }
        });
        QCOMPARE(zooms,
                 (QList<double>{1.05, 0.95, 0.56, 2.0, 1.0, 0.1, 0.12, 0.12, 2.0, 0.1, 2.0, 1.1, 1.0}));
    }

    void thumbnailsDrawOnlyWhatIsInViewAndGoToTheirPage()
    {
        openListing(m_control);
        composePages(m_control, 300);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            auto *panel = child<QListView>(window, "LThumbs");
            QWidget *desk = child(window, "wFUNDO");
            QVERIFY(!panel->isVisible());
            QCOMPARE(desk->x(), 0);
            QTest::mouseClick(child(window, "butTHUMB"), Qt::LeftButton);
            QVERIFY(panel->isVisible());
            QCOMPARE(desk->x(), panel->width());
            QCOMPARE(child(window, "HScroll")->x(), panel->width());
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
            QCOMPARE(desk->x(), 0);
        });
    }

    void setupChoosesPagesInTheSystemPrintDialog()
    {
        openListing(m_control);
        composePages(m_control, 5);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            onNextModal("QPrintDialog", [&](QWidget &dialog) {
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
    }

    void layoutAndPagePlacementFollowTheWindow()
    {
        openListing(m_control);
        showAndCheck(
            m_control,
            [](PreviewWindow &window) {
                QWidget *desk = child(window, "wFUNDO");
                QWidget *page = child(window, "Assist");
                auto *horizontal = child<QScrollBar>(window, "HScroll");
                auto *vertical = child<QScrollBar>(window, "VScroll");
                QCOMPARE(page->pos(),
                         QPoint((desk->width() - page->width()) / 2, (desk->height() - page->height()) / 2));
                QVERIFY(!horizontal->isEnabled() && !vertical->isEnabled());

                window.resize(600, 500);
                QCOMPARE(page->pos(), QPoint(PageMargin, PageMargin));
                horizontal->setValue(horizontal->maximum());
                vertical->setValue(vertical->maximum());
                // The far edges end 200 twips inside the desk.
                QCOMPARE(page->x() + page->width(), desk->width() - PageMargin);
                QCOMPARE(page->y() + page->height(), desk->height() - PageMargin);

                window.resize(1, 1); // springs back to 1000 twips by three toolbar heights
                QCOMPARE(window.size(), QSize(66, 132));
                // Too narrow to centre the page number: it stands right after the last button.
                QWidget *lastButton = child(window, "butTHUMB");
                QCOMPARE(child(window, "PPag")->x(), lastButton->x() + lastButton->width());
            },
            QSize(1200, 1400));
    }

    void autoFitFollowsTheWindow()
    {
        openListing(m_control, true);
        QList<double> zooms;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            // Desk 763 x 519 pixels = 11445 x 7785 twips: 46 % of 16838 is 7745, 47 % is 7914. A
            // large desk stops at 100 %; on the smallest window the count runs out at 9 %.
            for (QSize size : {QSize(780, 580), QSize(2000, 2000), QSize(1, 1)}) {
                window.resize(size);
                zooms << shownZoom(window);
            }
        });
        QCOMPARE(zooms, (QList<double>{0.46, 1.0, 0.09}));
    }

private:
    Quillet m_control;
};

QTEST_MAIN(PreviewWindowTest)
#include "preview_window_test.moc"
