#pragma once
// Reading barcodes back from page pictures with two independent decoders:
// zbar (zbarimg) and ZXing (the zxingcpp module of the system's Python).

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace quillet::testing {

enum Reader { Zbar = 1, Zxing = 2 };

inline bool hasZbar()
{
    return !QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty();
}

/// ZXing's module lives in the system's Python, whatever python3 comes first on PATH.
inline const QString &systemPython()
{
    static const QString python = QStringLiteral("/usr/bin/python3");
    return python;
}

inline bool hasZxing()
{
    QProcess python;
    python.start(systemPython(), {QStringLiteral("-c"), QStringLiteral("import zxingcpp, PIL")});
    return python.waitForFinished(20000) && python.exitStatus() == QProcess::NormalExit &&
           python.exitCode() == 0;
}

/// What zbar reads in a picture, one text per symbol.
inline QStringList zbarRead(const QString &png)
{
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("-q"), QStringLiteral("--raw"), png});
    zbar.waitForFinished(20000);
    QStringList texts = QString::fromUtf8(zbar.readAllStandardOutput()).split(u'\n');
    texts.removeAll(QString());
    return texts;
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
    QProcess python;
    python.start(systemPython(), QStringList{QStringLiteral("-c"), script} + pngs);
    python.waitForFinished(120000);
    QMap<QString, QStringList> texts;
    const QJsonObject read = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    for (auto it = read.begin(); it != read.end(); ++it)
        for (const QJsonValue &text : it.value().toArray())
            texts[it.key()].append(text.toString());
    return texts;
}

/// The pages of a PDF as 300-dpi grey pictures, in page order.
inline QStringList pdfPagePictures(const QString &pdf, const QString &prefix)
{
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"),
                   {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-gray"),
                    QStringLiteral("-png"), pdf, prefix});
    pdftoppm.waitForFinished(60000);
    const QFileInfo base(prefix);
    QStringList pages =
        base.dir().entryList({base.fileName() + QStringLiteral("-*.png")}, QDir::Files, QDir::Name);
    for (QString &page : pages)
        page = base.dir().filePath(page);
    return pages;
}

} // namespace quillet::testing
