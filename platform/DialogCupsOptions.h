#pragma once
// The options Qt's print dialog keeps on a printer for CUPS, its own job
// choices and its Properties page's: name, value, name, value...

#include <QStringList>

class QPrinter;

namespace quillet::dialogoptions {

QStringList of(const QPrinter &printer);
void set(QPrinter &printer, const QStringList &options);
/// Where name's value stands in options; -1 when name is not there.
qsizetype valueIndex(const QStringList &options, const QString &name);

} // namespace quillet::dialogoptions
