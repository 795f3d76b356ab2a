#pragma once
// Reading barcodes back from page pictures with two independent decoders:
// zbar (zbarimg) and ZXing (the zxingcpp module of the system's Python).

#include "CupsOutput.h"

namespace quillet::testing {

enum Reader { Zbar = 1, Zxing = 2 };

/// ZXing's module lives in the system's Python, whatever python3 comes first on PATH.
inline const QString SystemPython = QStringLiteral("/usr/bin/python3");

inline bool hasZbar()
{
    return !QStandardPaths::findExecutable("zbarimg").isEmpty();
}

inline bool hasZxing()
{
    return QProcess::execute(SystemPython, {"-c", "import zxingcpp, PIL"}) == 0;
}

/// What zbar reads in a picture, one text per symbol.
inline QStringList zbarRead(const QString &png)
{
    return QString::fromUtf8(outputOf("zbarimg", {"-q", "--raw", png})).split(u'\n', Qt::SkipEmptyParts);
}

/// What ZXing reads in each picture, in one run of Python for all of them: a
/// two-dimensional symbol and a linear one at most. (Reading all symbols at
/// once trips an assertion of this zxing-cpp on a tall linear code.)
inline QMap<QString, QStringList> zxingRead(const QStringList &pngs)
{
    static const QString script =
        QStringLiteral("import sys, json, zxingcpp\n"
                       "from PIL import Image\n"
                       "kinds = (zxingcpp.BarcodeFormat.MatrixCodes, zxingcpp.BarcodeFormat.LinearCodes)\n"
                       "read = lambda f: [r.text for r in (zxingcpp.read_barcode(Image.open(f), formats=k) "
                       "for k in kinds) if r]\n"
                       "print(json.dumps({f: read(f) for f in sys.argv[1:]}))\n");
    QMap<QString, QStringList> texts;
    const QJsonObject read =
        QJsonDocument::fromJson(outputOf(SystemPython, QStringList{"-c", script} + pngs, 120000)).object();
    for (auto it = read.begin(); it != read.end(); ++it)
        for (const QJsonValue &text : it.value().toArray())
            texts[it.key()].append(text.toString());
    return texts;
}

/// The pages of a PDF as 300-dpi grey pictures, in page order.
inline QStringList pdfPagePictures(const QString &pdf, const QString &prefix)
{
    outputOf("pdftoppm", {"-r", "300", "-gray", "-png", pdf, prefix}, 60000);
    const QFileInfo base(prefix);
    QStringList pages =
        base.dir().entryList({base.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name);
    for (QString &page : pages)
        page = base.dir().filePath(page);
    return pages;
}

} // namespace quillet::testing
