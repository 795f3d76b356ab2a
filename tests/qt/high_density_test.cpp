// The preview on a screen of device pixel ratio 2: the page is drawn with
// twice the pixels each way, not enlarged, so lines and text stay sharp.

#include "PreviewDriver.h"
#include "control/Listing.h"
#include "control/Runtime.h"
#include "platform/ImageSurface.h"

using namespace preview_driver;

class HighDensityTest : public QObject {
    Q_OBJECT

private slots:
    void pageIsDrawnAtTheDevicePixelRatio()
    {
        quillet::Quillet control;
        openListing(control);
        control.PLine(50, 0, 50, 100, 1); // a horizontal line one pixel thick
        control.L("Nítido", 60, 0);
        QImage page, drawn;
        QSize logical;
        showAndCheck(control, [&](PreviewWindow &window) {
            QWidget *view = child(window, "PRT");
            logical = view->size();
            page = view->grab().toImage();
            drawn = quillet::Runtime::instance().listing().pageSurface().image();
        });
        // The page's own picture has the screen's pixels; the view does not enlarge a smaller one.
        for (const QImage &image : {page, drawn}) {
            QCOMPARE(image.devicePixelRatio(), 2.0);
            QCOMPARE(image.size(), logical * 2);
        }

        // Down a column through the line, inside the page's focus frame: dark
        // pixels only where it runs, and at least one fully dark, as an
        // enlarged picture would not have.
        const int column = page.width() / 4, frame = 8;
        int darkRows = 0, darkest = 255;
        for (int y = frame; y < page.height() - frame; ++y) {
            const int grey = qGray(page.pixel(column, y));
            darkRows += grey < 200;
            darkest = std::min(darkest, grey);
        }
        QVERIFY2(darkRows >= 1 && darkRows <= 2, qPrintable(QString::number(darkRows)));
        QVERIFY(darkest < 64);
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HighDensityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "high_density_test.moc"
