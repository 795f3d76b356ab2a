#include "platform/DialogCupsOptions.h"

#include <QPrintEngine>
#include <QPrinter>

namespace quillet::dialogoptions {

namespace {

/// Qt's own key for them, not among its public ones.
const auto CupsOptionsProperty = QPrintEngine::PrintEnginePropertyKey(0xfe00);

} // namespace

QStringList of(const QPrinter &printer)
{
    return printer.printEngine()->property(CupsOptionsProperty).toStringList();
}

void set(QPrinter &printer, const QStringList &options)
{
    printer.printEngine()->setProperty(CupsOptionsProperty, options);
}

qsizetype valueIndex(const QStringList &options, const QString &name)
{
    for (qsizetype i = 0; i + 1 < options.size(); i += 2)
        if (options[i] == name)
            return i + 1;
    return -1;
}

} // namespace quillet::dialogoptions
