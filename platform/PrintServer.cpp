#include "platform/PrintServer.h"

#include "platform/PdfJob.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QDir>
#include <QPrinter>
#include <QStandardPaths>

namespace quillet::printserver {

QString unreachableReason(Status state)
{
    switch (state) {
    case Status::Answering:
        return QCoreApplication::translate("quillet::printserver", "não há nenhuma impressora instalada");
    case Status::Absent:
        return QCoreApplication::translate("quillet::printserver", "não há serviço de impressão");
    case Status::Silent:
        break;
    }
    return QCoreApplication::translate("quillet::printserver", "o serviço de impressão não responde");
}

QString refusalReason(Refusal refusal)
{
    switch (refusal) {
    case Refusal::NoSuchPrinter:
        return QCoreApplication::translate("quillet::printserver", "a impressora não existe");
    case Refusal::NotAccepting:
        break;
    case Refusal::Stopped:
        return QCoreApplication::translate("quillet::printserver", "a impressora está parada");
    }
    return QCoreApplication::translate("quillet::printserver", "a impressora não aceita trabalhos");
}

QString unwrittenReason()
{
    return QCoreApplication::translate("quillet::QtPrinterDevice", "não foi possível escrever o PDF temporário");
}

bool isPdfPrinter(const QPrinter &printer)
{
    return printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty();
}

QPageLayout jobLayout(const QPageLayout &printerLayout)
{
    const QMarginsF border = printerLayout.minimumMargins();
    return QPageLayout(printerLayout.pageSize(), printerLayout.orientation(), border, printerLayout.units(),
                       border);
}

QString keptJobPath(const QString &documentName)
{
    QDir folder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (!folder.exists())
        folder = QDir::home();
    QString base = documentName;
    base.replace(u'/', u'-');
    for (int copy = 1; copy < 1000; ++copy) {
        const QString name = copy == 1 ? base : QStringLiteral("%1 (%2)").arg(base).arg(copy);
        const QString path = folder.filePath(name + QStringLiteral(".pdf"));
        if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
            return path;
    }
    return {};
}

Job::Outcome keptForUser(PdfJob &pdf, const QString &documentName, const QString &why)
{
    if (pdf.finish().isEmpty())
        return {QString(), unwrittenReason()};
    return {pdf.keepAs(keptJobPath(documentName)), why};
}

} // namespace quillet::printserver
