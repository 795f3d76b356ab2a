#include "print/PrintChoices.h"

#include "platform/DialogCupsOptions.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QSettings>

namespace quillet::printchoices {

namespace {

const QString LastPrinterKey = QStringLiteral("Quillet/LastPrinter");

QString keyOf(const QString &printer, const char *choice)
{
    return QStringLiteral("Quillet/Printers/%1/%2").arg(printer, QLatin1String(choice));
}

/// Options the dialog sets for one job rather than for the printer.
bool belongsToTheJob(const QString &option)
{
    return option.startsWith(QLatin1String("job-")) || option.startsWith(QLatin1String("number-up")) ||
           option.startsWith(QLatin1String("page-")) || option == QLatin1String("copies") ||
           option == QLatin1String("collate") || option == QLatin1String("sides");
}

QStringList printersOwnOptions(const QStringList &options)
{
    QStringList own;
    for (qsizetype i = 0; i + 1 < options.size(); i += 2)
        if (!belongsToTheJob(options[i]))
            own << options[i] << options[i + 1];
    return own;
}

} // namespace

void recall(QPrinter &printer)
{
    const QSettings settings;
    const QString last = settings.value(LastPrinterKey).toString();
    if (!last.isEmpty() && last != printer.printerName() && !QPrinterInfo::printerInfo(last).isNull())
        printer.setPrinterName(last);
    const QString name = printer.printerName();
    if (const QVariant duplex = settings.value(keyOf(name, "duplex")); duplex.isValid())
        printer.setDuplex(static_cast<QPrinter::DuplexMode>(duplex.toInt()));
    if (const QVariant colour = settings.value(keyOf(name, "colour")); colour.isValid())
        printer.setColorMode(static_cast<QPrinter::ColorMode>(colour.toInt()));
}

void keep(QPrinter &printer, bool propertiesOpened)
{
    QSettings settings;
    const QString name = printer.printerName();
    QStringList options = dialogoptions::of(printer);
    if (propertiesOpened) {
        settings.setValue(keyOf(name, "options"), printersOwnOptions(options));
    } else {
        const QStringList kept = settings.value(keyOf(name, "options")).toStringList();
        for (qsizetype i = 0; i + 1 < kept.size(); i += 2)
            if (dialogoptions::valueIndex(options, kept[i]) < 0)
                options << kept[i] << kept[i + 1];
        dialogoptions::set(printer, options);
    }
    settings.setValue(LastPrinterKey, name);
    settings.setValue(keyOf(name, "duplex"), static_cast<int>(printer.duplex()));
    settings.setValue(keyOf(name, "colour"), static_cast<int>(printer.colorMode()));
}

} // namespace quillet::printchoices
