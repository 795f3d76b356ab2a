// Every public method called with hostile values, before, during and after a
// listing: the good pages composed around the bad calls replay exactly as the
// same listing without them, and no call opens a listing. Hostile values on the
// core alone are fuzzed (fuzz/composer_fuzz.cpp).

#include "PreviewDriver.h"
#include "compose/Session.h"
#include "control/Listing.h"
#include "control/Runtime.h"
#include "platform/ImageSurface.h"

#include <QDir>

#include <climits>
#include <limits>

using quillet::Quillet;
using quillet::session;
using namespace preview_driver;

namespace {

constexpr float Inf = std::numeric_limits<float>::infinity();
const float HostileNumbers[] = {
    std::numeric_limits<float>::quiet_NaN(), Inf, -Inf, 1e30f, -1e30f, 0.0f, -7.5f};
const int HostileWholeNumbers[] = {INT_MIN, INT_MAX, 0, -1, 21, 201};

QStringList hostileTexts()
{
    const QChar loneSurrogates[] = {QChar(0xD800), QChar(u'a'), QChar(0xDC00)};
    return {QString(),
            QString(1 << 20, QChar(u'x')).replace(1000, 1, QChar(u' ')),
            QString::fromUtf8("\xC3\x28\xA0\xA1\xE2\x82\xF0\x9F\x98"),
            QString(loneSurrogates, 3),
            QString::fromUtf8("nul\0inside PRICOCO\0", 19),
            QStringLiteral("PRICOCOTRICOCO\n\r\t\x01")};
}

/// Every public method, its numeric arguments all taking f (or i), its texts t.
void callEveryMethod(Quillet &q, float f, int i, const QString &t)
{
    q.PNL(f);
    q.PMargins(f, f, f, f);
    q.mx(), q.MY(), q.PW(), q.PH(), q.CurX(), q.CurY(), q.NLines(), q.AbortPRT(), q.lastOutput();
    q.C(t, f, f, f), q.L(t, f, f, f), q.R(t, f, f, f), q.M(t, f, f, f);
    q.NewCol(f, f);
    q.CCol(i, t, f, i % 2), q.LCol(i, t, f, f, i % 2), q.RCol(i, t, f, f, i % 2), q.ClsCols();
    q.PFont(t, f, i, i, !i), q.PAlign(i), q.WX(t), q.WY(t), q.InSize(t, f);
    q.PBox(f, f, f, f, i), q.PCircle(f, f, f, i), q.PLine(f, f, f, f, i);
    q.PColor(i), q.PDraw(i, i), q.PFill(i, i), q.PFix(i, !i);
    q.PNewImg(QImage()), q.PDrawImg(i, f, f);
    q.setShowPdf(q.ShowPdf() == !i);
    q.SavePDF(QDir::tempPath() + QStringLiteral("/no-such-dir/") + t.left(100), i, i);
}

/// Every method with every hostile number, whole number and text.
void callEverythingHostile(Quillet &control)
{
    for (float f : HostileNumbers)
        callEveryMethod(control, f, 1, QStringLiteral("texto"));
    for (int i : HostileWholeNumbers)
        callEveryMethod(control, 5.0f, i, QStringLiteral("texto"));
    for (const QString &t : hostileTexts())
        callEveryMethod(control, 5.0f, 1, t);
}

/// A page that uses text, columns, shapes and a font change.
void composeGoodPage(Quillet &q)
{
    q.PFont(QStringLiteral("Arial"), 14, true);
    q.C(QStringLiteral("Relatório de vendas"), 10);
    q.L(QStringLiteral("Esquerda"), 25, 0);
    q.R(QStringLiteral("Direita"), 25, 190);
    QString rest = QStringLiteral("Um parágrafo com palavras suficientes para ocupar mais de uma linha.");
    while (!rest.isEmpty())
        rest = q.M(rest, -1, 0, 80);
    q.NewCol(0, 60);
    q.CCol(1, QStringLiteral("Célula"), 80);
    q.PBox(100, 10, 140, 100, 2);
    q.PCircle(180, 60, 20, 1);
    q.PLine(220, 0, 220, 190, 3);
}

/// Pages page of the open preview, as drawn.
QImage pageImage(PreviewWindow &window, int page)
{
    session().state.CurPage = static_cast<int16_t>(page);
    window.renderPage();
    return quillet::Runtime::instance().listing().pageSurface().image().copy();
}

} // namespace

class HostileInputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The reference: two good pages, nothing else.
        openListing(m_control);
        composeGoodPage(m_control);
        m_control.PNP();
        composeGoodPage(m_control);
        showAndCheck(m_control, [this](PreviewWindow &w) {
            m_goodPages = {pageImage(w, 1), pageImage(w, 2)};
        });
        QCOMPARE(m_goodPages.size(), 2);
        QVERIFY(!m_goodPages[0].isNull());
    }

    void cleanup() { m_control.Abort(); }

    void badCallsBetweenGoodPagesLeaveThemIntact()
    {
        openListing(m_control);
        composeGoodPage(m_control);
        m_control.PNP();
        callEverythingHostile(m_control);
        m_control.PNP();
        composeGoodPage(m_control);
        QVector<QImage> replayed;
        showAndCheck(m_control, [&](PreviewWindow &w) {
            // Calls made while previewing change nothing that is shown.
            callEverythingHostile(m_control);
            m_control.Show(); // already showing: a no-op
            m_control.Wait();
            replayed = {pageImage(w, 1), pageImage(w, 3)};
        });
        QCOMPARE(replayed.size(), 2);
        QVERIFY(replayed[0] == m_goodPages[0]);
        QVERIFY(replayed[1] == m_goodPages[1]);
    }

    void withoutAnOpenListingEveryCallIsANoOp()
    {
        Quillet fresh;
        callEverythingHostile(fresh);
        fresh.PNP();
        QCOMPARE(session().state.SpoolNum, 0);
        callEverythingHostile(m_control); // after the listing of initTestCase was shown
        QCOMPARE(session().state.SpoolNum, 0);
    }

private:
    Quillet m_control;
    QVector<QImage> m_goodPages;
};

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
