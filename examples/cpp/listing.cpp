// A stock report of two pages saved as PDF: listing-cpp OUTPUT.pdf
// Runs without a display under QT_QPA_PLATFORM=offscreen.

#include <quillet/Quillet.h>

#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.pdf\n", argv[0]);
        return 2;
    }

    quillet::Quillet listing;
    // No host window, preview mode (so it can be saved), portrait A4, no wait dialog.
    const int result = listing.Init(nullptr, QStringLiteral("Stock"), QStringLiteral("S"), QStringLiteral("P"),
                                    QStringLiteral("A4"), true, true, true, true, true, true, false, true);
    if (result != 0) {
        std::fprintf(stderr, "Init failed with code %d\n", result);
        return 1;
    }

    for (int page = 1; page <= 2; ++page) {
        // Every page starts from the defaults, without columns.
        listing.NewCol(0, 30);   // code
        listing.NewCol(30, 110); // description
        listing.NewCol(140, 40); // quantity
        listing.PFont(QStringLiteral("Liberation Serif"), 16, true);
        listing.C(QStringLiteral("Relatório de stock"));
        listing.PFont(QStringLiteral("Liberation Serif"), 10);
        listing.PNL(12);
        // The host breaks pages: 40 rows a page, or fewer when the lines run out.
        for (int row = 1; row <= 40 && listing.NLines() > 2; ++row) {
            const int item = (page - 1) * 40 + row;
            listing.LCol(1, QStringLiteral("A-%1").arg(item, 4, 10, QLatin1Char('0')));
            listing.LCol(2, QStringLiteral("Artigo número %1").arg(item));
            listing.RCol(3, QString::number(item * 7 % 100));
            listing.PNL();
        }
        // The markers become the page number and the page count when drawn.
        listing.R(QStringLiteral("Página PRICOCO de TRICOCO"), listing.MY() - 5, listing.mx());
        if (page < 2)
            listing.PNP();
    }

    const bool saved = listing.SavePDF(QString::fromLocal8Bit(argv[1]));
    listing.Abort();
    if (!saved) {
        std::fprintf(stderr, "nothing was written to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
