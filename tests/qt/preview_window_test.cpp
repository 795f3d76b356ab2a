// The preview window driven through its widgets: page on show, navigation,
// layout on resize, page placement and scrolling, zoom by box and by mouse,
// the desk's pattern, and closing.

#include "PreviewDriver.h"
#include "quillet/ListingState.h"

#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QToolButton>

using namespace preview_driver;
using quillet::Quillet;
using quillet::state;

namespace {

// The cups-pdf queue's A4 sheet: 11906 x 16838 twips, 794 x 1123 pixels at 100 %.
constexpr int A4WidthTwips = 11906;
constexpr int A4HeightTwips = 16838;
constexpr int PageMargin = 13; // 200 twips

QSize pageSizeAt(double zoom)
{
    return {qRound(zoom * A4WidthTwips / 15), qRound(zoom * A4HeightTwips / 15)};
}

/// Types keys into the zoom box over its whole text and presses Enter.
void enterZoom(QWidget &window, const QString &keys)
{
    auto *box = child<QLineEdit>(window, "ESC");
    box->selectAll();
    if (keys.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, keys);
    QTest::keyClick(box, Qt::Key_Return);
}

QString zoomText(QWidget &window)
{
    return child<QLineEdit>(window, "ESC")->text();
}

bool onPatternGrid(const QImage &desk, int x, int y)
{
    const bool white = y % 2 == 1 && x % 2 == 0;
    return desk.pixel(x, y) == (white ? qRgb(255, 255, 255) : qRgb(192, 192, 192));
}

} // namespace

class PreviewWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { m_control.Abort(); }

    void opensOnPageOneAndNavigates()
    {
        openListing(m_control);
        composePages(m_control, 3);
        QStringList labels;
        QList<QImage> pictures;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            auto *page = child(window, "PRT");
            const auto record = [&] {
                labels << child<QLabel>(window, "LPag")->text() +
                              QStringLiteral(" %1%2%3%4")
                                  .arg(child(window, "FstPag")->isEnabled())
                                  .arg(child(window, "bPag0")->isEnabled())
                                  .arg(child(window, "bPag1")->isEnabled())
                                  .arg(child(window, "LstPag")->isEnabled());
                pictures << page->grab().toImage();
            };
            record();
            for (const char *button :
                 {"bPag0", "FstPag", "bPag1", "bPag1", "bPag1", "LstPag", "FstPag", "LstPag"}) {
                QTest::mouseClick(child(window, button), Qt::LeftButton);
                record();
            }
        });
        // "<" and "<<" on page 1, ">" and ">>" on the last page change nothing.
        QCOMPARE(labels, (QStringList{"Página 1 de 3 0011", "Página 1 de 3 0011", "Página 1 de 3 0011",
                                      "Página 2 de 3 1111", "Página 3 de 3 1100", "Página 3 de 3 1100",
                                      "Página 3 de 3 1100", "Página 1 de 3 0011", "Página 3 de 3 1100"}));
        QCOMPARE(pictures[0].size(), pageSizeAt(1));
        QVERIFY(pictures[0] != pictures[3]); // "Página 1 de 3" against "Página 2 de 3"
        QCOMPARE(pictures[0], pictures[7]);
    }

    void onePageDisablesAllNavigation()
    {
        openListing(m_control);
        showAndCheck(m_control, [](PreviewWindow &window) {
            QCOMPARE(child<QLabel>(window, "LPag")->text(), QStringLiteral("Página 1 de 1"));
            for (const char *button : {"FstPag", "bPag0", "bPag1", "LstPag"})
                QVERIFY(!child(window, button)->isEnabled());
        });
    }

    void toolbarButtons_data()
    {
        QTest::addColumn<bool>("setup");
        QTest::addColumn<bool>("selectPages");
        QTest::addColumn<bool>("print");
        QTest::addColumn<bool>("find");
        QTest::addColumn<QList<int>>("lefts"); // butCAN, butSETUP, butPRT, butFIND; -1 hidden
        QTest::addColumn<QString>("setupTip");
        const QString printer = QStringLiteral("Seleccionar Impressora...");
        QTest::newRow("all") << true << true << true << true << QList<int>{16, 60, 104, 148} << printer;
        QTest::newRow("page range only") << false << true << true << true << QList<int>{16, 60, 104, 148}
                                         << QStringLiteral("Páginas a Imprimir...");
        QTest::newRow("no set-up, no range")
            << false << false << true << true << QList<int>{16, -1, 60, 104} << printer;
        QTest::newRow("no print") << true << true << false << true << QList<int>{16, 60, -1, 104} << printer;
        QTest::newRow("close only") << false << false << false << false << QList<int>{16, -1, -1, -1}
                                    << printer;
    }

    void toolbarButtons()
    {
        QFETCH(bool, setup);
        QFETCH(bool, selectPages);
        QFETCH(bool, print);
        QFETCH(bool, find);
        QFETCH(QList<int>, lefts);
        QFETCH(QString, setupTip);
        openListing(m_control, false, setup, selectPages, print, find);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            QList<int> shown;
            for (const char *name : {"butCAN", "butSETUP", "butPRT", "butFIND"}) {
                QWidget *button = child(window, name);
                shown << (button->isVisible() ? button->x() : -1);
            }
            QCOMPARE(shown, lefts);
            QCOMPARE(child(window, "butSETUP")->toolTip(), setupTip);
            QVERIFY(!child<QToolButton>(window, "butFIND")->icon().isNull());
        });
    }

    void setupOpensTheSystemPrintDialog_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("fromPage");
        QTest::addColumn<int>("toPage");
        QTest::newRow("pages 2 to 4 chosen") << true << 2 << 4;
        QTest::newRow("cancelled: all pages") << false << 1 << 5;
    }

    void setupOpensTheSystemPrintDialog()
    {
        QFETCH(bool, accept);
        QFETCH(int, fromPage);
        QFETCH(int, toPage);
        openListing(m_control);
        composePages(m_control, 5);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            bool shown = false;
            onNextModal("QPrintDialog", [&](QWidget &dialog) {
                shown = true;
                auto &print = static_cast<QPrintDialog &>(dialog);
                if (!accept) {
                    print.reject();
                    return;
                }
                // The widgets of Qt's own dialog, as a user would set them.
                print.findChild<QRadioButton *>(QStringLiteral("printRange"))->setChecked(true);
                print.findChild<QSpinBox *>(QStringLiteral("from"))->setValue(2);
                print.findChild<QSpinBox *>(QStringLiteral("to"))->setValue(4);
                print.accept();
            });
            QTest::mouseClick(child(window, "butSETUP"), Qt::LeftButton);
            QVERIFY(shown);
            QObject *cmd = window.findChild<QObject *>(QStringLiteral("CMD"));
            QCOMPARE(cmd->property("fromPage").toInt(), fromPage);
            QCOMPARE(cmd->property("toPage").toInt(), toPage);
            QCOMPARE(child<QLabel>(window, "LPag")->text(), QStringLiteral("Página 1 de 5"));
        });
    }

    void layoutOnResize()
    {
        openListing(m_control);
        showAndCheck(m_control, [](PreviewWindow &window) {
            window.resize(1, 1); // springs back to 1000 twips by three toolbar heights
            QCOMPARE(window.size(), QSize(66, 132));
            // Too narrow to centre: each panel stands right after what precedes it.
            QWidget *pages = child(window, "PPag");
            QWidget *find = child(window, "butFIND");
            QCOMPARE(pages->x(), find->x() + find->width());
            QCOMPARE(child(window, "PZoom")->x(), pages->x() + pages->width());

            window.resize(1000, 600);
            QCOMPARE(pages->x(), (1000 - pages->width()) / 2);
            QCOMPARE(child(window, "PZoom")->x(), 1000 - 17 - child(window, "PZoom")->width());
            QCOMPARE(child(window, "wFUNDO")->geometry(), QRect(0, 44, 1000 - 17, 600 - 44 - 17));
            QCOMPARE(child(window, "VScroll")->geometry(), QRect(1000 - 17, 44, 17, 600 - 44 - 17));
            QCOMPARE(child(window, "HScroll")->geometry(), QRect(0, 600 - 17, 1000 - 17, 17));
            QCOMPARE(child(window, "LTop")->width(), 1000);

            window.resize(10000, 10000);
            QCOMPARE(child(window, "wFUNDO")->height(), 10000 - 44 - 17);
        });
    }

    void pageCentredOrScrolled()
    {
        openListing(m_control);
        showAndCheck(
            m_control,
            [](PreviewWindow &window) {
                QWidget *desk = child(window, "wFUNDO");
                QWidget *page = child(window, "Assist");
                auto *horizontal = child<QScrollBar>(window, "HScroll");
                auto *vertical = child<QScrollBar>(window, "VScroll");
                QCOMPARE(page->size(), pageSizeAt(1));
                QCOMPARE(page->pos(),
                         QPoint((desk->width() - page->width()) / 2, (desk->height() - page->height()) / 2));
                QVERIFY(!horizontal->isEnabled() && !vertical->isEnabled());

                window.resize(600, 500);
                QCOMPARE(page->pos(), QPoint(PageMargin, PageMargin));
                QVERIFY(horizontal->isEnabled() && vertical->isEnabled());
                QCOMPARE(horizontal->value(), 0);
                QCOMPARE(horizontal->maximum(), page->width() - desk->width() + 2 * PageMargin);
                horizontal->setValue(horizontal->maximum());
                vertical->setValue(vertical->maximum());
                // The far edges end 200 twips inside the desk.
                QCOMPARE(page->x() + page->width(), desk->width() - PageMargin);
                QCOMPARE(page->y() + page->height(), desk->height() - PageMargin);
            },
            QSize(1200, 1400));
    }

    void autoFit_data()
    {
        QTest::addColumn<QSize>("windowSize");
        QTest::addColumn<QString>("zoomText");
        // Desk 763 x 519 pixels = 11445 x 7785 twips: 46 % of 16838 is 7745, 47 % is 7914.
        QTest::newRow("780 x 580") << QSize(780, 580) << QStringLiteral("46%");
        QTest::newRow("large desk stops at 100 %") << QSize(2000, 2000) << QStringLiteral("100%");
        // Desk 49 x 71 pixels: not even 10 % fits, the count runs out at 9.
        QTest::newRow("smallest window") << QSize(1, 1) << QStringLiteral("9%");
    }

    void autoFit()
    {
        QFETCH(QSize, windowSize);
        QFETCH(QString, zoomText);
        openListing(m_control, true);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            window.resize(windowSize);
            QCOMPARE(::zoomText(window), zoomText);
            QCOMPARE(child<QLineEdit>(window, "ESC")->selectedText(), zoomText);
            const double zoom = zoomText.chopped(1).toInt() / 100.0;
            QCOMPARE(state().Zoom, static_cast<float>(zoom));
            QCOMPARE(child(window, "PRT")->size(), pageSizeAt(zoom));
        });
    }

    void zoomBox_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<float>("zoom");
        QTest::newRow("250") << "250"
                             << ""
                             << "200%" << 2.0f;
        QTest::newRow("999") << "999"
                             << ""
                             << "200%" << 2.0f;
        QTest::newRow("5") << "5"
                           << ""
                           << "10%" << 0.1f;
        QTest::newRow("0") << "0"
                           << ""
                           << "10%" << 0.1f;
        QTest::newRow("cleared") << ""
                                 << ""
                                 << "10%" << 0.1f;
        QTest::newRow("75") << "75"
                            << ""
                            << "75%" << 0.75f;
        QTest::newRow("-5, the sign cannot be typed") << "-5"
                                                      << ""
                                                      << "10%" << 0.1f;
        QTest::newRow("50%%, the percent cannot be typed") << "50%%"
                                                           << ""
                                                           << "50%" << 0.5f;
        QTest::newRow("letters cannot be typed") << "ab12"
                                                 << ""
                                                 << "12%" << 0.12f;
        QTest::newRow("leading zero falls back") << "075"
                                                 << ""
                                                 << "100%" << 1.0f;
        QTest::newRow("pasted 50%%") << ""
                                     << "50%%"
                                     << "100%" << 1.0f;
        QTest::newRow("pasted 10 000 characters, 4 kept") << "" << QString(10000, u'7') << "200%" << 2.0f;
    }

    void zoomBox()
    {
        QFETCH(QString, keys);
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        QFETCH(float, zoom);
        openListing(m_control);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            auto *box = child<QLineEdit>(window, "ESC");
            if (pasted.isEmpty()) {
                enterZoom(window, keys);
                QCOMPARE(box->selectedText(), shown); // Enter leaves the text selected
            } else {
                box->selectAll();
                box->insert(pasted);
                QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
                QApplication::sendEvent(box, &leave);
            }
            QCOMPARE(box->text(), shown);
            QCOMPARE(state().Zoom, zoom);
            QCOMPARE(child(window, "PRT")->size(), pageSizeAt(zoom));
        });
    }

    void zoomRendersOncePerChange()
    {
        openListing(m_control);
        showAndCheck(m_control, [](PreviewWindow &window) {
            QSignalSpy rendered(&window, &PreviewWindow::pageRendered);
            QWidget *page = child(window, "PRT");
            page->repaint();
            enterZoom(window, QStringLiteral("100")); // the current zoom: text rewritten only
            page->repaint();
            QCOMPARE(zoomText(window), QStringLiteral("100%"));
            QCOMPARE(rendered.count(), 0);

            enterZoom(window, QStringLiteral("50"));
            page->repaint();
            page->repaint();
            QCOMPARE(rendered.count(), 1);
            QCOMPARE(page->grab().toImage().size(), pageSizeAt(0.5));
        });
    }

    void mouseZoom_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QString>("shown");
        QTest::newRow("left at 12 %") << "12" << Qt::LeftButton << false << "10%"; // 7, raised to 10
        QTest::newRow("right at 198 %") << "198" << Qt::RightButton << false << "200%";
        QTest::newRow("left at 10 % refused") << "10" << Qt::LeftButton << false << "10%";
        QTest::newRow("right at 200 % refused") << "200" << Qt::RightButton << false << "200%";
        QTest::newRow("right double click at 100 %") << "100" << Qt::RightButton << true << "110%";
        QTest::newRow("left double click at 100 %") << "100" << Qt::LeftButton << true << "90%";
        QTest::newRow("middle button") << "100" << Qt::MiddleButton << false << "100%";
    }

    void mouseZoom()
    {
        QFETCH(QString, start);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, doubleClick);
        QFETCH(QString, shown);
        openListing(m_control);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            enterZoom(window, start);
            QWidget *page = child(window, "PRT");
            const QPoint at(5, 5);
            QTest::mousePress(page, button, {}, at);
            QTest::mouseRelease(page, button, {}, at);
            if (doubleClick) {
                QMouseEvent twice(QEvent::MouseButtonDblClick, at, page->mapToGlobal(at), button, button, {});
                QApplication::sendEvent(page, &twice);
                QTest::mouseRelease(page, button, {}, at);
            }
            QCOMPARE(zoomText(window), shown);
            const double zoom = shown.chopped(1).toInt() / 100.0;
            QCOMPARE(state().Zoom, static_cast<float>(zoom));
            QTRY_COMPARE(page->grab().toImage().size(), pageSizeAt(zoom));
        });
    }

    void deskPatternTilesFromTheCorner()
    {
        openListing(m_control);
        showAndCheck(m_control, [](PreviewWindow &window) {
            QWidget *desk = child(window, "wFUNDO");
            const auto onGrid = [desk](QPoint corner) {
                const QImage picture = desk->grab().toImage();
                for (int y = corner.y(); y < corner.y() + 8; ++y)
                    for (int x = corner.x(); x < corner.x() + 8; ++x)
                        QVERIFY2(onPatternGrid(picture, x, y),
                                 qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            };
            onGrid(QPoint(0, 0));
            // Grown around a centred page: the new far corner continues the same grid.
            window.resize(1500, 1700);
            onGrid(QPoint(desk->width() - 8, desk->height() - 8));
        });
    }

    void pageShowsMagnifier()
    {
        openListing(m_control);
        showAndCheck(m_control, [](PreviewWindow &window) {
            const QCursor cursor = child(window, "PRT")->cursor();
            QCOMPARE(cursor.hotSpot(), QPoint(9, 8));
            QCOMPARE(cursor.bitmap().size(), QSize(32, 32));
        });
    }

    void closingDeletesTheSpool_data()
    {
        QTest::addColumn<bool>("byCloseButton");
        QTest::newRow("butCAN") << true;
        QTest::newRow("close box") << false;
    }

    void closingDeletesTheSpool()
    {
        QFETCH(bool, byCloseButton);
        openListing(m_control);
        composePages(m_control, 2);
        const QString spool = QString::fromStdString(state().SpoolPath);
        QVERIFY(QFile::exists(spool));
        showAndCheck(m_control, [&](PreviewWindow &window) {
            if (byCloseButton)
                QTest::mouseClick(child(window, "butCAN"), Qt::LeftButton);
            else
                window.close();
        });
        QVERIFY(!QFile::exists(spool));
        QCOMPARE(state().SpoolNum, 0);
    }

    void escapeKeepsTheListingOpen()
    {
        openListing(m_control);
        showAndCheck(m_control, [](PreviewWindow &window) {
            QTest::keyClick(&window, Qt::Key_Escape);
            QVERIFY(window.isVisible());
            QVERIFY(state().SpoolNum != 0);
        });
    }

private:
    Quillet m_control;
};

QTEST_MAIN(PreviewWindowTest)
#include "preview_window_test.moc"
